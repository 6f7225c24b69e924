// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace kelmora {

// 0x00BBGGRR: red in the lowest byte. The top byte is set only for "no colour" in a
// setting, or for a pixel that could not be read.
using Colour = std::uint32_t;

inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kBlack = 0x00000000;
inline constexpr Colour kHintColour = 0x00C0C0C0;
inline constexpr Colour kNoColour = 0xFF000000;
inline constexpr Colour kUnreadablePixel = 0xFFFFFFFF;

} // namespace kelmora
