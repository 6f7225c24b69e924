// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/conversion.h"
#include "tests/ui/widget_helpers.h"
#include "ui/form.h"
#include "ui/preview_canvas.h"

#include <QFontMetrics>
#include <QTest>
#include <memory>

using namespace kelmora;
using kelmora::testing::inkPixels;

namespace {

// The canvas as the form builds it, in a shown window.
struct CanvasFixture {
    CanvasFixture() : canvas(new ui::PreviewCanvas(ui::formEntry(ui::kCanvasName), &window)) {
        window.resize(640, 100);
        window.show();
    }
    QWidget window;
    ui::PreviewCanvas* canvas;
};

QImage snapshot(const ui::PreviewCanvas& canvas) {
    const QSize size = canvas.drawingAreaSize();
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const Colour c = canvas.readPixel(x, y);
            image.setPixel(x, y, qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
        }
    }
    return image;
}

} // namespace

class PreviewCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void drawingAreaHoldsTheScanArea() {
        CanvasFixture f;
        const QSize area = f.canvas->drawingAreaSize();
        QVERIFY2(area.width() >= kScanColumns + 1 && area.height() >= kScanRows + 1,
                 qPrintable(QString("%1x%2").arg(area.width()).arg(area.height())));
        // The frame is inside the form's outer size.
        QCOMPARE(f.canvas->size(), QSize(88, 50));
    }

    void theFrameIsNotPaintedOver() {
        CanvasFixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        const QRect area = f.canvas->drawingArea();
        const int frame = f.canvas->frameWidth();
        QVERIFY(area.left() > frame && area.top() > frame);
        QVERIFY(area.right() < f.canvas->width() - 1 - frame);
        QVERIFY(area.bottom() < f.canvas->height() - 1 - frame);
        // The raised frame's shadow edge along the bottom and right is dark, not drawing area.
        const QImage whole = f.canvas->grab().toImage();
        const qreal ratio = whole.devicePixelRatio();
        const QPoint bottomRight(int((f.canvas->width() - 1) * ratio),
                                 int((f.canvas->height() - 1) * ratio));
        QVERIFY(qGray(whole.pixel(bottomRight)) < 200);
    }

    void readsOutsideTheDrawingAreaAreUnreadable_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<bool>("readable");
        CanvasFixture f;
        const QSize area = f.canvas->drawingAreaSize();
        QTest::newRow("origin") << 0 << 0 << true;
        QTest::newRow("scan start") << 1 << 1 << true;
        QTest::newRow("last pixel") << area.width() - 1 << area.height() - 1 << true;
        QTest::newRow("left of it") << -1 << 0 << false;
        QTest::newRow("above it") << 0 << -1 << false;
        QTest::newRow("right of it") << area.width() << 0 << false;
        QTest::newRow("below it") << 0 << area.height() << false;
    }
    void readsOutsideTheDrawingAreaAreUnreadable() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(bool, readable);
        CanvasFixture f;
        f.canvas->drawTextAt(0, 0, "WWWWWWWWWWWWWWWWWWWW");
        f.canvas->clear();
        QCOMPARE(f.canvas->readPixel(x, y), readable ? kWhite : kUnreadablePixel);
    }

    void textStartsAtItsCellAndStaysInTheScannedRows_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("latin with descenders") << "Hgjy|";
        QTest::newRow("chinese") << "中国";
        QTest::newRow("mixed") << "Hi中国";
    }
    void textStartsAtItsCellAndStaysInTheScannedRows() {
        QFETCH(QString, text);
        CanvasFixture f;
        f.canvas->clear();
        f.canvas->drawTextAt(1, 1, text.toStdString());

        const QSize area = f.canvas->drawingAreaSize();
        QVERIFY(inkPixels(*f.canvas, kScanColumns + 1, kScanRows + 1) > 0);
        for (int x = 0; x < area.width(); ++x) {
            QCOMPARE(f.canvas->readPixel(x, 0), kWhite); // row 0 lies above the cell
            for (int y = kScanRows + 1; y < area.height(); ++y) {
                QCOMPARE(f.canvas->readPixel(x, y), kWhite);
            }
        }
        for (int y = 0; y < area.height(); ++y) {
            QCOMPARE(f.canvas->readPixel(0, y), kWhite);
        }
    }

    void glyphsAreDrawnWithoutGreyFringes() {
        CanvasFixture f;
        f.canvas->clear();
        f.canvas->drawTextAt(1, 1, "Hi中国@&");
        const QImage shown = snapshot(*f.canvas);
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb pixel = shown.pixel(x, y);
                QVERIFY2(pixel == qRgb(255, 255, 255) || pixel == qRgb(0, 0, 0),
                         qPrintable(QString("grey at %1,%2").arg(x).arg(y)));
            }
        }
    }

    void fontLineFitsTheScannedRows() {
        CanvasFixture f;
        QVERIFY(QFontMetrics(f.canvas->canvasFont()).height() <= kScanRows);
        QVERIFY(QFontMetrics(f.canvas->canvasFont()).height() >= kScanRows - 4);
    }

    void drawingKeepsWhatIsBehindTheGlyphs() {
        CanvasFixture f;
        f.canvas->clear();
        f.canvas->drawTextAt(1, 1, "l");
        const int first = inkPixels(*f.canvas, 60, 20);
        const QImage before = snapshot(*f.canvas);
        f.canvas->drawTextAt(20, 1, "l");

        QCOMPARE(inkPixels(*f.canvas, 60, 20), 2 * first);
        const QImage after = snapshot(*f.canvas);
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                if (before.pixel(x, y) != qRgb(255, 255, 255)) {
                    QCOMPARE(after.pixel(x, y), before.pixel(x, y));
                }
            }
        }
    }

    void longTextIsCutAtTheEdgeOnOneLine() {
        CanvasFixture f;
        f.canvas->clear();
        f.canvas->drawTextAt(1, 1, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
        const QImage shortText = snapshot(*f.canvas);
        f.canvas->clear();
        f.canvas->drawTextAt(1, 1, std::string(5000, 'W'));

        QCOMPARE(snapshot(*f.canvas), shortText);
        const QSize area = f.canvas->drawingAreaSize();
        QVERIFY(f.canvas->readPixel(area.width() - 2, 8) != kWhite ||
                f.canvas->readPixel(area.width() - 3, 8) != kWhite ||
                f.canvas->readPixel(area.width() - 4, 8) != kWhite);
    }

    void clearingAndEmptyTextLeaveItWhite() {
        CanvasFixture f;
        f.canvas->drawTextAt(1, 1, "Hi");
        f.canvas->clear();
        f.canvas->drawTextAt(1, 1, "");
        QCOMPARE(inkPixels(*f.canvas, f.canvas->drawingAreaSize().width(),
                           f.canvas->drawingAreaSize().height()),
                 0);
    }

    void theDrawingSurvivesRepaintsAndHiding() {
        CanvasFixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.canvas->clear();
        f.canvas->drawTextAt(1, 1, "Hi中");
        const QImage drawn = snapshot(*f.canvas);

        f.canvas->repaint();
        f.window.showMinimized();
        QTest::qWait(10);
        QCOMPARE(snapshot(*f.canvas), drawn);
        f.window.hide();
        QCOMPARE(snapshot(*f.canvas), drawn);
        f.window.showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.canvas->update();
        QCoreApplication::processEvents();
        QCOMPARE(snapshot(*f.canvas), drawn);
    }

    void theScreenShowsWhatTheReadsAnswer() {
        CanvasFixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.canvas->clear();
        f.canvas->drawTextAt(1, 1, "Hi");
        const QImage grabbed = f.canvas->grab(f.canvas->drawingArea()).toImage();
        const qreal ratio = grabbed.devicePixelRatio();
        const QSize area = f.canvas->drawingAreaSize();
        QCOMPARE(grabbed.size(), area * ratio);
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                const QRgb onScreen =
                    grabbed.pixel(int(x * ratio + ratio / 2), int(y * ratio + ratio / 2));
                const bool white = f.canvas->readPixel(x, y) == kWhite;
                QCOMPARE(qGray(onScreen) > 128, white);
            }
        }
    }
};

QTEST_MAIN(PreviewCanvasTest)
#include "preview_canvas_test.moc"
