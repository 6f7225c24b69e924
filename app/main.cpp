// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup_messages.h"
#include "ui/main_window.h"
#include "ui/qt_translation.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

int main(int argc, char* argv[]) {
    kelmora::app::StartupMessages startupMessages;
    QApplication application(argc, argv);
    startupMessages.release();
    const kelmora::ui::QtTranslation qtTranslation;
    // On X11 the application name becomes the window's class, on Wayland the desktop file name
    // becomes its app id: both are the desktop entry's id, so docks match window and entry.
    QApplication::setApplicationName(QStringLiteral(KELMORA_APP_ID));
    QApplication::setDesktopFileName(QStringLiteral(KELMORA_APP_ID));

    try {
        kelmora::ui::MainWindow window;
        window.start();
        return QApplication::exec();
    } catch (const std::exception&) {
        QMessageBox::critical(nullptr, QStringLiteral("Kelmora"),
                              QStringLiteral("Kelmora could not load its start window."));
        return -1;
    }
}
