// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractNativeEventFilter>
#include <QEvent>
#include <QWidget>
#include <cstdint>

namespace kelmora::ui {

// On X11 a window manager reports the frame it draws through a window property, sometimes only
// after the size change it belongs to (a maximised window losing its borders). The outer size
// changes then without a resize: this posts a size-changed notice to the window when it does.
class FrameExtentsWatch final : public QAbstractNativeEventFilter {
public:
    explicit FrameExtentsWatch(QWidget& window);
    ~FrameExtentsWatch() override;
    FrameExtentsWatch(const FrameExtentsWatch&) = delete;
    FrameExtentsWatch& operator=(const FrameExtentsWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The event type posted to the window; handled after Qt has taken the new extents in.
    static QEvent::Type frameChangedEvent();

private:
    QWidget& window_;
    std::uint32_t frameExtentsAtom_ = 0;
};

} // namespace kelmora::ui
