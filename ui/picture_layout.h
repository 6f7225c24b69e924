// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>

class QTextBlock;

namespace kelmora::ui {

// Lays out the output box's lines so that a wide Hangul character takes the two columns the
// picture face gives every other full-width character; the face itself draws Hangul a little
// narrower. Only the layout changes; the text stays as it is.
class PictureLayout final : public QPlainTextDocumentLayout {
public:
    explicit PictureLayout(QTextDocument* document);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // Widens the block's Hangul and notes whether its text needs the override to draw.
    void noteText(QTextBlock& block);
    [[nodiscard]] qreal hangulSpacing();

    QFont spacingFont_;
    qreal hangulSpacing_ = 0;
};

// A line of the output box as it is drawn. Qt reorders a right-to-left stretch of a line even
// in a left-to-right paragraph, and the picture is a grid read left to right. A block holding a
// right-to-left character is therefore drawn from its own layout of a left-to-right override
// followed by the block's text; the document and the block's own layout, which the editing
// keeps using, stay as they are. Positions in that layout are one ahead of the block's.
class PictureRow {
public:
    explicit PictureRow(const QTextBlock& block);

    // Draws the block's text, the selections and the caret given in the block layout's
    // positions (a caret of -1 draws none), the layout's top left at the offset.
    void draw(QPainter& painter, QPointF offset, const QList<QTextLayout::FormatRange>& selections,
              int caret, int caretWidth, const QRectF& clip) const;

    // The x at which the caret stands before a position of the block's layout.
    [[nodiscard]] qreal caretX(int position) const;

    // The position of the block's layout drawn under a point relative to its top left (-1 where
    // the block is drawn from its own layout), and the point at which Qt's own hit test of the
    // block's layout finds it where it can: not in the blanks after a line's last
    // right-to-left character, which that layout reads as the line's end.
    struct Hit {
        QPointF editingPoint;
        int position;
    };
    [[nodiscard]] Hit hit(QPointF drawnPoint) const;

private:
    QTextBlock block_;
    std::unique_ptr<QTextLayout> overridden_;
};

// The document option that goes with it: left to right and left-aligned, so no line takes its
// direction from the first strong character it holds.
void layOutLeftToRight(QTextDocument& document);

} // namespace kelmora::ui
