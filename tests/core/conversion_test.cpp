// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/conversion.h"
#include "tests/core/case_name.h"
#include "tests/core/recording_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace kelmora {
namespace {

using testing::CallLog;
using testing::GridPixelSource;
using testing::RecordingPictureSink;
using testing::ScriptedUnitSource;
using namespace std::string_literals;

constexpr Colour kInk = kBlack;

// An asymmetric shape, so that swapping rows and columns or shifting the scan shows. Ink also
// lies just outside the scan area (row 0, column 0, column 51, row 16), which must never count.
void drawShape(GridPixelSource& canvas) {
    canvas.set(1, 1, kInk);
    canvas.set(50, 1, kInk);
    canvas.set(3, 2, kInk);
    canvas.set(2, 15, kInk);
    canvas.set(50, 15, kInk);
    for (int x = 10; x <= 20; ++x) {
        canvas.set(x, 7, kInk);
    }
    for (int y = 3; y <= 9; ++y) {
        canvas.set(40, y, 0x00808080);
    }
    canvas.set(0, 4, kInk);
    canvas.set(5, 0, kInk);
    canvas.set(51, 5, kInk);
    canvas.set(6, 16, kInk);
}

std::vector<std::string> splitLines(const std::string& picture) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < picture.size()) {
        const std::size_t end = picture.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(picture.substr(start));
            break;
        }
        lines.push_back(picture.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

struct UnitCase {
    const char* name;
    Text unit;
    std::string inkCell;
};

class ConversionUnitTest : public ::testing::TestWithParam<UnitCase> {};

TEST_P(ConversionUnitTest, WritesTheInkCellForEveryInkPixelAndTwoSpacesForWhite) {
    const UnitCase& c = GetParam();
    CallLog log;
    GridPixelSource canvas(log);
    drawShape(canvas);
    ScriptedUnitSource unit(log, {c.unit});
    RecordingPictureSink picture(log, "old sample text\r\n");

    convert(canvas, unit, picture);

    std::string expected;
    for (int y = 1; y <= 15; ++y) {
        for (int x = 1; x <= 50; ++x) {
            expected += canvas.at(x, y) == kWhite ? "  "s : c.inkCell;
        }
        expected += "\r\n";
    }
    EXPECT_EQ(picture.text(), expected);

    if (c.inkCell.find("\r\n") != std::string::npos) {
        return; // such a unit breaks lines inside the picture by design
    }
    const std::vector<std::string> lines = splitLines(picture.text());
    ASSERT_EQ(lines.size(), 15U);
    EXPECT_TRUE(picture.text().ends_with("\r\n"));
    for (int y = 1; y <= 15; ++y) {
        std::size_t white = 0;
        for (int x = 1; x <= 50; ++x) {
            white += canvas.at(x, y) == kWhite ? 1 : 0;
        }
        const std::size_t ink = 50 - white;
        EXPECT_EQ(lines[y - 1].size() + 2, 2 * white + c.inkCell.size() * ink + 2) << "row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Units, ConversionUnitTest,
    ::testing::Values(UnitCase{"hint", std::string(kHintText), "* "},
                      UnitCase{"one_ascii_character", "#"s, "#"},
                      UnitCase{"two_ascii_characters", "@@"s, "@@"},
                      UnitCase{"one_chinese_character", "中"s, "中"},
                      UnitCase{"chinese_and_latin", "国x"s, "国x"}, UnitCase{"empty", ""s, ""},
                      UnitCase{"missing", std::nullopt, ""}, UnitCase{"spaces_only", "   "s, "   "},
                      UnitCase{"hint_with_trailing_space", std::string(kHintText) + " ",
                               std::string(kHintText) + " "},
                      UnitCase{"line_break_inside", "a\r\nb"s, "a\r\nb"}),
    testing::CaseName());

// The observable contract: clear first, then per pixel the colour read, the unit read only for
// ink, and the cell appended before the next read; a line break after each row of 50.
TEST(Conversion, ReadsAndAppendsInPictureOrder) {
    CallLog log;
    GridPixelSource canvas(log);
    drawShape(canvas);
    ScriptedUnitSource unit(log, {"#"s});
    RecordingPictureSink picture(log);

    convert(canvas, unit, picture);

    CallLog expected{"clear"};
    for (int y = 1; y <= 15; ++y) {
        for (int x = 1; x <= 50; ++x) {
            expected.push_back("pixel " + std::to_string(x) + "," + std::to_string(y));
            if (canvas.at(x, y) == kWhite) {
                expected.push_back("append   ");
            } else {
                expected.push_back("unit");
                expected.push_back("append #");
            }
        }
        expected.push_back("append \r\n");
    }
    EXPECT_EQ(log, expected);
}

TEST(Conversion, EachCellIsInTheSinkBeforeTheNextPixelIsRead) {
    CallLog log;
    GridPixelSource canvas(log);
    drawShape(canvas);
    ScriptedUnitSource unit(log, {"中"s});
    RecordingPictureSink picture(log, "sample");
    std::size_t expectedLength = 0;
    int readsChecked = 0;
    canvas.onRead = [&](std::int32_t x, std::int32_t y) {
        EXPECT_EQ(picture.text().size(), expectedLength) << "at pixel " << x << "," << y;
        const bool white = canvas.at(x, y) == kWhite;
        expectedLength += white ? 2 : std::string("中").size();
        if (x == 50) {
            expectedLength += 2;
        }
        ++readsChecked;
    };

    convert(canvas, unit, picture);

    EXPECT_EQ(readsChecked, 750);
    EXPECT_EQ(picture.text().size(), expectedLength);
}

TEST(Conversion, ReadsTheUnitAfreshForEveryInkCell) {
    CallLog log;
    GridPixelSource canvas(log, kInk);
    ScriptedUnitSource unit(log, {"a"s, "b"s, std::string(kHintText), std::nullopt, ""s, "中"s});
    RecordingPictureSink picture(log);

    convert(canvas, unit, picture);

    EXPECT_EQ(unit.reads(), 750U);
    // The first row shows each answer in turn; the last answer repeats from then on.
    std::string firstRow = "ab* 中";
    for (int x = 7; x <= 50; ++x) {
        firstRow += "中";
    }
    EXPECT_EQ(splitLines(picture.text()).at(0), firstRow);
}

struct PixelCase {
    const char* name;
    Colour colour;
    bool blank;
};

class ConversionPixelTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(ConversionPixelTest, OnlyExactWhiteIsBlank) {
    CallLog log;
    GridPixelSource canvas(log, GetParam().colour);
    ScriptedUnitSource unit(log, {std::string(kHintText)});
    RecordingPictureSink picture(log);

    convert(canvas, unit, picture);

    std::string row;
    for (int x = 1; x <= 50; ++x) {
        row += GetParam().blank ? "  " : "* ";
    }
    std::string expected;
    for (int y = 1; y <= 15; ++y) {
        expected += row + "\r\n";
    }
    EXPECT_EQ(picture.text(), expected);
    EXPECT_EQ(picture.text().size(), 1530U);
    EXPECT_EQ(unit.reads(), GetParam().blank ? 0U : 750U);
}

INSTANTIATE_TEST_SUITE_P(Colours, ConversionPixelTest,
                         ::testing::Values(PixelCase{"white", 0x00FFFFFF, true},
                                           PixelCase{"black", 0x00000000, false},
                                           PixelCase{"red_one_step_below", 0x00FFFFFE, false},
                                           PixelCase{"green_one_step_below", 0x00FFFEFF, false},
                                           PixelCase{"blue_one_step_below", 0x00FEFFFF, false},
                                           PixelCase{"antialiased_grey", 0x00C8C8C8, false},
                                           PixelCase{"unreadable", 0xFFFFFFFF, false},
                                           PixelCase{"white_with_top_byte", 0x01FFFFFF, false}),
                         testing::CaseName());

TEST(Conversion, ConvertingTwiceGivesThePictureOnce) {
    CallLog log;
    GridPixelSource canvas(log);
    drawShape(canvas);
    ScriptedUnitSource unit(log, {"* "s});
    RecordingPictureSink picture(log);

    convert(canvas, unit, picture);
    const std::string first = picture.text();
    convert(canvas, unit, picture);

    EXPECT_EQ(picture.text(), first);
    EXPECT_EQ(picture.text().size(), 1530U);
}

} // namespace
} // namespace kelmora
