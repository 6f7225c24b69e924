// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/main_window.h"
#include "ui/preview_canvas.h"
#include "ui/single_line_box.h"

#include <QPalette>
#include <QTest>
#include <memory>
#include <string>

namespace kelmora::testing {

// A press in the middle of a single-line box's text band, where it takes the focus.
inline void clickInTextBand(ui::SingleLineBox& box) {
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, box.textBand().center());
}

// Types any text, Chinese and emoji included, one key event per character (a surrogate pair
// stays one key) as a keyboard or an input method hands it over.
inline void typeText(QWidget& widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, &widget, Qt::Key_unknown, text.mid(i, length),
                            Qt::NoModifier);
        i += length - 1;
    }
}

inline int inkPixels(const ui::PreviewCanvas& canvas, int columns, int rows) {
    int ink = 0;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            ink += canvas.readPixel(x, y) != kWhite ? 1 : 0;
        }
    }
    return ink;
}

inline std::string textOf(const Text& text) {
    return text ? *text : std::string();
}

// The colour every character of the box is drawn in, as a Colour.
inline Colour textColourOf(const QWidget& box) {
    const QColor c = box.palette().color(QPalette::Active, QPalette::Text);
    return Colour(c.red()) | Colour(c.green()) << 8 | Colour(c.blue()) << 16;
}

// The tool's window as the program starts it: shown, active, the input box focused.
inline std::unique_ptr<ui::MainWindow> startedWindow() {
    auto window = std::make_unique<ui::MainWindow>();
    window->start();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qWarning("the main window did not become active");
    }
    return window;
}

} // namespace kelmora::testing
