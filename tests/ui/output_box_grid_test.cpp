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
