// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/main_window.h"

#include "core/layout.h"
#include "core/unit_hint.h"
#include "ui/application_icon.h"
#include "ui/form.h"
#include "ui/multi_line_box.h"
#include "ui/preview_canvas.h"
#include "ui/qt_text.h"
#include "ui/single_line_box.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <stdexcept>
#include <string>

namespace kelmora::ui {

namespace {

QPushButton* makeButton(const FormEntry& entry, QWidget* parent) {
    auto* button = new QPushButton(toQString(entry.text), parent);
    button->setObjectName(toQString(entry.formName));
    button->setGeometry(entry.left, entry.top, entry.width, entry.height);
    // An ordinary push button: Enter never presses it, space does while it has the focus.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFocusPolicy(entry.tabStop ? Qt::StrongFocus : Qt::NoFocus);
    return button;
}

QWidget* makeControl(const FormEntry& entry, QWidget* parent) {
    switch (entry.kind) {
    case ControlKind::EditBox:
        if (entry.lineMode == LineMode::MultiLine) {
            return new MultiLineBox(entry, parent);
        }
        return new SingleLineBox(entry, parent);
    case ControlKind::DrawPanel:
        return new PreviewCanvas(entry, parent);
    case ControlKind::Button:
        return makeButton(entry, parent);
    case ControlKind::MainWindow:
        break;
    }
    throw std::logic_error("the form holds a second window");
}

void applyPointer(QWidget& widget, MousePointer pointer) {
    switch (pointer) {
    case MousePointer::PointingHand:
        widget.setCursor(Qt::PointingHandCursor);
        break;
    case MousePointer::Arrow:
        widget.setCursor(Qt::ArrowCursor);
        break;
    case MousePointer::KindDefault:
        break;
    }
}

// Centred by the form's rule: each half truncated toward zero, even when negative.
QPoint centredPosition(const FormEntry& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize =
        screen ? screen->geometry().size() : QSize(window.width, window.height);
    return {(screenSize.width() - window.width) / 2, (screenSize.height() - window.height) / 2};
}

bool isTabStop(const QWidget& widget) {
    return widget.isVisible() && widget.isEnabled() && widget.focusPolicy() != Qt::NoFocus;
}

} // namespace

MainWindow::MainWindow() : outerSize_(*this) {
    const FormEntry& window = mainWindowEntry();
    setWindowTitle(toQString(window.text));
    Qt::WindowFlags flags =
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (window.minimiseButton) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (window.maximiseButton) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    setWindowFlags(flags);
    setWindowIcon(applicationIcon());
    formPosition_ = centredPosition(window);
    move(formPosition_);
    resize(window.width, window.height);
    buildControls();
    // Whatever moved or sized the window while it was built is not reported later.
    setAttribute(Qt::WA_PendingMoveEvent, false);
    setAttribute(Qt::WA_PendingResizeEvent, false);
}

MainWindow::~MainWindow() {
    // ~QWidget hides a shown window only after this part of it is gone; the focus leaving a box
    // then would run its handlers on a half-destroyed window. Hide it while it is still whole.
    hide();
}

void MainWindow::buildControls() {
    for (const FormEntry& entry : form()) {
        if (entry.kind == ControlKind::MainWindow) {
            continue;
        }
        QWidget* widget = makeControl(entry, this);
        widget->setEnabled(entry.enabled);
        widget->setVisible(entry.visible);
        applyPointer(*widget, entry.pointer);
        widget->setAccessibleName(toQString(entry.accessibleName));
        widget->setAccessibleDescription(toQString(entry.accessibleDescription));
        widget->installEventFilter(this);
    }
    inputBox_ = &control<SingleLineBox>(kInputBoxName);
    unitBox_ = &control<SingleLineBox>(kUnitBoxName);
    outputBox_ = &control<MultiLineBox>(kOutputBoxName);
    canvas_ = &control<PreviewCanvas>(kCanvasName);
    convertButton_ = &control<QPushButton>(kConvertButtonName);
    outputPlacer_ = std::make_unique<WidgetPlacer>(*outputBox_);

    // Qt's own chain follows the form too, for accessibility tools that walk it.
    const auto order = focusOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(&control<QWidget>(order[i - 1]), &control<QWidget>(order[i]));
    }
}

template <class Control> Control& MainWindow::control(std::string_view formName) const {
    auto* found = findChild<Control*>(toQString(formName), Qt::FindDirectChildrenOnly);
    if (!found) {
        throw std::runtime_error("the window has no control named " + std::string(formName));
    }
    return *found;
}

void MainWindow::bindHandlers() {
    inputBox_->textChangedEvent.bind([this] { preview(); });
    unitBox_->gotFocusEvent.bind([this] { onUnitBoxFocusGained(*unitBox_); });
    unitBox_->lostFocusEvent.bind([this] { onUnitBoxFocusLost(*unitBox_); });
    connect(convertButton_, &QPushButton::clicked, this, [this] { convert(); });
    sizeChanged.bind([this] { layOutOutputBox(); });
}

void MainWindow::start() {
    bindHandlers();
    // Created and position-changed have no handler; size-changed lays out the output box.
    sizeChanged.raise();
    inputBox_->setFocus(Qt::OtherFocusReason);
    showNormal();
    activateWindow();
}

void MainWindow::preview() {
    canvas_->clear();
    const Text text = inputBox_->readText();
    canvas_->drawTextAt(1, 1, text ? *text : std::string());
}

void MainWindow::convert() {
    const MultiLineBox::AppendBatch oneLayout(*outputBox_);
    CanvasPixelSource pixels(*canvas_);
    BoxUnitSource unit(*unitBox_);
    BoxPictureSink picture(*outputBox_);
    kelmora::convert(pixels, unit, picture);
}

void MainWindow::layOutOutputBox() {
    layoutOutputBox(outerSize_, *outputPlacer_);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == FrameExtentsWatch::frameChangedEvent()) {
        // The frame is part of the outer size: a new frame is a size change of its own.
        fitOuterSizeOnce();
        sizeChanged.raise();
        return true;
    }
    return QWidget::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && handleWindowKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleWindowKey(*event)) {
        QWidget::keyPressEvent(event);
    }
}

bool MainWindow::handleWindowKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held =
        key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    switch (key.key()) {
    case Qt::Key_Tab:
        if (held == Qt::NoModifier || held == Qt::ShiftModifier) {
            moveFocus(held == Qt::NoModifier);
            return true;
        }
        return false;
    case Qt::Key_Backtab:
        if (held == Qt::ShiftModifier) {
            moveFocus(false);
            return true;
        }
        return false;
    case Qt::Key_Escape:
        if (held == Qt::NoModifier && mainWindowEntry().escapeCloses) {
            close();
            return true;
        }
        return false;
    case Qt::Key_F1:
        return true; // there is no help
    default:
        return false;
    }
}

void MainWindow::moveFocus(bool forward) {
    const auto order = focusOrder();
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t current = forward ? -1 : 0;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        if (&control<QWidget>(order[static_cast<std::size_t>(i)]) == focusWidget()) {
            current = i;
        }
    }
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t next = ((current + (forward ? step : -step)) % count + count) % count;
        QWidget& candidate = control<QWidget>(order[static_cast<std::size_t>(next)]);
        if (isTabStop(candidate)) {
            candidate.setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitOuterSizeOnce();
    sizeChanged.raise();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    fitOuterSizeOnce();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitOuterSizeOnce();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimising and restoring change no size on every desktop; the layout runs all the same.
    if (event->type() == QEvent::WindowStateChange) {
        sizeChanged.raise();
    }
}

// The form's 640 x 480 includes the frame, which a window manager reports only once the window
// is mapped: then the client area is shrunk by the frame, once. The fit is for the start size
// and place alone. A window manager that frames the window keeps its client size and puts the
// frame where the window was asked to be, or the client there; any other size or place means
// someone (the user, a script, a window manager started late) changed the window, and the fit
// is dropped for good.
void MainWindow::fitOuterSizeOnce() {
    if (!startFitArmed_ || !isVisible() || !windowHandle()) {
        return;
    }
    const FormEntry& window = mainWindowEntry();
    if (size() != QSize(window.width, window.height)) {
        startFitArmed_ = false;
        return;
    }
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull()) {
        return; // a place is judged once the frame is known: framing may move the client
    }
    startFitArmed_ = false;
    const QPoint client = geometry().topLeft();
    // On Wayland the compositor places windows and tells no client where: only the size counts.
    const bool placedByCompositor = QGuiApplication::platformName().startsWith(u"wayland");
    const bool atStartPlace = placedByCompositor || client == formPosition_ ||
                              client == formPosition_ + QPoint(frame.left(), frame.top());
    if (!atStartPlace || windowState() != Qt::WindowNoState) {
        return;
    }
    resize(window.width - frame.left() - frame.right(),
           window.height - frame.top() - frame.bottom());
    move(formPosition_);
}

} // namespace kelmora::ui
