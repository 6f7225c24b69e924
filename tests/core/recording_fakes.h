// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/conversion.h"
#include "core/layout.h"
#include "core/unit_hint.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace kelmora::testing {

// One shared log, so the relative order of reads and writes across fakes is visible.
using CallLog = std::vector<std::string>;

// A canvas of colours addressed (x, y); anything off the grid reads as unreadable.
class GridPixelSource final : public PixelSource {
public:
    static constexpr int kWidth = 60;
    static constexpr int kHeight = 20;

    GridPixelSource(CallLog& log, Colour fill = kWhite) : log_(log) {
        for (auto& row : colours_) {
            row.fill(fill);
        }
    }

    void set(int x, int y, Colour colour) { colours_.at(y).at(x) = colour; }
    [[nodiscard]] Colour at(int x, int y) const { return colours_.at(y).at(x); }

    // Called at each read with the coordinates, before the colour is returned.
    std::function<void(std::int32_t, std::int32_t)> onRead;

    Colour read(std::int32_t x, std::int32_t y) override {
        log_.push_back("pixel " + std::to_string(x) + "," + std::to_string(y));
        if (onRead) {
            onRead(x, y);
        }
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) {
            return kUnreadablePixel;
        }
        return colours_[y][x];
    }

private:
    CallLog& log_;
    std::array<std::array<Colour, kWidth>, kHeight> colours_{};
};

// Answers each read with the next scripted text; the last one repeats.
class ScriptedUnitSource final : public UnitSource {
public:
    ScriptedUnitSource(CallLog& log, std::vector<Text> answers)
        : log_(log), answers_(std::move(answers)) {}

    Text read() override {
        log_.push_back("unit");
        const std::size_t index = std::min(reads_, answers_.size() - 1);
        ++reads_;
        return answers_[index];
    }
    [[nodiscard]] std::size_t reads() const { return reads_; }

private:
    CallLog& log_;
    std::vector<Text> answers_;
    std::size_t reads_ = 0;
};

class RecordingPictureSink final : public PictureSink {
public:
    explicit RecordingPictureSink(CallLog& log, std::string initial = {})
        : log_(log), text_(std::move(initial)) {}

    void clear() override {
        log_.push_back("clear");
        text_.clear();
    }
    void append(std::string_view text) override {
        log_.push_back("append " + std::string(text));
        text_ += text;
    }
    [[nodiscard]] const std::string& text() const { return text_; }

private:
    CallLog& log_;
    std::string text_;
};

class RecordingTextBox final : public HintedTextBox {
public:
    RecordingTextBox(CallLog& log, Text text, Colour colour)
        : log_(log), text_(std::move(text)), colour_(colour) {}

    Text readText() override {
        log_.push_back("read");
        return text_;
    }
    void writeText(std::string_view text) override {
        log_.push_back("write " + std::string(text));
        text_ = std::string(text);
    }
    void writeTextColour(Colour colour) override {
        log_.push_back("colour " + std::to_string(colour));
        colour_ = colour;
    }
    [[nodiscard]] const Text& text() const { return text_; }
    [[nodiscard]] Colour colour() const { return colour_; }

private:
    CallLog& log_;
    Text text_;
    Colour colour_;
};

// Reports the next scripted size on each read, so a read that is skipped or reused shows.
class ScriptedWindowSize final : public WindowSizeSource {
public:
    ScriptedWindowSize(CallLog& log, std::vector<std::int32_t> widths,
                       std::vector<std::int32_t> heights)
        : log_(log), widths_(std::move(widths)), heights_(std::move(heights)) {}

    std::int32_t readWidth() override {
        log_.push_back("read width");
        return widths_.at(widthReads_++);
    }
    std::int32_t readHeight() override {
        log_.push_back("read height");
        return heights_.at(heightReads_++);
    }

private:
    CallLog& log_;
    std::vector<std::int32_t> widths_;
    std::vector<std::int32_t> heights_;
    std::size_t widthReads_ = 0;
    std::size_t heightReads_ = 0;
};

class RecordingBoxPlacer final : public BoxPlacer {
public:
    explicit RecordingBoxPlacer(CallLog& log) : log_(log) {}
    void setTop(std::int32_t top) override { log_.push_back("top " + std::to_string(top)); }
    void setWidth(std::int32_t width) override { log_.push_back("width " + std::to_string(width)); }
    void setHeight(std::int32_t height) override {
        log_.push_back("height " + std::to_string(height));
    }

private:
    CallLog& log_;
};

} // namespace kelmora::testing
