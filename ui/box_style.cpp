// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/box_style.h"

#include "ui/qt_text.h"

#include <QApplication>
#include <QPalette>

namespace kelmora::ui {

void applyBoxColours(QWidget& box, Colour textColour, Colour backgroundColour) {
    QPalette palette = box.palette();
    const QPalette defaults = QApplication::palette(&box);
    const QColor text =
        hasOwnColour(textColour) ? toQColor(textColour) : defaults.color(QPalette::Text);
    const QColor base = hasOwnColour(backgroundColour) ? toQColor(backgroundColour)
                                                       : defaults.color(QPalette::Button);
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Base, base);
    }
    // Unfocused boxes paint with the inactive group: a selection there blends into the box.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, base);
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
    box.setPalette(palette);
}

} // namespace kelmora::ui
