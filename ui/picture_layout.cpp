#include "ui/picture_layout.h"

#include <QFontMetricsF>
#include <QList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
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

} // namespace

PictureLayout::PictureLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

void PictureLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    // Every block the change touched, before the base class lays any of them out again.
    const QTextBlock last = document()->findBlock(from + charsAdded);
    for (QTextBlock block = document()->findBlock(from); block.isValid(); block = block.next()) {
        widenHangul(block);
        if (block == last) {
            break;
        }
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
}

void PictureLayout::widenHangul(const QTextBlock& block) {
    QTextLayout& layout = *block.layout();
    QList<QTextLayout::FormatRange> widened = widenedHangul(block.text(), hangulSpacing());
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
