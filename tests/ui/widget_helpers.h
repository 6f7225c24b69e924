#pragma once

#include "ui/preview_canvas.h"
#include "ui/single_line_box.h"

#include <QTest>
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

} // namespace kelmora::testing
