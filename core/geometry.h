// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace kelmora {

// Limits of a control's geometry writes; reads are never clamped.
inline constexpr std::int32_t kGeometryLimit = 32627;

[[nodiscard]] std::int32_t clampExtent(std::int32_t widthOrHeight);
[[nodiscard]] std::int32_t clampPosition(std::int32_t leftOrTop);

} // namespace kelmora
