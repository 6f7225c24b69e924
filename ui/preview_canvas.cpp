#include "ui/preview_canvas.h"

#include "core/conversion.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <qdrawutil.h>

namespace kelmora::ui {

namespace {

// Raised outer frame plus a one-pixel sunken edge drawn inside it.
constexpr int kOuterFrameWidth = 2;
constexpr int kInnerEdgeWidth = 1;

bool holdsRightToLeft(const QString& text) {
    for (const QChar ch : text) {
        const QChar::Direction direction = ch.direction();
        if (direction == QChar::DirR || direction == QChar::DirAL || direction == QChar::DirRLE ||
            direction == QChar::DirRLO || direction == QChar::DirRLI) {
            return true;
        }
    }
    return false;
}

// The beginning of a left-to-right text that already reaches past the given width: shaping a
// long paste in full costs time and shows nothing more. Cut on a grapheme boundary.
QString visiblePrefix(const QString& text, const QFontMetrics& metrics, int width) {
    if (holdsRightToLeft(text)) {
        return text; // reordering depends on the whole line
    }
    qsizetype length = std::max<qsizetype>(width, 16);
    while (length < text.size()) {
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
        graphemes.setPosition(length);
        if (!graphemes.isAtBoundary()) {
            graphemes.toNextBoundary();
        }
        const QString prefix = text.left(graphemes.position());
        if (metrics.horizontalAdvance(prefix) > width) {
            return prefix;
        }
        length *= 2;
    }
    return text;
}

} // namespace

QFont previewFont(int rows) {
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("WenQuanYi Micro Hei")});
    font.setStyleStrategy(QFont::NoAntialias);
    for (int pixelSize = rows; pixelSize > 4; --pixelSize) {
        font.setPixelSize(pixelSize);
        if (QFontMetrics(font).height() <= rows) {
            break;
        }
    }
    return font;
}

PreviewCanvas::PreviewCanvas(const FormEntry& entry, QWidget* parent)
    : QFrame(parent), background_(entry.backgroundColour), textColour_(entry.textColour),
      font_(previewFont(kScanRows)) {
    setObjectName(toQString(entry.formName));
    setGeometry(entry.left, entry.top, entry.width, entry.height);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(kOuterFrameWidth);
    setContentsMargins(kInnerEdgeWidth, kInnerEdgeWidth, kInnerEdgeWidth, kInnerEdgeWidth);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    shown_ = QImage(contentsRect().size(), QImage::Format_RGB32);
    clear();
}

void PreviewCanvas::clear() {
    shown_.fill(toQColor(background_));
    update();
}

void PreviewCanvas::drawTextAt(std::int32_t x, std::int32_t y, std::string_view text) {
    if (text.empty()) {
        return;
    }
    const QFontMetrics metrics(font_);
    const QString visible = visiblePrefix(toQString(text), metrics, shown_.width() - x);
    {
        QPainter painter(&shown_);
        painter.setFont(font_);
        painter.setPen(toQColor(textColour_));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.drawText(QPoint(x, y + metrics.ascent()), visible);
    }
    repaint(contentsRect());
}

Colour PreviewCanvas::readPixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= shown_.width() || y >= shown_.height()) {
        return kUnreadablePixel;
    }
    return fromQRgb(shown_.pixel(x, y));
}

void PreviewCanvas::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    qDrawShadeRect(
        &painter,
        area.adjusted(-kInnerEdgeWidth, -kInnerEdgeWidth, kInnerEdgeWidth, kInnerEdgeWidth),
        palette(), true, kInnerEdgeWidth);
    painter.drawImage(area, shown_);
}

} // namespace kelmora::ui
