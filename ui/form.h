// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/colour.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace kelmora::ui {

enum class ControlKind { MainWindow, EditBox, DrawPanel, Button };
enum class LineMode { SingleLine, MultiLine };
enum class Alignment { Left, Centre };
enum class MousePointer { KindDefault, Arrow, PointingHand };
enum class Border { SizingFrame, SunkenEdge, RaisedFrameSunkenEdge, PushButton };

// One row of the form: everything the window knows about itself or one control.
struct FormEntry {
    ControlKind kind;
    std::string_view formName;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    MousePointer pointer = MousePointer::KindDefault;
    Border border = Border::SunkenEdge;
    Colour textColour = kBlack;
    Colour backgroundColour = kNoColour;
    // The title for the window, the caption for a button, the initial text for a box.
    std::string_view text;
    Alignment alignment = Alignment::Left;
    LineMode lineMode = LineMode::SingleLine;
    // What a screen reader announces for the control.
    std::string_view accessibleName;
    std::string_view accessibleDescription;
    // Window only.
    bool minimiseButton = false;
    bool maximiseButton = false;
    bool escapeCloses = false;
};

inline constexpr std::string_view kInputBoxName = "编辑框1";
inline constexpr std::string_view kUnitBoxName = "编辑框2";
inline constexpr std::string_view kOutputBoxName = "编辑框3";
inline constexpr std::string_view kCanvasName = "画板1";
inline constexpr std::string_view kConvertButtonName = "按钮开始转换";

// The window first, then its five controls.
[[nodiscard]] std::span<const FormEntry> form();
[[nodiscard]] const FormEntry& mainWindowEntry();
// Throws std::out_of_range for a name the form does not hold.
[[nodiscard]] const FormEntry& formEntry(std::string_view formName);
// Tab walks these in order and wraps; Shift+Tab walks them backwards.
[[nodiscard]] std::span<const std::string_view> focusOrder();

// The text picture the output box shows before the first conversion: 32 lines of 50 cells.
[[nodiscard]] std::string_view samplePicture();

} // namespace kelmora::ui
