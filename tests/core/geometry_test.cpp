// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/geometry.h"

#include <gtest/gtest.h>
#include <limits>

namespace kelmora {
namespace {

struct ClampCase {
    std::int32_t value;
    std::int32_t extent;
    std::int32_t position;
};

class GeometryClampTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(GeometryClampTest, ClampsWidthsToZeroAndBothPositionsToTheLimit) {
    EXPECT_EQ(clampExtent(GetParam().value), GetParam().extent);
    EXPECT_EQ(clampPosition(GetParam().value), GetParam().position);
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(Values, GeometryClampTest,
                         ::testing::Values(ClampCase{kMin, 0, -32627}, ClampCase{-32628, 0, -32627},
                                           ClampCase{-32627, 0, -32627}, ClampCase{-1, 0, -1},
                                           ClampCase{0, 0, 0}, ClampCase{632, 632, 632},
                                           ClampCase{32627, 32627, 32627},
                                           ClampCase{32628, 32627, 32627},
                                           ClampCase{32767, 32627, 32627},
                                           ClampCase{kMax, 32627, 32627}));

} // namespace
} // namespace kelmora
