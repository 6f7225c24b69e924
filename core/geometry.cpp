// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/geometry.h"

#include <algorithm>

namespace kelmora {

std::int32_t clampExtent(std::int32_t widthOrHeight) {
    return std::clamp(widthOrHeight, std::int32_t{0}, kGeometryLimit);
}

std::int32_t clampPosition(std::int32_t leftOrTop) {
    return std::clamp(leftOrTop, -kGeometryLimit, kGeometryLimit);
}

} // namespace kelmora
