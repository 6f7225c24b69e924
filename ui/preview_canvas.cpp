// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/preview_canvas.h"

#include "core/conversion.h"
#include "ui/font_fit.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <algorithm>
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

// The first `count` characters of a UTF-8 text, or all of it if it is shorter.
std::string_view leadingCharacters(std::string_view text, std::size_t count) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U;
        if (startsCharacter && count-- == 0) {
            return text.substr(0, i);
        }
    }
    return text;
}

// The beginning of a left-to-right text that already reaches past the given width: converting
// and shaping a long paste in full costs time and shows nothing more. Only the part looked at is
// converted, so a long paste costs no more than a short one. Cut on a grapheme boundary.
QString visiblePrefix(std::string_view text, const QFontMetrics& metrics, int width) {
    // Start with a few characters and double: far fewer get shaped than a pixel each would allow.
    for (std::size_t length = 16;; length *= 2) {
        const std::string_view head = leadingCharacters(text, length);
        if (head.size() == text.size()) {
            return toQString(text);
        }
        QString prefix = toQString(head);
        if (holdsRightToLeft(prefix)) {
            return toQString(text); // reordering depends on the whole line
        }
        // The character after the head decides whether the head ends between two graphemes; an
        // LTR head's look does not depend on anything further on.
        const QString lookahead = toQString(leadingCharacters(text, length + 1));
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, lookahead);
        graphemes.setPosition(prefix.size());
        if (!graphemes.isAtBoundary()) {
            graphemes.toPreviousBoundary();
            prefix.truncate(std::max<qsizetype>(graphemes.position(), 0));
        }
        if (metrics.horizontalAdvance(prefix) > width) {
            return prefix;
        }
    }
}

} // namespace

QFont previewFont(int rows) {
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("WenQuanYi Micro Hei")});
    font.setStyleStrategy(QFont::NoAntialias);
    // Line height grows in proportion to the pixel size: one measurement gives a close guess.
    font.setPixelSize(rows);
    const int heightAtRows = std::max(QFontMetrics(font).height(), 1);
    fitPixelSize(font, rows * rows / heightAtRows, 1, [rows](const QFont& candidate) {
        return QFontMetrics(candidate).height() <= rows;
    });
    return font;
}

PreviewCanvas::PreviewCanvas(const FormEntry& entry, QWidget* parent)
    : QFrame(parent), background_(entry.backgroundColour), textColour_(entry.textColour),
      font_(previewFont(kScanRows)) {
    setObjectName(toQString(entry.formName));
    setGeometry(entry.left, entry.top, entry.width, entry.height);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(kOuterFrameWidth);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    shown_ = QImage(drawingArea().size(), QImage::Format_RGB32);
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
    const QString visible = visiblePrefix(text, metrics, shown_.width() - x);
    {
        QPainter painter(&shown_);
        painter.setFont(font_);
        painter.setPen(toQColor(textColour_));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.drawText(QPoint(x, y + metrics.ascent()), visible);
    }
    repaint(drawingArea());
}

Colour PreviewCanvas::readPixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= shown_.width() || y >= shown_.height()) {
        return kUnreadablePixel;
    }
    return fromQRgb(shown_.pixel(x, y));
}

QRect PreviewCanvas::drawingArea() const {
    // Inside the frame QFrame draws, less the sunken edge drawn within it.
    return contentsRect().adjusted(kInnerEdgeWidth, kInnerEdgeWidth, -kInnerEdgeWidth,
                                   -kInnerEdgeWidth);
}

void PreviewCanvas::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = drawingArea();
    qDrawShadeRect(
        &painter,
        area.adjusted(-kInnerEdgeWidth, -kInnerEdgeWidth, kInnerEdgeWidth, kInnerEdgeWidth),
        palette(), true, kInnerEdgeWidth);
    painter.drawImage(area, shown_);
}

} // namespace kelmora::ui
