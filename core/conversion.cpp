// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/conversion.h"

namespace kelmora {

void convert(PixelSource& pixels, UnitSource& unit, PictureSink& picture) {
    picture.clear();
    for (std::int32_t y = 1; y <= kScanRows; ++y) {
        for (std::int32_t x = 1; x <= kScanColumns; ++x) {
            if (pixels.read(x, y) == kWhite) {
                picture.append(kBlankCell);
                continue;
            }
            // Read afresh for every ink cell: the unit is the box's, not a copy of it.
            const Text unitText = unit.read();
            if (textEqual(unitText, kHintText)) {
                picture.append(kDefaultUnit);
            } else {
                picture.append(unitText ? std::string_view(*unitText) : std::string_view());
            }
        }
        picture.append(kLineBreak);
    }
}

} // namespace kelmora
