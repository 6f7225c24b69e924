// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/layout.h"

namespace kelmora {

namespace {
// Computed through double and truncated toward zero via 64 bits, keeping the low 32 bits.
std::int32_t lessBy(std::int32_t size, double margin) {
    const auto wide = static_cast<std::int64_t>(static_cast<double>(size) - margin);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}
} // namespace

void layoutOutputBox(WindowSizeSource& window, BoxPlacer& box) {
    box.setTop(kOutputBoxTop);
    box.setWidth(lessBy(window.readWidth(), 8.0));
    box.setHeight(lessBy(window.readHeight(), 80.0));
}

} // namespace kelmora
