// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

namespace kelmora::ui {

// The face and size in which the output box draws text pictures: every full-width character
// advances exactly two half-width columns, and both advances are whole pixels, so a line of 50
// cells in any two-column unit is as wide as 50 blank cells.
[[nodiscard]] QFont pictureFont();

} // namespace kelmora::ui
