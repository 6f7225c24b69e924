// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/qt_text.h"

namespace kelmora::ui {

Text toText(const QString& text) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool hasOwnColour(Colour colour) {
    return (colour & 0xFF000000U) == 0;
}

QColor toQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFFU), static_cast<int>((colour >> 8) & 0xFFU),
                  static_cast<int>((colour >> 16) & 0xFFU));
}

Colour fromQRgb(unsigned int rgb) {
    const Colour red = (rgb >> 16) & 0xFFU;
    const Colour green = (rgb >> 8) & 0xFFU;
    const Colour blue = rgb & 0xFFU;
    return red | (green << 8) | (blue << 16);
}

} // namespace kelmora::ui
