// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The least a Qt program can do to show what the tool's window shows first: one 640 x 480
// window with one label in the same script, so both pay for the same fonts.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(640, 480);
    QLabel label(QStringLiteral("开始转换"), &window);
    label.move(272, 16);
    window.show();
    return QApplication::exec();
}
