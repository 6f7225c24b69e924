// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/conversion.h"
#include "tests/ui/widget_helpers.h"
#include "ui/bindings.h"
#include "ui/form.h"
#include "ui/main_window.h"
#include "ui/multi_line_box.h"
#include "ui/preview_canvas.h"
#include "ui/qt_text.h"
#include "ui/single_line_box.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <memory>

using namespace kelmora;
using kelmora::testing::inkPixels;
using kelmora::testing::startedWindow;
using kelmora::testing::textColourOf;
using kelmora::testing::textOf;

namespace {

QWidget& controlNamed(ui::MainWindow& window, const QString& formName) {
    auto* control = window.findChild<QWidget*>(formName);
    if (!control) {
        qFatal("no control %s", qPrintable(formName));
    }
    return *control;
}

QStringList linesOf(const std::string& picture) {
    QStringList lines = ui::toQString(picture).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// The picture the scan area of the canvas should give, cell for cell.
std::string expectedPicture(const ui::PreviewCanvas& canvas, const std::string& inkCell) {
    std::string picture;
    for (int y = 1; y <= kScanRows; ++y) {
        for (int x = 1; x <= kScanColumns; ++x) {
            picture += canvas.readPixel(x, y) == kWhite ? std::string("  ") : inkCell;
        }
        picture += "\r\n";
    }
    return picture;
}

// Checks at every read that the previous cell is already in the output box.
class AppendOrderCheckingSource final : public PixelSource {
public:
    AppendOrderCheckingSource(const ui::PreviewCanvas& canvas, ui::TextBox& output)
        : canvas_(canvas), output_(output) {}

    Colour read(std::int32_t x, std::int32_t y) override {
        const std::size_t length = textOf(output_.readText()).size();
        if (length != expectedLength_) {
            ++mismatches_;
        }
        const Colour colour = canvas_.readPixel(x, y);
        expectedLength_ += 2; // a blank cell and the hint's "* " are both two bytes
        if (x == kScanColumns) {
            expectedLength_ += 2;
        }
        ++reads_;
        return colour;
    }
    int mismatches_ = 0;
    int reads_ = 0;

private:
    const ui::PreviewCanvas& canvas_;
    ui::TextBox& output_;
    std::size_t expectedLength_ = 0;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensCentredAtItsFormSizeWithTheOutputBoxLaidOut() {
        auto window = startedWindow();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();

        QCOMPARE(window->windowTitle(), QString("Kelmora 1.0"));
        QCOMPARE(window->frameGeometry().size(), QSize(640, 480));
        QCOMPARE(window->frameGeometry().topLeft(),
                 QPoint((screen.width() - 640) / 2, (screen.height() - 480) / 2));
        QCOMPARE(window->outputBox().geometry(), QRect(0, 80, 632, 400));
        QVERIFY(!window->isMaximized() && !window->isMinimized());
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!window->windowIcon().isNull());
    }

    void controlsFollowTheForm_data() {
        QTest::addColumn<QString>("formName");
        for (const ui::FormEntry& entry : ui::form()) {
            if (entry.kind != ui::ControlKind::MainWindow && entry.formName != ui::kOutputBoxName) {
                const QString name = ui::toQString(entry.formName);
                QTest::newRow(qPrintable(name)) << name;
            }
        }
    }
    void controlsFollowTheForm() {
        QFETCH(QString, formName);
        auto window = startedWindow();
        const ui::FormEntry& entry = ui::formEntry(formName.toStdString());
        const QWidget& control = controlNamed(*window, formName);
        QCOMPARE(control.geometry(), QRect(entry.left, entry.top, entry.width, entry.height));
        QCOMPARE(control.isVisible(), entry.visible);
        QCOMPARE(control.isEnabled(), entry.enabled);
        QCOMPARE(control.focusPolicy() != Qt::NoFocus, entry.tabStop);
    }

    void startStateIsTheFormState() {
        auto window = startedWindow();
        QTRY_VERIFY(window->inputBox().hasFocus());
        QVERIFY(!window->inputBox().readText().has_value());
        QCOMPARE(textOf(window->unitBox().readText()), std::string(kHintText));
        QCOMPARE(textColourOf(window->unitBox()), kHintColour);
        QCOMPARE(textColourOf(window->inputBox()), kBlack);
        QCOMPARE(window->convertButton().text(), QString("开始转换"));
        QCOMPARE(window->convertButton().cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!window->convertButton().autoDefault() && !window->convertButton().isDefault());
        QCOMPARE(inkPixels(window->canvas(), window->canvas().drawingAreaSize().width(),
                           window->canvas().drawingAreaSize().height()),
                 0);

        const std::string sample = textOf(window->outputBox().readText());
        QCOMPARE(sample.size(), std::size_t(3264));
        const QStringList lines = linesOf(sample);
        QCOMPARE(lines.size(), 32);
        for (const QString& line : lines) {
            QCOMPARE(line.size(), 100);
            for (int cell = 0; cell < 50; ++cell) {
                const QString text = line.mid(cell * 2, 2);
                QVERIFY(text == "  " || text == "* ");
            }
        }
        QCOMPARE(window->outputBox().textCursor().position(), 0);
        const QFontMetrics cells(window->outputBox().font());
        QCOMPARE(cells.horizontalAdvance("* "), cells.horizontalAdvance("  "));
        QCOMPARE(cells.horizontalAdvance("**"), cells.horizontalAdvance("MW"));
        // The dual-width face, no larger than the desktop's own fixed-pitch text.
        const QFontInfo picture(window->outputBox().font());
        QCOMPARE(picture.family(), QString("Noto Sans Mono CJK SC"));
        QVERIFY(picture.pixelSize() <=
                QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).pixelSize());
        QCOMPARE(window->outputBox().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(window->outputBox().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }

    void tabWalksTheFocusOrderAndWraps_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("visited");
        const QStringList forward{
            ui::toQString(ui::kConvertButtonName), ui::toQString(ui::kUnitBoxName),
            ui::toQString(ui::kOutputBoxName), ui::toQString(ui::kInputBoxName)};
        QStringList backward{ui::toQString(ui::kOutputBoxName), ui::toQString(ui::kUnitBoxName),
                             ui::toQString(ui::kConvertButtonName),
                             ui::toQString(ui::kInputBoxName)};
        QTest::newRow("tab") << int(Qt::Key_Tab) << forward;
        QTest::newRow("shift tab") << int(Qt::Key_Backtab) << backward;
    }
    void tabWalksTheFocusOrderAndWraps() {
        QFETCH(int, key);
        QFETCH(QStringList, visited);
        auto window = startedWindow();
        QTRY_VERIFY(window->inputBox().hasFocus());
        const std::string output = textOf(window->outputBox().readText());

        for (const QString& expected : visited) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(QApplication::focusWidget()->objectName(), expected);
        }
        QCOMPARE(textOf(window->outputBox().readText()), output);
        QVERIFY(!window->inputBox().text().contains('\t'));
        QVERIFY(!window->unitBox().text().contains('\t'));
    }

    void escapeClosesFromEveryControl_data() {
        QTest::addColumn<QString>("formName");
        for (const std::string_view name : ui::focusOrder()) {
            QTest::newRow(std::string(name).c_str()) << ui::toQString(name);
        }
    }
    void escapeClosesFromEveryControl() {
        QFETCH(QString, formName);
        auto window = startedWindow();
        QWidget& control = controlNamed(*window, formName);
        control.setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(control.hasFocus());

        QTest::keyClick(&control, Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(window->isVisible());
        QTest::keyClick(&control, Qt::Key_Escape);

        QVERIFY(!window->isVisible());
    }

    void onlySpaceOnTheFocusedButtonConverts() {
        auto window = startedWindow();
        const std::string sample = textOf(window->outputBox().readText());
        QTest::keyClicks(&window->inputBox(), "Hi");
        QTest::keyClick(&window->inputBox(), Qt::Key_Return);
        QCOMPARE(textOf(window->outputBox().readText()), sample);
        QCOMPARE(window->inputBox().text(), QString("Hi"));

        QTest::keyClick(&window->inputBox(), Qt::Key_Tab);
        QTRY_VERIFY(window->convertButton().hasFocus());
        QTest::keyClick(&window->convertButton(), Qt::Key_Return);
        QTest::keyClick(&window->convertButton(), Qt::Key_Enter);
        QCOMPARE(textOf(window->outputBox().readText()), sample);

        QTest::keyClick(&window->convertButton(), Qt::Key_Space);
        QCOMPARE(textOf(window->outputBox().readText()), expectedPicture(window->canvas(), "* "));
    }

    void typingPreviewsAndTheButtonConverts_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("inkCell");
        QTest::newRow("latin, hint") << "Hi"
                                     << ""
                                     << "* ";
        QTest::newRow("chinese, one-character unit") << "中国"
                                                     << "#"
                                                     << "#";
        QTest::newRow("mixed, chinese unit") << "Hi中国"
                                             << "国"
                                             << "国";
        QTest::newRow("typed hint counts as hint") << "Hi"
                                                   << "输入基本单元"
                                                   << "* ";
        QTest::newRow("spaces are a unit") << "Hi"
                                           << "  "
                                           << "  ";
    }
    void typingPreviewsAndTheButtonConverts() {
        QFETCH(QString, typed);
        QFETCH(QString, unit);
        QFETCH(QString, inkCell);
        auto window = startedWindow();
        if (!unit.isEmpty()) {
            kelmora::testing::clickInTextBand(window->unitBox());
            kelmora::testing::typeText(window->unitBox(), unit);
        }
        kelmora::testing::clickInTextBand(window->inputBox());
        kelmora::testing::typeText(window->inputBox(), typed);
        QVERIFY(inkPixels(window->canvas(), kScanColumns + 1, kScanRows + 1) > 0);

        QTest::mouseClick(&window->convertButton(), Qt::LeftButton);

        const std::string picture = textOf(window->outputBox().readText());
        QCOMPARE(picture, expectedPicture(window->canvas(), inkCell.toStdString()));
        QCOMPARE(linesOf(picture).size(), kScanRows);
        QVERIFY(picture.find(inkCell.toStdString()) != std::string::npos);
    }

    void deletingTheLastCharacterLeavesTheCanvasWhite() {
        auto window = startedWindow();
        QTest::keyClicks(&window->inputBox(), "W");
        QVERIFY(inkPixels(window->canvas(), 60, 20) > 0);
        QTest::keyClick(&window->inputBox(), Qt::Key_Backspace);
        QCOMPARE(inkPixels(window->canvas(), 60, 20), 0);
        window->convert();
        QCOMPARE(textOf(window->outputBox().readText()),
                 expectedPicture(window->canvas(), "never used"));
    }

    void eachAppendIsInTheOutputBoxBeforeTheNextRead() {
        auto window = startedWindow();
        QTest::keyClicks(&window->inputBox(), "Hi");
        AppendOrderCheckingSource pixels(window->canvas(), window->outputBox());
        ui::BoxUnitSource unit(window->unitBox());
        ui::BoxPictureSink picture(window->outputBox());
        {
            const ui::MultiLineBox::AppendBatch batch(window->outputBox());
            convert(pixels, unit, picture);
        }
        QCOMPARE(pixels.reads_, kScanColumns * kScanRows);
        QCOMPARE(pixels.mismatches_, 0);
        QCOMPARE(textOf(window->outputBox().readText()), expectedPicture(window->canvas(), "* "));
        QVERIFY(window->outputBox().textCursor().atEnd());
    }

    void convertingTwiceGivesThePictureOnce() {
        auto window = startedWindow();
        QTest::keyClicks(&window->inputBox(), "Hi");
        QTest::mouseClick(&window->convertButton(), Qt::LeftButton);
        const std::string first = textOf(window->outputBox().readText());
        QTest::mouseClick(&window->convertButton(), Qt::LeftButton);
        QCOMPARE(textOf(window->outputBox().readText()), first);
        QCOMPARE(first.size(), std::size_t(1530));
    }

    void hintFollowsRealFocusMoves_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<uint>("expectedColour");
        QTest::newRow("tab in and out, empty") << "tab"
                                               << ""
                                               << "输入基本单元" << kHintColour;
        QTest::newRow("tab in and out, unit") << "tab"
                                              << "#"
                                              << "#" << kBlack;
        QTest::newRow("click in, click the button, empty") << "button"
                                                           << ""
                                                           << "输入基本单元" << kHintColour;
        QTest::newRow("click in, click the button, unit") << "button"
                                                          << "@"
                                                          << "@" << kBlack;
        QTest::newRow("click in, click the input box, spaces") << "input"
                                                               << "  "
                                                               << "  " << kBlack;
    }
    void hintFollowsRealFocusMoves() {
        QFETCH(QString, route);
        QFETCH(QString, typed);
        QFETCH(QString, expectedText);
        QFETCH(uint, expectedColour);
        auto window = startedWindow();
        QTRY_VERIFY(window->inputBox().hasFocus());

        if (route == "tab") {
            QTest::keyClick(&window->inputBox(), Qt::Key_Tab);
            QTest::keyClick(&window->convertButton(), Qt::Key_Tab);
        } else {
            kelmora::testing::clickInTextBand(window->unitBox());
        }
        QVERIFY(window->unitBox().hasFocus());
        QVERIFY(!window->unitBox().readText().has_value());
        QCOMPARE(textColourOf(window->unitBox()), kBlack);
        kelmora::testing::typeText(window->unitBox(), typed);

        if (route == "tab") {
            QTest::keyClick(&window->unitBox(), Qt::Key_Tab);
        } else if (route == "button") {
            QTest::mouseClick(&window->convertButton(), Qt::LeftButton);
            const std::string ink = expectedText == "输入基本单元" ? "* " : typed.toStdString();
            QCOMPARE(textOf(window->outputBox().readText()),
                     expectedPicture(window->canvas(), ink));
        } else {
            kelmora::testing::clickInTextBand(window->inputBox());
        }

        QVERIFY(!window->unitBox().hasFocus());
        QCOMPARE(textOf(window->unitBox().readText()), expectedText.toStdString());
        QCOMPARE(textColourOf(window->unitBox()), Colour(expectedColour));
    }

    void pressingTheButtonAndReleasingElsewhereOnlyMovesTheFocus() {
        auto window = startedWindow();
        const std::string sample = textOf(window->outputBox().readText());
        kelmora::testing::clickInTextBand(window->unitBox());
        QTest::mousePress(&window->convertButton(), Qt::LeftButton);
        QCOMPARE(textOf(window->unitBox().readText()), std::string(kHintText));
        QTest::mouseRelease(&window->convertButton(), Qt::LeftButton, Qt::NoModifier,
                            QPoint(-20, -20));
        QCOMPARE(textOf(window->outputBox().readText()), sample);
        QVERIFY(window->convertButton().hasFocus());
    }

    void switchingWindowsKeepsTheFocusAndRunsTheHintRules() {
        auto window = startedWindow();
        kelmora::testing::clickInTextBand(window->unitBox());
        QVERIFY(!window->unitBox().readText().has_value());

        QWidget other;
        other.resize(100, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(textOf(window->unitBox().readText()), std::string(kHintText));
        QCOMPARE(textColourOf(window->unitBox()), kHintColour);

        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY(window->unitBox().hasFocus());
        QVERIFY(!window->unitBox().readText().has_value());
        QCOMPARE(textColourOf(window->unitBox()), kBlack);
    }

    void clickingTheCanvasLeavesTheFocus() {
        auto window = startedWindow();
        kelmora::testing::clickInTextBand(window->unitBox());
        QTest::mouseClick(&window->canvas(), Qt::LeftButton);
        QVERIFY(window->unitBox().hasFocus());
        QVERIFY(!window->unitBox().readText().has_value());
    }

    void thePreviewSurvivesMinimiseAndRepaint() {
        auto window = startedWindow();
        kelmora::testing::typeText(window->inputBox(), "Hi中");
        window->convert();
        const std::string before = textOf(window->outputBox().readText());
        QVERIFY(before.find("* ") != std::string::npos);

        window->showMinimized();
        QTest::qWait(20);
        window->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->canvas().repaint();
        window->convert();

        QCOMPARE(textOf(window->outputBox().readText()), before);
    }

    void theOutputBoxFollowsEveryResize_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("box");
        QTest::newRow("larger") << QSize(1000, 700) << QRect(0, 80, 992, 620);
        QTest::newRow("smaller") << QSize(300, 200) << QRect(0, 80, 292, 120);
        QTest::newRow("lower than the strip") << QSize(200, 60) << QRect(0, 80, 192, 0);
        QTest::newRow("back to start") << QSize(640, 480) << QRect(0, 80, 632, 400);
    }
    void theOutputBoxFollowsEveryResize() {
        QFETCH(QSize, size);
        QFETCH(QRect, box);
        auto window = startedWindow();
        const QMargins frame = window->windowHandle()->frameMargins();
        window->resize(size.shrunkBy(frame));
        QTRY_COMPARE(window->frameGeometry().size(), size);
        QCOMPARE(window->outputBox().geometry(), box);
        QCOMPARE(window->inputBox().geometry(), QRect(8, 16, 240, 50));
    }

    void sizeChangedRunsTheLayoutEveryTime() {
        auto window = startedWindow();
        window->outputBox().setGeometry(5, 5, 5, 5);
        window->sizeChanged.raise();
        QCOMPARE(window->outputBox().geometry(), QRect(5, 80, 632, 400));
        window->showMaximized();
        QTRY_VERIFY(window->isMaximized());
        QTRY_COMPARE(window->outputBox().width(), window->frameGeometry().width() - 8);
        QCOMPARE(window->outputBox().height(), window->frameGeometry().height() - 80);
    }

    void geometryWritesClamp_data() {
        QTest::addColumn<QString>("axis");
        QTest::addColumn<int>("value");
        QTest::addColumn<QRect>("result");
        QTest::newRow("top far up") << "top" << -40000 << QRect(10, -32627, 30, 40);
        QTest::newRow("top far down") << "top" << 32628 << QRect(10, 32627, 30, 40);
        QTest::newRow("top in range") << "top" << -5 << QRect(10, -5, 30, 40);
        QTest::newRow("width negative") << "width" << -1 << QRect(10, 20, 0, 40);
        QTest::newRow("width too wide") << "width" << 32628 << QRect(10, 20, 32627, 40);
        QTest::newRow("height negative") << "height" << -1 << QRect(10, 20, 30, 0);
        QTest::newRow("height too high") << "height" << 99999 << QRect(10, 20, 30, 32627);
    }
    void geometryWritesClamp() {
        QFETCH(QString, axis);
        QFETCH(int, value);
        QFETCH(QRect, result);
        QWidget parent;
        QWidget child(&parent);
        child.setGeometry(10, 20, 30, 40);
        ui::WidgetPlacer placer(child);

        if (axis == "top") {
            placer.setTop(value);
        } else if (axis == "width") {
            placer.setWidth(value);
        } else {
            placer.setHeight(value);
        }

        QCOMPARE(child.geometry(), result);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
