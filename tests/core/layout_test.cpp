// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/layout.h"
#include "tests/core/case_name.h"
#include "tests/core/recording_fakes.h"

#include <gtest/gtest.h>
#include <limits>

namespace kelmora {
namespace {

using testing::CallLog;
using testing::RecordingBoxPlacer;
using testing::ScriptedWindowSize;

struct LayoutCase {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    std::int32_t boxWidth;
    std::int32_t boxHeight;
};

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, SetsTopThenWidthThenHeightEachFromAFreshRead) {
    const LayoutCase& c = GetParam();
    CallLog log;
    ScriptedWindowSize window(log, {c.width}, {c.height});
    RecordingBoxPlacer box(log);

    layoutOutputBox(window, box);

    const CallLog expected{"top 80", "read width", "width " + std::to_string(c.boxWidth),
                           "read height", "height " + std::to_string(c.boxHeight)};
    EXPECT_EQ(log, expected);
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Sizes, LayoutTest,
    ::testing::Values(LayoutCase{"start_size", 640, 480, 632, 400},
                      LayoutCase{"larger", 1000, 700, 992, 620},
                      LayoutCase{"width_8_height_80", 8, 80, 0, 0},
                      LayoutCase{"width_7_height_79", 7, 79, -1, -1},
                      LayoutCase{"zero", 0, 0, -8, -80}, LayoutCase{"negative", -5, -20, -13, -100},
                      LayoutCase{"largest", kMax, kMax, kMax - 8, kMax - 80},
                      // Below int32: truncated through 64 bits, the low 32 bits kept.
                      LayoutCase{"smallest_wraps", kMin, kMin, kMax - 7, kMax - 79}),
    testing::CaseName());

TEST(Layout, RunsInFullEveryTimeAndUsesTheSizeOfTheMoment) {
    CallLog log;
    ScriptedWindowSize window(log, {640, 640, 300}, {480, 480, 200});
    RecordingBoxPlacer box(log);

    layoutOutputBox(window, box);
    layoutOutputBox(window, box);
    layoutOutputBox(window, box);

    const CallLog once{"top 80", "read width", "width 632", "read height", "height 400"};
    CallLog expected = once;
    expected.insert(expected.end(), once.begin(), once.end());
    expected.insert(expected.end(),
                    {"top 80", "read width", "width 292", "read height", "height 120"});
    EXPECT_EQ(log, expected);
}

} // namespace
} // namespace kelmora
