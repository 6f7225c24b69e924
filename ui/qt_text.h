// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/colour.h"
#include "core/text.h"

#include <QColor>
#include <QString>
#include <string_view>

namespace kelmora::ui {

// An empty widget text is a missing text, never an allocated empty one.
[[nodiscard]] Text toText(const QString& text);
[[nodiscard]] QString toQString(std::string_view text);

// Colours are 0x00BBGGRR; a value with the top byte set has no colour of its own.
[[nodiscard]] bool hasOwnColour(Colour colour);
[[nodiscard]] QColor toQColor(Colour colour);
[[nodiscard]] Colour fromQRgb(unsigned int rgb);

} // namespace kelmora::ui
