// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/colour.h"
#include "core/text.h"

#include <cstdint>
#include <string_view>

namespace kelmora {

inline constexpr std::int32_t kScanColumns = 50;
inline constexpr std::int32_t kScanRows = 15;
inline constexpr std::string_view kBlankCell = "  ";
inline constexpr std::string_view kDefaultUnit = "* ";
inline constexpr std::string_view kLineBreak = "\r\n";

class PixelSource {
public:
    virtual ~PixelSource() = default;
    // x is the column, y the row; unreadable points answer kUnreadablePixel.
    virtual Colour read(std::int32_t x, std::int32_t y) = 0;
};

class UnitSource {
public:
    virtual ~UnitSource() = default;
    // Reads the unit box afresh on every call.
    virtual Text read() = 0;
};

class PictureSink {
public:
    virtual ~PictureSink() = default;
    virtual void clear() = 0;
    virtual void append(std::string_view text) = 0;
};

// Scans columns 1..50 of rows 1..15 into the sink, one cell per pixel, as each is known.
void convert(PixelSource& pixels, UnitSource& unit, PictureSink& picture);

} // namespace kelmora
