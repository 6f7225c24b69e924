// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace kelmora {

class WindowSizeSource {
public:
    virtual ~WindowSizeSource() = default;
    // The window's outer size, frame and caption included, read afresh on every call.
    virtual std::int32_t readWidth() = 0;
    virtual std::int32_t readHeight() = 0;
};

class BoxPlacer {
public:
    virtual ~BoxPlacer() = default;
    virtual void setTop(std::int32_t top) = 0;
    virtual void setWidth(std::int32_t width) = 0;
    virtual void setHeight(std::int32_t height) = 0;
};

inline constexpr std::int32_t kOutputBoxTop = 80;

// Fits the output box below the top strip: top 80, width W - 8, height H - 80, in that order,
// each size read just before it is used.
void layoutOutputBox(WindowSizeSource& window, BoxPlacer& box);

} // namespace kelmora
