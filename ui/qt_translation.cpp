// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>

namespace kelmora::ui {

QtTranslation::QtTranslation(const QLocale& locale) {
    // The form places its controls and draws its preview left to right in every language; a
    // right-to-left translation must not mirror the window, only its own menus read that way.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    // Tries the locale's UI languages from the most specific ("qtbase_zh_CN") to the least.
    if (translator_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installed_ = QCoreApplication::installTranslator(&translator_);
    }
}

QtTranslation::~QtTranslation() {
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
    }
}

} // namespace kelmora::ui
