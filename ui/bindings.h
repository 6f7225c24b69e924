// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/conversion.h"
#include "core/layout.h"
#include "ui/preview_canvas.h"
#include "ui/text_box.h"

#include <QWidget>
#include <QWindow>

namespace kelmora::ui {

class CanvasPixelSource final : public PixelSource {
public:
    explicit CanvasPixelSource(const PreviewCanvas& canvas) : canvas_(canvas) {}
    Colour read(std::int32_t x, std::int32_t y) override { return canvas_.readPixel(x, y); }

private:
    const PreviewCanvas& canvas_;
};

class BoxUnitSource final : public UnitSource {
public:
    explicit BoxUnitSource(TextBox& box) : box_(box) {}
    Text read() override { return box_.readText(); }

private:
    TextBox& box_;
};

class BoxPictureSink final : public PictureSink {
public:
    explicit BoxPictureSink(TextBox& box) : box_(box) {}
    void clear() override { box_.writeText(""); }
    void append(std::string_view text) override { box_.append(text); }

private:
    TextBox& box_;
};

// Moves and sizes one control a single axis at a time, clamping each write.
class WidgetPlacer final : public BoxPlacer {
public:
    explicit WidgetPlacer(QWidget& widget) : widget_(widget) {}
    void setTop(std::int32_t top) override;
    void setWidth(std::int32_t width) override;
    void setHeight(std::int32_t height) override;

private:
    QWidget& widget_;
};

// The outer size of a top-level window, frame and caption included, read afresh each time.
class WindowOuterSize final : public WindowSizeSource {
public:
    explicit WindowOuterSize(const QWidget& window) : window_(window) {}
    std::int32_t readWidth() override { return outerGeometry().width(); }
    std::int32_t readHeight() override { return outerGeometry().height(); }

private:
    // The native window asks the window manager for its frame; the widget keeps a copy of the
    // frame that can lag behind a change of the frame alone.
    [[nodiscard]] QRect outerGeometry() const {
        const QWindow* native = window_.windowHandle();
        return native ? native->frameGeometry() : window_.frameGeometry();
    }

    const QWidget& window_;
};

} // namespace kelmora::ui
