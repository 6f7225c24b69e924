// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the output box shows of a converted picture: a grid in which every two-column unit takes
// exactly the room of a blank cell, and every line runs left to right from the left edge.
#include "core/conversion.h"
#include "tests/ui/widget_helpers.h"
#include "ui/main_window.h"
#include "ui/multi_line_box.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace kelmora;
using kelmora::testing::textOf;

namespace {

std::unique_ptr<ui::MainWindow> startedWindow() {
    auto window = std::make_unique<ui::MainWindow>();
    window->start();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qWarning("the main window did not become active");
    }
    return window;
}

// Types the unit (none keeps the hint) and the input text, then presses the convert button.
void convertWithUnit(ui::MainWindow& window, const QString& unit, const QString& typed) {
    if (!unit.isEmpty()) {
        kelmora::testing::clickInTextBand(window.unitBox());
        kelmora::testing::typeText(window.unitBox(), unit);
    }
    kelmora::testing::clickInTextBand(window.inputBox());
    kelmora::testing::typeText(window.inputBox(), typed);
    QTest::mouseClick(&window.convertButton(), Qt::LeftButton);
}

// One line of a converted picture, split into its cells: true for an ink cell.
struct PictureLine {
    QTextBlock block;
    std::vector<int> cellStarts; // character positions in the block, one past the end last
    std::vector<bool> ink;
    bool wellFormed = true; // only blank cells and whole ink cells

    [[nodiscard]] bool mixesInkAndWhite() const {
        return std::find(ink.begin(), ink.end(), true) != ink.end() &&
               std::find(ink.begin(), ink.end(), false) != ink.end();
    }
};

std::vector<PictureLine> pictureLines(const ui::MultiLineBox& box, const QString& inkCell) {
    std::vector<PictureLine> lines;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (text.isEmpty() && !block.next().isValid()) {
            break; // the empty block after the last CR LF
        }
        PictureLine line{.block = block, .cellStarts = {}, .ink = {}};
        int position = 0;
        while (position < text.size()) {
            line.cellStarts.push_back(position);
            const bool blank = text.mid(position, 2) == QLatin1String("  ");
            line.wellFormed = line.wellFormed && (blank || text.mid(position).startsWith(inkCell));
            line.ink.push_back(!blank);
            position += blank ? 2 : int(inkCell.size());
        }
        line.cellStarts.push_back(position);
        lines.push_back(line);
    }
    return lines;
}

bool isWholePixel(qreal value) {
    return value == std::floor(value);
}

// Where a cell of a picture line must stand in a grid read left to right: after the advances of
// the cells before it, each drawn on its own as a terminal draws it, whatever its script.
struct CellSpan {
    qreal left;
    qreal right;
};

std::vector<CellSpan> cellSpans(const ui::MultiLineBox& box, const PictureLine& line) {
    const QFontMetricsF metrics(box.font());
    const QString text = line.block.text();
    const qreal lineStart = line.block.layout()->lineAt(0).x();
    std::vector<CellSpan> spans;
    qreal left = lineStart;
    for (std::size_t cell = 0; cell + 1 < line.cellStarts.size(); ++cell) {
        const int start = line.cellStarts[cell];
        const qreal right =
            left + metrics.horizontalAdvance(text.mid(start, line.cellStarts[cell + 1] - start));
        spans.push_back({left, right});
        left = right;
    }
    return spans;
}

// Whether any pixel of the band between two x (viewport coordinates) is dark.
bool hasInk(const QImage& image, qreal left, qreal right, const QRect& band) {
    const qreal scale = image.devicePixelRatio();
    for (int y = int(band.top() * scale); y < int((band.bottom() + 1) * scale); ++y) {
        for (int x = int(std::ceil(left * scale)); x < int(right * scale); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                return true;
            }
        }
    }
    return false;
}

// The caret rectangle the box hands an input method, in viewport coordinates.
QRectF caretRect(ui::MultiLineBox& box, int position) {
    QTextCursor caret(box.document());
    caret.setPosition(position);
    box.setTextCursor(caret);
    const QRectF rect = box.inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    return rect.translated(-QPointF(box.viewport()->pos()));
}

} // namespace

class OutputBoxGridTest : public QObject {
    Q_OBJECT

private slots:
    void twoColumnUnitsLineUpWithBlankCells_data() {
        QTest::addColumn<QString>("unit"); // empty: the hint stays and ink cells are "* "
        QTest::addColumn<QString>("inkCell");
        QTest::newRow("hint, asterisk") << ""
                                        << "* ";
        QTest::newRow("two ascii characters") << "##"
                                              << "##";
        QTest::newRow("chinese") << "中"
                                 << "中";
        QTest::newRow("hiragana") << "あ"
                                  << "あ";
        QTest::newRow("hangul") << "한"
                                << "한";
        QTest::newRow("full-width letter") << "Ｗ"
                                           << "Ｗ";
        QTest::newRow("simplified chinese") << "输"
                                            << "输";
        QTest::newRow("chinese punctuation") << "，"
                                             << "，";
    }
    void twoColumnUnitsLineUpWithBlankCells() {
        QFETCH(QString, unit);
        QFETCH(QString, inkCell);
        auto window = startedWindow();
        convertWithUnit(*window, unit, "Hi中");
        ui::MultiLineBox& box = window->outputBox();

        const QFontMetricsF metrics(box.font());
        const qreal blankCell = metrics.horizontalAdvance(QStringLiteral("  "));
        const qreal dpr = box.devicePixelRatioF();
        QVERIFY2(isWholePixel(blankCell) && isWholePixel(blankCell * dpr / 2),
                 qPrintable(QString("a blank cell is %1 px").arg(blankCell)));
        const qreal fiftyBlankCells = metrics.horizontalAdvance(QString(100, QLatin1Char(' ')));
        QCOMPARE(fiftyBlankCells, kScanColumns * blankCell);

        int mixedLines = 0;
        const std::vector<PictureLine> lines = pictureLines(box, inkCell);
        QCOMPARE(int(lines.size()), kScanRows);
        for (const PictureLine& line : lines) {
            QVERIFY(line.wellFormed); // nothing padded, cut or changed
            QCOMPARE(int(line.ink.size()), kScanColumns);
            if (!line.mixesInkAndWhite()) {
                continue;
            }
            ++mixedLines;
            const QTextLayout& layout = *line.block.layout();
            QCOMPARE(layout.lineCount(), 1); // 100 columns fit the box without wrapping
            const QTextLine row = layout.lineAt(0);
            for (std::size_t cell = 0; cell < line.cellStarts.size(); ++cell) {
                const qreal x = row.cursorToX(line.cellStarts[cell]) - row.x();
                QVERIFY2(x == qreal(cell) * blankCell,
                         qPrintable(QString("line %1, cell %2 starts at %3 px, not %4")
                                        .arg(line.block.blockNumber() + 1)
                                        .arg(cell)
                                        .arg(x)
                                        .arg(qreal(cell) * blankCell)));
            }
            QCOMPARE(row.cursorToX(line.cellStarts.back()) - row.x(), fiftyBlankCells);
            // No glyph of the line falls back to another face.
            for (const QGlyphRun& run : layout.glyphRuns()) {
                QCOMPARE(run.rawFont().familyName(), QFontInfo(box.font()).family());
            }
        }
        QVERIFY(mixedLines > 0);
    }

    void theHintIsDrawnInThePictureFace() {
        auto window = startedWindow();
        const QFont font = window->outputBox().font();
        QTextLayout layout(ui::toQString(kHintText) + "ｱあア한字，。", font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            QCOMPARE(run.rawFont().familyName(), QFontInfo(font).family());
        }
        const QFontMetricsF metrics(font);
        for (const QChar character : ui::toQString(kHintText)) {
            QCOMPARE(metrics.horizontalAdvance(character), metrics.horizontalAdvance("  "));
        }
    }

    // A grid is read left to right whatever its units: a right-to-left unit must not turn the
    // cells of a line around. What is drawn, the caret, a click and a copied selection all put
    // cell c at column c.
    void cellsStandInTheirColumnsInAnyScript_data() {
        QTest::addColumn<QString>("unit");
        QTest::newRow("hebrew") << "א";
        QTest::newRow("arabic") << "ب";
        QTest::newRow("two hebrew letters") << "אב";
        QTest::newRow("two ascii characters, left to right") << "##";
        QTest::newRow("chinese, left to right") << "中";
    }
    void cellsStandInTheirColumnsInAnyScript() {
        QFETCH(QString, unit);
        auto window = startedWindow();
        convertWithUnit(*window, unit, "Hi");
        ui::MultiLineBox& box = window->outputBox();
        const std::string converted = textOf(box.readText());
        box.setFocus();

        int linesChecked = 0;
        for (const PictureLine& line : pictureLines(box, unit)) {
            if (!line.mixesInkAndWhite()) {
                continue;
            }
            ++linesChecked;
            QVERIFY(line.wellFormed);
            const QString text = line.block.text();
            const int blockStart = line.block.position();
            const std::vector<CellSpan> spans = cellSpans(box, line);
            const QRect band = box.cursorRect(QTextCursor(line.block)).adjusted(0, 1, 0, -1);
            const QString where = QString("line %1").arg(line.block.blockNumber() + 1);

            // Drawn: ink in the middle of every ink cell, none in the middle of a blank one.
            box.setTextCursor(QTextCursor(box.document()));
            const QImage shown = box.viewport()->grab().toImage();
            QString drawn;
            QString expected;
            for (std::size_t cell = 0; cell < spans.size(); ++cell) {
                const qreal quarter = (spans[cell].right - spans[cell].left) / 4;
                drawn +=
                    hasInk(shown, spans[cell].left + quarter, spans[cell].right - quarter, band)
                        ? '#'
                        : '.';
                expected += line.ink[cell] ? '#' : '.';
            }
            QVERIFY2(drawn == expected, qPrintable(where + ": drawn   " + drawn + "\n" + where +
                                                   ": in text " + expected));

            // The caret at every cell boundary stands at that boundary's x.
            const qreal lineLeft = caretRect(box, blockStart).x();
            QVERIFY(text.startsWith(QLatin1Char(' ')));
            for (std::size_t cell = 0; cell < spans.size(); ++cell) {
                const qreal x = caretRect(box, blockStart + line.cellStarts[cell]).x();
                QVERIFY2(std::abs(x - lineLeft - (spans[cell].left - spans[0].left)) < 0.5,
                         qPrintable(QString("%1: the caret before cell %2 is at %3 px, not %4")
                                        .arg(where)
                                        .arg(cell)
                                        .arg(x - lineLeft)
                                        .arg(spans[cell].left - spans[0].left)));
            }

            // A click in the left half of a cell puts the caret before it.
            const int middle = band.center().y();
            for (std::size_t cell = 0; cell < spans.size(); ++cell) {
                const qreal quarter = (spans[cell].right - spans[cell].left) / 4;
                QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::NoModifier,
                                  QPoint(int(spans[cell].left + quarter), middle));
                QVERIFY2(box.textCursor().position() == blockStart + line.cellStarts[cell],
                         qPrintable(QString("%1: a click in cell %2 puts the caret at %3, not %4")
                                        .arg(where)
                                        .arg(cell)
                                        .arg(box.textCursor().position() - blockStart)
                                        .arg(line.cellStarts[cell])));
            }

            // A selection from the first ink cell to past the last one, by click and shift-click,
            // copies exactly those cells and is highlighted exactly over them.
            const auto firstInk =
                std::size_t(std::find(line.ink.begin(), line.ink.end(), true) - line.ink.begin());
            const auto pastInk =
                std::size_t(line.ink.size() - (std::find(line.ink.rbegin(), line.ink.rend(), true) -
                                               line.ink.rbegin()));
            QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::NoModifier,
                              QPoint(int(spans[firstInk].left + 1), middle));
            const qreal pastLeft =
                pastInk < spans.size() ? spans[pastInk].left : spans.back().right;
            QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                              QPoint(int(pastLeft + 1), middle));
            box.copy();
            const int from = line.cellStarts[firstInk];
            const int to = line.cellStarts[pastInk];
            QCOMPARE(QApplication::clipboard()->text(), text.mid(from, to - from));
            const QImage selected = box.viewport()->grab().toImage();
            const QColor highlight = box.palette().color(QPalette::Highlight);
            QString highlighted;
            QString selectedCells;
            for (std::size_t cell = 0; cell < spans.size(); ++cell) {
                const qreal centre = (spans[cell].left + spans[cell].right) / 2;
                const qreal scale = selected.devicePixelRatio();
                highlighted +=
                    selected.pixelColor(int(centre * scale), int(band.top() * scale)) == highlight
                        ? 'S'
                        : '.';
                selectedCells += cell >= firstInk && cell < pastInk ? 'S' : '.';
            }
            QVERIFY2(highlighted == selectedCells,
                     qPrintable(where + ": highlighted " + highlighted + "\n" + where +
                                ": selected    " + selectedCells));
        }
        QVERIFY(linesChecked > 0);
        QCOMPARE(textOf(box.readText()), converted); // nothing of it changed
    }

    void everyLineRunsLeftToRightFromTheLeftEdge_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("userLine"); // typed on a new line after the conversion
        QTest::newRow("hebrew unit") << "א"
                                     << "";
        QTest::newRow("arabic unit") << "ب"
                                     << "";
        QTest::newRow("hebrew typed by the user") << "א"
                                                  << "שלום abc";
        QTest::newRow("hebrew pasted by the user") << ""
                                                   << "paste:אבג  ד";
    }
    void everyLineRunsLeftToRightFromTheLeftEdge() {
        QFETCH(QString, unit);
        QFETCH(QString, userLine);
        auto window = startedWindow();
        convertWithUnit(*window, unit, "Hi");
        ui::MultiLineBox& box = window->outputBox();
        const std::string converted = textOf(box.readText());
        if (!userLine.isEmpty()) {
            box.setFocus();
            QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
            if (userLine.startsWith("paste:")) {
                QApplication::clipboard()->setText(userLine.mid(6));
                QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
            } else {
                kelmora::testing::typeText(box, userLine);
            }
            QCOMPARE(textOf(box.readText()),
                     converted + ui::toText(userLine.remove("paste:")).value_or(""));
        }

        int linesChecked = 0;
        const QTextBlock first = box.document()->begin();
        const int leftEdge = box.cursorRect(QTextCursor(first)).x();
        const qreal blankColumn = QFontMetricsF(box.font()).horizontalAdvance(QLatin1Char(' '));
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            if (block.text().trimmed().isEmpty()) {
                continue;
            }
            ++linesChecked;
            const QTextLine row = block.layout()->lineAt(0);
            // Whatever its first strong character, the line's leftmost glyph after the leading
            // blanks stands right after them, at the left edge, not at the right edge.
            const int firstInk = int(block.text().indexOf(QRegularExpression("\\S")));
            qreal leftmost = row.x() + row.naturalTextWidth();
            for (const QGlyphRun& run :
                 block.layout()->glyphRuns(firstInk, block.length() - 1 - firstInk)) {
                for (const QPointF& glyph : run.positions()) {
                    leftmost = std::min(leftmost, glyph.x());
                }
            }
            QVERIFY2(
                leftmost - row.x() == firstInk * blankColumn,
                qPrintable(QString("line %1: the first glyph after %2 blank columns is at %3 px")
                               .arg(block.blockNumber() + 1)
                               .arg(firstInk)
                               .arg(leftmost - row.x())));
            // On screen too: the first cell of the line is drawn left of the middle.
            QTextCursor start(block);
            QVERIFY(box.cursorRect(start).x() - leftEdge < box.viewport()->width() / 2);
        }
        QVERIFY(linesChecked > 0);
    }
};

QTEST_MAIN(OutputBoxGridTest)
#include "output_box_grid_test.moc"
