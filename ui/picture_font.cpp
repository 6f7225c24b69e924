// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/picture_font.h"

#include "ui/font_fit.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace kelmora::ui {

namespace {

// A dual-width face: Latin at half an em, CJK ideographs, punctuation, kana and full-width forms
// at a whole em. The simplified-Chinese variant, for the forms this tool's own users read.
const QString kPictureFamily = QStringLiteral("Noto Sans Mono CJK SC");

// A text picture line is 50 cells of two columns. At the start size the box is a little over
// 600 pixels wide inside; a line should fit there rather than wrap.
constexpr int kPictureColumns = 100;
constexpr int kPictureWidthBudget = 600;
constexpr int kSmallestPictureFontPixels = 8;

// Full-width characters of each script the face must keep at two columns, the hint's included.
const QString kFullWidthSamples = QStringLiteral("中输入基本单元，。「あアＷ０");

// The face's advances are design widths scaled to the size and rounded to 1/64 pixel, so a
// size can leave a cell a fraction off; only sizes measured whole and exact are taken.
bool isTrueGrid(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal column = metrics.horizontalAdvance(QLatin1Char(' '));
    if (column <= 0 || column != std::floor(column) ||
        metrics.horizontalAdvance(QStringLiteral("* ")) != 2 * column ||
        metrics.horizontalAdvance(QString(kPictureColumns, QLatin1Char(' '))) >
            kPictureWidthBudget) {
        return false;
    }
    return std::all_of(kFullWidthSamples.begin(), kFullWidthSamples.end(), [&](QChar character) {
        return metrics.horizontalAdvance(character) == 2 * column;
    });
}

// Without the dual-width face: the desktop's fixed-pitch face, CJK from a matching fallback.
QFont fixedPitchFallback() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Name the face the alias resolves to: a family list would not resolve "monospace" itself.
    font.setFamilies(
        QStringList{QFontInfo(font).family(), QStringLiteral("WenQuanYi Micro Hei Mono")});
    const QString line(kPictureColumns, QLatin1Char(' '));
    const int pixelSize = QFontInfo(font).pixelSize();
    const int width = std::max(QFontMetrics(font).horizontalAdvance(line), 1);
    if (width <= kPictureWidthBudget) {
        return font;
    }
    fitPixelSize(font, pixelSize * kPictureWidthBudget / width, kSmallestPictureFontPixels,
                 [&line](const QFont& candidate) {
                     return QFontMetrics(candidate).horizontalAdvance(line) <= kPictureWidthBudget;
                 });
    return font;
}

} // namespace

QFont pictureFont() {
    QFont font;
    font.setFamilies(QStringList{kPictureFamily});
    // Hinting may round each advance on its own; vertical hinting keeps the design widths.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    // No larger than the desktop's own text, and no larger than lets 100 columns fit; the face
    // is half an em a column, so the first size tried is nearly always the one taken.
    const int desktopPixels =
        QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).pixelSize();
    const int largest = std::min(desktopPixels, 2 * kPictureWidthBudget / kPictureColumns);
    font.setPixelSize(largest);
    if (QFontInfo(font).family() != kPictureFamily) {
        return fixedPitchFallback(); // not installed: something else stood in for it
    }
    for (int pixels = largest; pixels >= kSmallestPictureFontPixels; --pixels) {
        font.setPixelSize(pixels);
        if (isTrueGrid(font)) {
            return font;
        }
    }
    return fixedPitchFallback();
}

} // namespace kelmora::ui
