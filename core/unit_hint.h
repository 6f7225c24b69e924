// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/colour.h"
#include "core/text.h"

#include <string_view>

namespace kelmora {

// The three operations the hint rules need of the unit box.
class HintedTextBox {
public:
    virtual ~HintedTextBox() = default;
    virtual Text readText() = 0;
    virtual void writeText(std::string_view text) = 0;
    virtual void writeTextColour(Colour colour) = 0;
};

// Run when the unit box receives the focus: drop the hint so the user types into an empty box.
void onUnitBoxFocusGained(HintedTextBox& box);
// Run when the unit box loses the focus: an empty box shows the grey hint again.
void onUnitBoxFocusLost(HintedTextBox& box);

} // namespace kelmora
