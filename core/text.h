// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelmora {

// A text as the controls hand it over: UTF-8 bytes, or nothing at all when a box is empty.
// A missing text is distinct from an allocated empty one, but compares equal to it.
using Text = std::optional<std::string>;

// The placeholder the unit box shows while no unit is typed. The conversion recognises the
// same bytes as "use the default unit", so both rules must share this one constant.
inline constexpr std::string_view kHintText = "输入基本单元";

// Byte-for-byte equality; a missing text equals only "" and another missing text.
// No case folding, trimming or normalisation.
[[nodiscard]] bool textEqual(const Text& a, const Text& b);
[[nodiscard]] bool textEqual(const Text& a, std::string_view b);

} // namespace kelmora
