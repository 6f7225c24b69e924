// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QTranslator>

namespace kelmora::ui {

// Qt's own strings (the text boxes' edit menus, the standard dialogs) in the user's language,
// from the translations Qt installs beside itself. Installed for as long as this object lives.
// The form's texts are not translated: they are set as they stand, never through tr().
class QtTranslation final {
public:
    // The user's language is what QLocale::system() reads from LC_ALL, LC_MESSAGES, LANG and
    // LANGUAGE. Needs a QCoreApplication.
    explicit QtTranslation(const QLocale& locale = QLocale::system());
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // False where Qt is not translated into the language (English among them) or its
    // translations are not installed: Qt's strings are then its English ones.
    [[nodiscard]] bool installed() const { return installed_; }

private:
    QTranslator translator_;
    bool installed_ = false;
};

} // namespace kelmora::ui
