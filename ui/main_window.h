// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/bindings.h"
#include "ui/event.h"
#include "ui/frame_extents_watch.h"

#include <QWidget>
#include <memory>
#include <string_view>

class QPushButton;

namespace kelmora::ui {

class MultiLineBox;
class PreviewCanvas;
class SingleLineBox;

// The tool's one window, built from the form. Construction creates everything with no handler
// bound; start() binds the handlers, lays out the output box once and shows the window.
class MainWindow final : public QWidget {
public:
    MainWindow();
    ~MainWindow() override;

    void start();

    [[nodiscard]] SingleLineBox& inputBox() const { return *inputBox_; }
    [[nodiscard]] SingleLineBox& unitBox() const { return *unitBox_; }
    [[nodiscard]] MultiLineBox& outputBox() const { return *outputBox_; }
    [[nodiscard]] PreviewCanvas& canvas() const { return *canvas_; }
    [[nodiscard]] QPushButton& convertButton() const { return *convertButton_; }

    // The handlers, as the form binds them.
    void preview();
    void convert();
    void layOutOutputBox();

    Event sizeChanged;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void bindHandlers();
    bool handleWindowKey(const QKeyEvent& key);
    void moveFocus(bool forward);
    void fitOuterSizeOnce();
    template <class Control> Control& control(std::string_view formName) const;

    SingleLineBox* inputBox_ = nullptr;
    SingleLineBox* unitBox_ = nullptr;
    MultiLineBox* outputBox_ = nullptr;
    PreviewCanvas* canvas_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    WindowOuterSize outerSize_;
    std::unique_ptr<WidgetPlacer> outputPlacer_;
    FrameExtentsWatch frameExtentsWatch_{*this};
    QPoint formPosition_;
    bool startFitArmed_ = true;
};

} // namespace kelmora::ui
