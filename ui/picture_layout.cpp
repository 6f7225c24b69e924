// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/picture_layout.h"

#include <QFontMetricsF>
#include <QList>
#include <QPainter>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace kelmora::ui {

namespace {

// Hangul that a terminal gives two columns: syllables, leading jamo and compatibility jamo.
bool isWideHangul(char32_t c) {
    return (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0x1100 && c <= 0x115F) ||
           (c >= 0x3131 && c <= 0x318E) || (c >= 0xA960 && c <= 0xA97C);
}

// Vowel and final jamo that join the syllable before them; they stay in its range.
bool isJoiningJamo(char32_t c) {
    return (c >= 0x1160 && c <= 0x11FF) || (c >= 0xD7B0 && c <= 0xD7FF);
}

QList<QTextLayout::FormatRange> widenedHangul(const QString& text, qreal spacing) {
    QList<QTextLayout::FormatRange> ranges;
    if (spacing == 0) {
        return ranges;
    }
    QTextCharFormat widened;
    widened.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    widened.setFontLetterSpacing(spacing);
    for (qsizetype i = 0; i < text.size();) {
        if (!isWideHangul(text.at(i).unicode())) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() &&
               (isWideHangul(text.at(i).unicode()) || isJoiningJamo(text.at(i).unicode()))) {
            ++i;
        }
        ranges.append({int(start), int(i - start), widened});
    }
    return ranges;
}

// Whether Qt's bidi algorithm would turn any of the text around: a right-to-left or Arabic
// character, or an explicit embedding, override or isolate.
bool reordersAnything(const QString& text) {
    const bool onlyEarlyScripts =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x590; });
    if (onlyEarlyScripts) {
        return false;
    }
    const QList<uint> codePoints = text.toUcs4();
    return std::any_of(codePoints.begin(), codePoints.end(), [](uint c) {
        switch (QChar::direction(char32_t(c))) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirLRE:
        case QChar::DirLRO:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirPDF:
        case QChar::DirLRI:
        case QChar::DirRLI:
        case QChar::DirFSI:
        case QChar::DirPDI:
            return true;
        default:
            return false;
        }
    });
}

// What a block's user state says of its text, set whenever the text changes, so that painting
// and mouse moves need not copy and scan the block again. A block no change has reached yet is
// in neither state.
constexpr int kInOrder = 0;
constexpr int kReorders = 1;

constexpr QChar kLeftToRightOverride(0x202D);
constexpr int kOverrideLength = 1;

// The formats moved past the override, and cut at every character: Qt shapes each format range
// on its own, so no letter joins its neighbour and every cell of a joining script such as Arabic
// looks alike, as in a terminal.
QList<QTextLayout::FormatRange> cellByCell(const QList<QTextLayout::FormatRange>& formats,
                                           int length) {
    QList<QTextCharFormat> perCharacter(length);
    for (const QTextLayout::FormatRange& range : formats) {
        for (int i = std::max(range.start, 0); i < std::min(range.start + range.length, length);
             ++i) {
            perCharacter[i] = range.format;
        }
    }
    QList<QTextLayout::FormatRange> cut;
    cut.reserve(length);
    for (int i = 0; i < length; ++i) {
        cut.append({i + kOverrideLength, 1, perCharacter[i]});
    }
    return cut;
}

} // namespace

PictureRow::PictureRow(const QTextBlock& block) : block_(block) {
    const QTextLayout& own = *block.layout();
    const bool composing = own.preeditAreaPosition() >= 0;
    if (block.userState() == kInOrder && (!composing || !reordersAnything(own.preeditAreaText()))) {
        return;
    }
    // What the block's layout lays out: its text with any input method composition in it.
    QString text = block.text();
    if (composing) {
        text.insert(own.preeditAreaPosition(), own.preeditAreaText());
    }
    if (!reordersAnything(text)) {
        return;
    }
    const QFont font = block.charFormat().font().resolve(block.document()->defaultFont());
    overridden_ = std::make_unique<QTextLayout>(kLeftToRightOverride + text, font);
    overridden_->setTextOption(own.textOption());
    overridden_->setFormats(cellByCell(own.formats(), int(text.size())));
    // The same lines as the block's: the override has no width, so they break alike.
    overridden_->beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = overridden_->createLine();
        if (!line.isValid()) {
            break;
        }
        const QTextLine model = own.lineAt(std::min(i, own.lineCount() - 1));
        line.setLeadingIncluded(model.leadingIncluded());
        line.setLineWidth(model.width());
        line.setPosition(model.position());
    }
    overridden_->endLayout();
}

void PictureRow::draw(QPainter& painter, QPointF offset,
                      const QList<QTextLayout::FormatRange>& selections, int caret, int caretWidth,
                      const QRectF& clip) const {
    if (!overridden_) {
        block_.layout()->draw(&painter, offset, selections, clip);
        if (caret >= 0) {
            block_.layout()->drawCursor(&painter, offset, caret, caretWidth);
        }
        return;
    }
    QList<QTextLayout::FormatRange> shifted = selections;
    for (QTextLayout::FormatRange& range : shifted) {
        range.start += kOverrideLength;
    }
    overridden_->draw(&painter, offset, shifted, clip);
    if (caret >= 0) {
        overridden_->drawCursor(&painter, offset, caret + kOverrideLength, caretWidth);
    }
}

qreal PictureRow::caretX(int position) const {
    const QTextLayout& drawn = overridden_ ? *overridden_ : *block_.layout();
    const int drawnPosition = overridden_ ? position + kOverrideLength : position;
    const QTextLine line = drawn.lineForTextPosition(drawnPosition);
    return line.isValid() ? line.cursorToX(drawnPosition) : 0;
}

PictureRow::Hit PictureRow::hit(QPointF drawnPoint) const {
    if (!overridden_ || overridden_->lineCount() == 0) {
        return {drawnPoint, -1};
    }
    int lineNumber = 0;
    while (lineNumber + 1 < overridden_->lineCount() &&
           overridden_->lineAt(lineNumber).rect().bottom() <= drawnPoint.y()) {
        ++lineNumber;
    }
    const QTextLine drawnLine = overridden_->lineAt(lineNumber);
    // The nearest boundary; Qt's own reading of an x ends at the last ink, not at the
    // trailing blanks. Left to right, the boundaries' x only grow.
    int nearest = drawnLine.textStart();
    const int lineEnd = drawnLine.textStart() + drawnLine.textLength();
    for (int boundary = nearest + 1; boundary <= lineEnd; ++boundary) {
        if (std::abs(drawnLine.cursorToX(boundary) - drawnPoint.x()) <
            std::abs(drawnLine.cursorToX(nearest) - drawnPoint.x())) {
            nearest = boundary;
        }
    }
    const int position = std::max(nearest - kOverrideLength, 0);
    // Where the block's own layout has that position, nudged into the character it leads so
    // that a boundary shared by two runs is not read as the other position at the same x.
    const QTextLayout& own = *block_.layout();
    const QTextLine ownLine = own.lineForTextPosition(position);
    if (!ownLine.isValid()) {
        return {drawnPoint, position};
    }
    const qreal x = ownLine.cursorToX(position);
    const qreal nudge =
        QFontMetricsF(block_.document()->defaultFont()).horizontalAdvance(QLatin1Char(' ')) / 4;
    const qreal y = ownLine.rect().center().y();
    for (const qreal candidate : {x, x + nudge, x - nudge}) {
        if (ownLine.xToCursor(candidate) == position) {
            return {{candidate, y}, position};
        }
    }
    return {{x, y}, position};
}

PictureLayout::PictureLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

void PictureLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    // Every block the change touched, before the base class lays any of them out again.
    const QTextBlock last = document()->findBlock(from + charsAdded);
    for (QTextBlock block = document()->findBlock(from); block.isValid(); block = block.next()) {
        noteText(block);
        if (block == last) {
            break;
        }
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
}

void PictureLayout::noteText(QTextBlock& block) {
    const QString text = block.text();
    block.setUserState(reordersAnything(text) ? kReorders : kInOrder);
    QTextLayout& layout = *block.layout();
    QList<QTextLayout::FormatRange> widened = widenedHangul(text, hangulSpacing());
    if (!widened.isEmpty() || !layout.formats().isEmpty()) {
        layout.setFormats(widened);
    }
}

qreal PictureLayout::hangulSpacing() {
    const QFont font = document()->defaultFont();
    if (font != spacingFont_) {
        const QFontMetricsF metrics(font);
        const qreal twoColumns = 2 * metrics.horizontalAdvance(QLatin1Char(' '));
        const qreal syllable = metrics.horizontalAdvance(QChar(0xAC00));
        // The face draws Hangul a little narrower than its other full-width characters.
        hangulSpacing_ =
            std::abs(twoColumns - syllable) < twoColumns / 4 ? twoColumns - syllable : 0;
        spacingFont_ = font;
    }
    return hangulSpacing_;
}

void layOutLeftToRight(QTextDocument& document) {
    QTextOption option = document.defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    document.setDefaultTextOption(option);
}

} // namespace kelmora::ui
