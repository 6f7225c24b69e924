// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/colour.h"
#include "ui/form.h"

#include <QFont>
#include <QFrame>
#include <QImage>
#include <cstdint>
#include <string_view>

namespace kelmora::ui {

// The small drawing surface the typed text is previewed on and the conversion scans. It keeps
// what it shows in an image at its logical pixel size, so repaints, minimising and HiDPI scaling
// never change what a pixel read answers.
class PreviewCanvas final : public QFrame {
public:
    PreviewCanvas(const FormEntry& entry, QWidget* parent);

    void clear();
    // The top-left corner of the first character's cell lands on (x, y); only glyph pixels
    // change, one line, cut at the edges of the drawing area.
    void drawTextAt(std::int32_t x, std::int32_t y, std::string_view text);
    // 0x00BBGGRR, or kUnreadablePixel for a point outside the drawing area.
    [[nodiscard]] Colour readPixel(std::int32_t x, std::int32_t y) const;

    [[nodiscard]] QSize drawingAreaSize() const { return shown_.size(); }
    // Where the drawing area lies in the canvas's own coordinates.
    [[nodiscard]] QRect drawingArea() const;
    [[nodiscard]] const QFont& canvasFont() const { return font_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour background_;
    Colour textColour_;
    QFont font_;
    QImage shown_;
};

// The default interface font's family, unsmoothed, at the largest pixel size whose line height
// fits the given number of rows; Chinese falls back to a CJK face.
[[nodiscard]] QFont previewFont(int rows);

} // namespace kelmora::ui
