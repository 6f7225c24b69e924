// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/application_icon.h"

#include <QDirIterator>
#include <QFileInfo>

namespace kelmora::ui {

QIcon applicationIcon() {
    // The build renders one PNG a size into the resources, named by its size. Giving the size
    // keeps Qt from decoding each file just to learn it; the window manager's title bar, task
    // switcher and task bar draw at most 64 pixels, and the platform decodes every size it is
    // given for the window, so the larger renderings stay for the installed desktop icons.
    constexpr int kLargestWindowIcon = 64;
    QIcon icon;
    QDirIterator files(QStringLiteral(":/kelmora/icons"), {QStringLiteral("*.png")});
    while (files.hasNext()) {
        const QString file = files.next();
        bool named = false;
        const int size = QFileInfo(file).baseName().toInt(&named);
        if (named && size <= kLargestWindowIcon) {
            icon.addFile(file, QSize(size, size));
        }
    }
    return icon;
}

} // namespace kelmora::ui
