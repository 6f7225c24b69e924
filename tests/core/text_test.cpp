// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/text.h"
#include "tests/core/case_name.h"

#include <gtest/gtest.h>

namespace kelmora {
namespace {

struct EqualityCase {
    const char* name;
    Text a;
    Text b;
    bool equal;
};

class TextEqualityTest : public ::testing::TestWithParam<EqualityCase> {};

TEST_P(TextEqualityTest, ComparesBytesExactly) {
    const EqualityCase& c = GetParam();
    EXPECT_EQ(textEqual(c.a, c.b), c.equal);
    EXPECT_EQ(textEqual(c.b, c.a), c.equal) << "equality must be symmetric";
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, TextEqualityTest,
    ::testing::Values(EqualityCase{"same_bytes", "abc"s, "abc"s, true},
                      EqualityCase{"missing_equals_empty", std::nullopt, ""s, true},
                      EqualityCase{"two_missing", std::nullopt, std::nullopt, true},
                      EqualityCase{"missing_differs_from_space", std::nullopt, " "s, false},
                      EqualityCase{"missing_differs_from_hint", std::nullopt,
                                   std::string(kHintText), false},
                      EqualityCase{"case_is_not_folded", "Abc"s, "abc"s, false},
                      EqualityCase{"trailing_space_counts", std::string(kHintText) + " ",
                                   std::string(kHintText), false},
                      EqualityCase{"prefix_is_not_equal", "输入"s, std::string(kHintText), false},
                      EqualityCase{"embedded_nul_counts", "a\0b"s, "a"s, false},
                      EqualityCase{"composed_vs_decomposed", "\xC3\xA9"s, "e\xCC\x81"s, false}),
    kelmora::testing::CaseName());

TEST(HintText, IsTheSixCharacterPlaceholderInUtf8) {
    EXPECT_EQ(kHintText,
              "\xE8\xBE\x93\xE5\x85\xA5\xE5\x9F\xBA\xE6\x9C\xAC\xE5\x8D\x95\xE5\x85\x83");
}

} // namespace
} // namespace kelmora
