// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/font_fit.h"

#include <algorithm>

namespace kelmora::ui {

void fitPixelSize(QFont& font, int guess, int smallest,
                  const std::function<bool(const QFont&)>& fits) {
    int pixelSize = std::max(guess, smallest);
    font.setPixelSize(pixelSize);
    while (pixelSize > smallest && !fits(font)) {
        font.setPixelSize(--pixelSize);
    }
    QFont larger = font;
    larger.setPixelSize(pixelSize + 1);
    // A face that reports no metrics would "fit" at any size; stop at a sane one.
    constexpr int kLargest = 256;
    while (pixelSize < kLargest && fits(larger)) {
        font = larger;
        larger.setPixelSize(++pixelSize + 1);
    }
}

} // namespace kelmora::ui
