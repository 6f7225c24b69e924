// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/colour.h"

#include <QWidget>

namespace kelmora::ui {

// Gives a box its text and background colours, and hides its selection while it is unfocused.
void applyBoxColours(QWidget& box, Colour textColour, Colour backgroundColour);

} // namespace kelmora::ui
