// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/bindings.h"

#include "core/geometry.h"

namespace kelmora::ui {

void WidgetPlacer::setTop(std::int32_t top) {
    widget_.move(widget_.x(), clampPosition(top));
}

void WidgetPlacer::setWidth(std::int32_t width) {
    widget_.resize(clampExtent(width), widget_.height());
}

void WidgetPlacer::setHeight(std::int32_t height) {
    widget_.resize(widget_.width(), clampExtent(height));
}

} // namespace kelmora::ui
