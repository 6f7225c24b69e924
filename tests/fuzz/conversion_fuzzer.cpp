// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds the conversion random canvases and unit texts and checks, on every input, the order and
// shape of what it reads and writes.
#include "core/conversion.h"
#include "core/text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <variant>
#include <vector>

namespace {

using namespace kelmora;

struct PixelRead {
    std::int32_t x;
    std::int32_t y;
};
struct UnitRead {};
struct Clear {};
struct Append {
    std::string text;
};
using Call = std::variant<PixelRead, UnitRead, Clear, Append>;

[[noreturn]] void fail(const char* what, std::size_t call) {
    std::fprintf(stderr, "conversion invariant broken at call %zu: %s\n", call, what);
    std::abort();
}

class Canvas final : public PixelSource {
public:
    Canvas(std::vector<Call>& calls, FuzzedDataProvider& data) : calls_(calls) {
        // Mostly white or black so rows mix both; now and then any value, near-white included.
        for (auto& row : colours_) {
            for (Colour& colour : row) {
                switch (data.ConsumeIntegralInRange(0, 7)) {
                case 0:
                case 1:
                case 2:
                    colour = kWhite;
                    break;
                case 3:
                case 4:
                    colour = kBlack;
                    break;
                case 5:
                    colour = kWhite ^ (1U << data.ConsumeIntegralInRange(0, 31));
                    break;
                default:
                    colour = data.ConsumeIntegral<Colour>();
                    break;
                }
            }
        }
    }

    Colour read(std::int32_t x, std::int32_t y) override {
        calls_.push_back(PixelRead{x, y});
        if (x < 1 || y < 1 || x > kScanColumns || y > kScanRows) {
            return kUnreadablePixel;
        }
        return at(x, y);
    }

    [[nodiscard]] Colour at(std::int32_t x, std::int32_t y) const {
        return colours_[static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x - 1)];
    }

private:
    std::vector<Call>& calls_;
    std::array<std::array<Colour, kScanColumns>, kScanRows> colours_{};
};

// Answers each read with the next of a few texts, so a cell that reused an earlier read shows.
class Units final : public UnitSource {
public:
    Units(std::vector<Call>& calls, FuzzedDataProvider& data) : calls_(calls) {
        const int count = data.ConsumeIntegralInRange(1, 3);
        for (int i = 0; i < count; ++i) {
            switch (data.ConsumeIntegralInRange(0, 4)) {
            case 0:
                answers_.emplace_back(std::nullopt);
                break;
            case 1:
                answers_.emplace_back(std::string());
                break;
            case 2:
                answers_.emplace_back(std::string(kHintText));
                break;
            default:
                answers_.emplace_back(data.ConsumeRandomLengthString(64));
                break;
            }
        }
    }

    Text read() override {
        calls_.push_back(UnitRead{});
        return answers_[reads_++ % answers_.size()];
    }

    [[nodiscard]] const Text& answer(std::size_t read) const {
        return answers_[read % answers_.size()];
    }

private:
    std::vector<Call>& calls_;
    std::vector<Text> answers_;
    std::size_t reads_ = 0;
};

class Picture final : public PictureSink {
public:
    explicit Picture(std::vector<Call>& calls) : calls_(calls) {}
    void clear() override { calls_.push_back(Clear{}); }
    void append(std::string_view text) override { calls_.push_back(Append{std::string(text)}); }

private:
    std::vector<Call>& calls_;
};

std::string expectedInkCell(const Text& unit) {
    if (textEqual(unit, kHintText)) {
        return std::string(kDefaultUnit);
    }
    return unit ? *unit : std::string();
}

// Walks the recorded calls in the one order the conversion may make them.
void check(const std::vector<Call>& calls, const Canvas& canvas, const Units& units) {
    std::size_t next = 0;
    const auto take = [&]() -> const Call& {
        if (next >= calls.size()) {
            fail("the conversion stopped early", next);
        }
        return calls[next++];
    };
    if (!std::holds_alternative<Clear>(take())) {
        fail("the first call is not the clear", 0);
    }
    std::size_t unitReads = 0;
    std::size_t appends = 0;
    std::size_t lineBreaks = 0;
    for (std::int32_t y = 1; y <= kScanRows; ++y) {
        std::size_t lineBytes = 0;
        std::size_t whiteCells = 0;
        std::size_t inkBytes = 0;
        for (std::int32_t x = 1; x <= kScanColumns; ++x) {
            const auto* read = std::get_if<PixelRead>(&take());
            if (!read || read->x != x || read->y != y) {
                fail("pixels are not read one by one, row by row", next - 1);
            }
            std::string expected;
            if (canvas.at(x, y) == kWhite) {
                expected = std::string(kBlankCell);
                ++whiteCells;
            } else {
                if (!std::holds_alternative<UnitRead>(take())) {
                    fail("an ink cell did not read the unit right after its pixel", next - 1);
                }
                expected = expectedInkCell(units.answer(unitReads++));
                inkBytes += expected.size();
            }
            const auto* append = std::get_if<Append>(&take());
            if (!append) {
                fail("a cell was not appended right after its reads", next - 1);
            }
            if (append->text != expected) {
                fail(canvas.at(x, y) == kWhite ? "a white pixel's cell is not two spaces"
                                               : "an ink cell is not the unit just read",
                     next - 1);
            }
            lineBytes += append->text.size();
            ++appends;
        }
        const auto* lineEnd = std::get_if<Append>(&take());
        if (!lineEnd || lineEnd->text != kLineBreak) {
            fail("a row does not end with CR LF", next - 1);
        }
        lineBytes += lineEnd->text.size();
        ++appends;
        ++lineBreaks;
        if (lineBytes != 2 * whiteCells + inkBytes + 2) {
            fail("a line's byte length is not 2 x white + unit bytes x ink + 2", next - 1);
        }
    }
    if (next != calls.size()) {
        fail("the conversion went on after the last row", next);
    }
    if (appends != 765 || lineBreaks != 15) {
        fail("not 765 appends with 15 line breaks", next);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::vector<Call> calls;
    Units units(calls, data);
    Canvas canvas(calls, data);
    Picture picture(calls);
    kelmora::convert(canvas, units, picture);
    check(calls, canvas, units);
    return 0;
}
