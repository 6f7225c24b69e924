// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/unit_hint.h"

namespace kelmora {

void onUnitBoxFocusGained(HintedTextBox& box) {
    const bool showsHint = textEqual(box.readText(), kHintText);
    if (showsHint) {
        box.writeText("");
    }
    // Always, so a kept unit text is black too.
    box.writeTextColour(kBlack);
}

void onUnitBoxFocusLost(HintedTextBox& box) {
    const bool isEmpty = textEqual(box.readText(), std::string_view());
    if (isEmpty) {
        box.writeText(kHintText);
        box.writeTextColour(kHintColour);
    }
}

} // namespace kelmora
