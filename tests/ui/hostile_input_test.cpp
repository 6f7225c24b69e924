// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Texts no one would type on purpose, put in through the real widgets: each case checks what the
// window made of them, not only that it survived.
#include "core/conversion.h"
#include "core/text.h"
#include "tests/ui/widget_helpers.h"
#include "ui/form.h"
#include "ui/main_window.h"
#include "ui/multi_line_box.h"
#include "ui/preview_canvas.h"
#include "ui/single_line_box.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

using kelmora::kBlankCell;
using kelmora::kDefaultUnit;
using kelmora::kHintText;
using kelmora::kLineBreak;
using kelmora::kScanColumns;
using kelmora::kScanRows;
using kelmora::kWhite;
using kelmora::Text;
using kelmora::ui::MainWindow;
using kelmora::ui::PreviewCanvas;

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

QString repeatedTo(const QString& pattern, qsizetype length) {
    QString text;
    while (text.size() < length) {
        text += pattern;
    }
    text.truncate(length);
    return text;
}

using kelmora::testing::typeText;

// What the conversion must write for the canvas as it is now and the given unit.
std::string expectedPicture(const PreviewCanvas& canvas, const std::string& unit) {
    const std::string inkCell =
        kelmora::textEqual(unit, kHintText) ? std::string(kDefaultUnit) : unit;
    std::string picture;
    for (int y = 1; y <= kScanRows; ++y) {
        for (int x = 1; x <= kScanColumns; ++x) {
            picture += canvas.readPixel(x, y) == kWhite ? std::string(kBlankCell) : inkCell;
        }
        picture += kLineBreak;
    }
    return picture;
}

int scanAreaInk(const PreviewCanvas& canvas) {
    int ink = 0;
    for (int y = 1; y <= kScanRows; ++y) {
        for (int x = 1; x <= kScanColumns; ++x) {
            ink += canvas.readPixel(x, y) != kWhite ? 1 : 0;
        }
    }
    return ink;
}

QString escaped(std::string_view bytes) {
    QString shown;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        shown += value >= 0x20 && value < 0x7f
                     ? QString(QLatin1Char(byte))
                     : QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
    }
    return shown;
}

// Where two pictures part, with a few bytes of each from there, or an empty string.
QString pictureDifference(const std::string& actual, const std::string& expected) {
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    if (at == actual.size() && at == expected.size()) {
        return {};
    }
    return QStringLiteral("from byte %1 the box holds \"%2\" where \"%3\" was appended")
        .arg(at)
        .arg(escaped(std::string_view(actual).substr(at, 12)))
        .arg(escaped(std::string_view(expected).substr(at, 12)));
}

// The first pixel at which two canvases differ, or an empty string when they are the same.
QString firstDifference(const PreviewCanvas& shown, const PreviewCanvas& expected) {
    const QSize size = expected.drawingAreaSize();
    if (shown.drawingAreaSize() != size) {
        return QStringLiteral("the drawing areas differ in size");
    }
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (shown.readPixel(x, y) != expected.readPixel(x, y)) {
                return QStringLiteral("pixel (%1, %2)").arg(x).arg(y);
            }
        }
    }
    return {};
}

} // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void longPasteShowsItsBeginning_data();
    void longPasteShowsItsBeginning();
    void longUnitFillsEveryInkCell();
    void unusualUnitsAreAppendedUnchanged_data();
    void unusualUnitsAreAppendedUnchanged();
    void rightToLeftInputLeavesInk_data();
    void rightToLeftInputLeavesInk();

private:
    void convertWith(const QString& input, const std::string& unit);

    std::unique_ptr<MainWindow> window_;
};

void HostileInputTest::init() {
    window_ = std::make_unique<MainWindow>();
    window_->start();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void HostileInputTest::cleanup() {
    window_.reset();
}

// Types the input as keys, puts the unit in as the tool would, and presses the button.
void HostileInputTest::convertWith(const QString& input, const std::string& unit) {
    window_->inputBox().setFocus(Qt::OtherFocusReason);
    typeText(window_->inputBox(), input);
    QCOMPARE(window_->inputBox().text(), input);
    window_->unitBox().writeText(unit);
    QCOMPARE(kelmora::testing::textOf(window_->unitBox().readText()), unit);
    QTest::mouseClick(&window_->convertButton(), Qt::LeftButton);
}

void HostileInputTest::longPasteShowsItsBeginning_data() {
    QTest::addColumn<QString>("pattern");
    QTest::newRow("latin") << QStringLiteral("Kelmora ");
    QTest::newRow("chinese") << QStringLiteral("开始转换输入基本单元");
    QTest::newRow("combining marks") << QStringLiteral("e\u0301a\u0308\u0323o\u0302\u0303");
    QTest::newRow("emoji") << QStringLiteral(
        "\U0001F600\U0001F468\u200D\U0001F469\u200D\U0001F467");
}

void HostileInputTest::longPasteShowsItsBeginning() {
    QFETCH(QString, pattern);
    const QString pasted = repeatedTo(pattern, 100'000);
    QGuiApplication::clipboard()->setText(pasted);
    window_->inputBox().setFocus(Qt::OtherFocusReason);
    QTest::keyClick(&window_->inputBox(), Qt::Key_V, Qt::ControlModifier);

    // Nothing of the paste is dropped, and the preview shows exactly its beginning.
    QCOMPARE(window_->inputBox().text().size(), pasted.size());
    QVERIFY(window_->inputBox().text() == pasted);
    PreviewCanvas expected(kelmora::ui::formEntry(kelmora::ui::kCanvasName), nullptr);
    expected.drawTextAt(1, 1, utf8(pasted.left(400)));
    QVERIFY(scanAreaInk(expected) > 0);
    const QString difference = firstDifference(window_->canvas(), expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void HostileInputTest::longUnitFillsEveryInkCell() {
    const std::string unit = utf8(repeatedTo(QStringLiteral("x中y"), 10'000));
    convertWith(QStringLiteral("Hi中国"), unit);

    const Text picture = window_->outputBox().readText();
    QVERIFY(picture.has_value());
    const int ink = scanAreaInk(window_->canvas());
    QVERIFY(ink > 0);
    QCOMPARE(picture->size(), 2 * (750 - static_cast<std::size_t>(ink)) +
                                  unit.size() * static_cast<std::size_t>(ink) + 15 * 2);
    QVERIFY(*picture == expectedPicture(window_->canvas(), unit));
}

void HostileInputTest::unusualUnitsAreAppendedUnchanged_data() {
    QTest::addColumn<QString>("unit");
    // Set where the output box is known to change the text; the comparison stays exact.
    QTest::addColumn<QString>("knownLoss");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QString();
    QTest::newRow("LF alone") << QStringLiteral("a\nb") << QString();
    QTest::newRow("CR alone")
        << QStringLiteral("a\rb")
        << QStringLiteral(
               "the text document makes every CR a paragraph break, which reads back as CR LF");
    QTest::newRow("tabs") << QStringLiteral("\t*\t") << QString();
    QString controls;
    for (char16_t code = 1; code < 0x20; ++code) {
        if (code != u'\r' && code != u'\n') {
            controls += QChar(code);
        }
    }
    QTest::newRow("other C0 controls") << controls << QString();
    QTest::newRow("DEL and C1 controls") << QStringLiteral("\u007f\u0085\u009b") << QString();
    QTest::newRow("combining marks") << QStringLiteral("e\u0301\u0323\u0308") << QString();
    QTest::newRow("lone combining mark") << QStringLiteral("\u0301") << QString();
    QTest::newRow("emoji") << QStringLiteral("\U0001F600") << QString();
    QTest::newRow("emoji ZWJ sequence")
        << QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467") << QString();
    QTest::newRow("flag and skin tone")
        << QStringLiteral("\U0001F1E9\U0001F1EA\U0001F44D\U0001F3FD") << QString();
    QTest::newRow("right to left") << QStringLiteral("\u05E9\u05DC\u05D5\u05DD") << QString();
    QTest::newRow("bidi controls") << QStringLiteral("\u202E\u2066x\u2069\u202C") << QString();
    QTest::newRow("line separator")
        << QStringLiteral("a\u2028b")
        << QStringLiteral("U+2028 is how the box holds a lone LF, so it reads back as LF");
    QTest::newRow("paragraph separator")
        << QStringLiteral("a\u2029b")
        << QStringLiteral("U+2029 is how the box holds CR LF, so it reads back as CR LF");
    QTest::newRow("noncharacters") << QStringLiteral("\uFDD0\uFDD1\uFFFE")
                                   << QStringLiteral("the text document takes U+FDD0 and U+FDD1 as "
                                                     "frame marks: each reads back as CR LF");
    QTest::newRow("object replacement") << QStringLiteral("\uFFFC") << QString();
}

void HostileInputTest::unusualUnitsAreAppendedUnchanged() {
    QFETCH(QString, unit);
    const std::string unitBytes = utf8(unit);
    convertWith(QStringLiteral("Hi"), unitBytes);
    QVERIFY(scanAreaInk(window_->canvas()) > 0);

    const std::string expected = expectedPicture(window_->canvas(), unitBytes);
    const std::string picture = kelmora::testing::textOf(window_->outputBox().readText());
    QFETCH(QString, knownLoss);
    if (!knownLoss.isEmpty()) {
        QEXPECT_FAIL("", qPrintable(knownLoss), Continue);
    }
    const QString difference = pictureDifference(picture, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void HostileInputTest::rightToLeftInputLeavesInk_data() {
    QTest::addColumn<QString>("input");
    QTest::newRow("hebrew") << QStringLiteral("\u05E9\u05DC\u05D5\u05DD");
    QTest::newRow("arabic") << QStringLiteral("\u0645\u0631\u062D\u0628\u0627");
    QTest::newRow("mixed") << QStringLiteral("ab \u05E9\u05DC\u05D5\u05DD 12");
    QTest::newRow("long hebrew") << repeatedTo(QStringLiteral("\u05E9\u05DC\u05D5\u05DD "), 2'000);
}

void HostileInputTest::rightToLeftInputLeavesInk() {
    QFETCH(QString, input);
    convertWith(input, std::string(kHintText));

    // The preview is the whole text drawn at (1, 1), and the picture is its scan with "* ".
    PreviewCanvas expected(kelmora::ui::formEntry(kelmora::ui::kCanvasName), nullptr);
    expected.drawTextAt(1, 1, utf8(input));
    const QString difference = firstDifference(window_->canvas(), expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QVERIFY(scanAreaInk(window_->canvas()) > 0);
    const std::string picture = kelmora::testing::textOf(window_->outputBox().readText());
    QVERIFY(picture == expectedPicture(window_->canvas(), std::string(kHintText)));
    QVERIFY(picture.find(kDefaultUnit) != std::string::npos);
}

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
