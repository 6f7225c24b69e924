// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/frame_extents_watch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace kelmora::ui {

namespace {

std::uint32_t internFrameExtentsAtom() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return 0; // no X11 window manager to watch
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        return 0;
    }
    constexpr char kName[] = "_NET_FRAME_EXTENTS";
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 1, sizeof kName - 1, kName);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : 0;
}

} // namespace

FrameExtentsWatch::FrameExtentsWatch(QWidget& window)
    : window_(window), frameExtentsAtom_(internFrameExtentsAtom()) {
    if (frameExtentsAtom_ != 0) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

FrameExtentsWatch::~FrameExtentsWatch() {
    if (frameExtentsAtom_ != 0) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

QEvent::Type FrameExtentsWatch::frameChangedEvent() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool FrameExtentsWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                          qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) {
        return false;
    }
    const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    if (notify->atom == frameExtentsAtom_ && window_.internalWinId() != 0 &&
        notify->window == window_.internalWinId()) {
        // Qt reads the new extents when it handles this event; act after that.
        QCoreApplication::postEvent(&window_, new QEvent(frameChangedEvent()));
    }
    return false;
}

} // namespace kelmora::ui
