// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>
#include <string>
#include <vector>

namespace kelmora::app {

// While the application object is being made, Qt's messages are held back; if Qt gives up (no
// display, no usable platform) the user gets one clear line and exit status 255 instead of an
// abort and a core file. Once released, held messages go to the previous handler.
class StartupMessages {
public:
    StartupMessages();
    ~StartupMessages();
    StartupMessages(const StartupMessages&) = delete;
    StartupMessages& operator=(const StartupMessages&) = delete;

    void release();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QtMessageHandler previous_;
    bool released_ = false;
};

} // namespace kelmora::app
