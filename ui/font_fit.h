// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <functional>

namespace kelmora::ui {

// Sets the largest pixel size, not below `smallest`, at which `fits` holds, starting the search
// at `guess`. Each size tried costs a font engine, so a close guess keeps start-up quick.
void fitPixelSize(QFont& font, int guess, int smallest,
                  const std::function<bool(const QFont&)>& fits);

} // namespace kelmora::ui
