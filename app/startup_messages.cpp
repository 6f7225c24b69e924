// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup_messages.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace kelmora::app {

namespace {

struct HeldMessage {
    QtMsgType type;
    QString category;
    QString text;
};

// The message handler is a plain function, so what it holds lives here for the few
// milliseconds between installing and releasing it.
std::vector<HeldMessage>& heldMessages() {
    static std::vector<HeldMessage> messages;
    return messages;
}

} // namespace

StartupMessages::StartupMessages() : previous_(qInstallMessageHandler(&StartupMessages::handle)) {}

StartupMessages::~StartupMessages() {
    release();
}

void StartupMessages::release() {
    if (released_) {
        return;
    }
    released_ = true;
    qInstallMessageHandler(previous_);
    for (const HeldMessage& held : heldMessages()) {
        const QByteArray category = held.category.toUtf8();
        const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
        qt_message_output(held.type, context, held.text);
    }
    heldMessages().clear();
}

void StartupMessages::handle(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("kelmora: cannot open the main window: no usable display was found "
                   "(is DISPLAY or WAYLAND_DISPLAY set?)\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(255);
    }
    heldMessages().push_back({type, QString::fromUtf8(context.category), message});
}

} // namespace kelmora::app
