// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/unit_hint.h"
#include "tests/core/case_name.h"
#include "tests/core/recording_fakes.h"

#include <gtest/gtest.h>

namespace kelmora {
namespace {

using testing::CallLog;
using testing::RecordingTextBox;
using namespace std::string_literals;

const std::string kHint(kHintText);
const std::string kBlackCall = "colour " + std::to_string(kBlack);
const std::string kGreyCall = "colour " + std::to_string(kHintColour);

enum class Rule { FocusGained, FocusLost };

struct HintCase {
    const char* name;
    Rule rule;
    Text text;
    Colour colour;
    CallLog expectedCalls;
    Text expectedText;
    Colour expectedColour;
};

class UnitHintTest : public ::testing::TestWithParam<HintCase> {};

TEST_P(UnitHintTest, FollowsTheStateTable) {
    const HintCase& c = GetParam();
    CallLog log;
    RecordingTextBox box(log, c.text, c.colour);

    if (c.rule == Rule::FocusGained) {
        onUnitBoxFocusGained(box);
    } else {
        onUnitBoxFocusLost(box);
    }

    EXPECT_EQ(log, c.expectedCalls);
    EXPECT_TRUE(textEqual(box.text(), c.expectedText));
    EXPECT_EQ(box.colour(), c.expectedColour);
}

INSTANTIATE_TEST_SUITE_P(
    StateTable, UnitHintTest,
    ::testing::Values(
        HintCase{"gain_while_hint_shown",
                 Rule::FocusGained,
                 kHint,
                 kHintColour,
                 {"read", "write ", kBlackCall},
                 ""s,
                 kBlack},
        HintCase{"gain_with_typed_hint_text",
                 Rule::FocusGained,
                 kHint,
                 kBlack,
                 {"read", "write ", kBlackCall},
                 ""s,
                 kBlack},
        HintCase{"gain_with_unit_held",
                 Rule::FocusGained,
                 "#"s,
                 kBlack,
                 {"read", kBlackCall},
                 "#"s,
                 kBlack},
        HintCase{"gain_with_hint_and_trailing_space",
                 Rule::FocusGained,
                 kHint + " ",
                 kBlack,
                 {"read", kBlackCall},
                 kHint + " ",
                 kBlack},
        HintCase{"gain_when_empty",
                 Rule::FocusGained,
                 std::nullopt,
                 kHintColour,
                 {"read", kBlackCall},
                 std::nullopt,
                 kBlack},
        HintCase{"lose_when_missing",
                 Rule::FocusLost,
                 std::nullopt,
                 kBlack,
                 {"read", "write " + kHint, kGreyCall},
                 kHint,
                 kHintColour},
        HintCase{"lose_when_empty",
                 Rule::FocusLost,
                 ""s,
                 kBlack,
                 {"read", "write " + kHint, kGreyCall},
                 kHint,
                 kHintColour},
        HintCase{"lose_with_spaces_only", Rule::FocusLost, "  "s, kBlack, {"read"}, "  "s, kBlack},
        HintCase{"lose_with_unit_held", Rule::FocusLost, "中"s, kBlack, {"read"}, "中"s, kBlack},
        HintCase{
            "lose_with_typed_hint_text", Rule::FocusLost, kHint, kBlack, {"read"}, kHint, kBlack}),
    testing::CaseName());

// Leaving an emptied box and coming back is the round trip a user makes most.
TEST(UnitHint, EmptyBoxRoundTripRestoresAndClearsTheHint) {
    CallLog log;
    RecordingTextBox box(log, kHint, kHintColour);

    onUnitBoxFocusGained(box);
    onUnitBoxFocusLost(box);
    ASSERT_TRUE(textEqual(box.text(), kHintText));
    ASSERT_EQ(box.colour(), kHintColour);
    onUnitBoxFocusGained(box);

    EXPECT_TRUE(textEqual(box.text(), std::string_view()));
    EXPECT_EQ(box.colour(), kBlack);
}

} // namespace
} // namespace kelmora
