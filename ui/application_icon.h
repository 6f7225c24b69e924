// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

namespace kelmora::ui {

// The application's icon in every size the build renders from the shipped SVG.
[[nodiscard]] QIcon applicationIcon();

} // namespace kelmora::ui
