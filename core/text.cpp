// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/text.h"

namespace kelmora {

namespace {
std::string_view bytesOf(const Text& text) {
    return text ? std::string_view(*text) : std::string_view();
}
} // namespace

bool textEqual(const Text& a, const Text& b) {
    return bytesOf(a) == bytesOf(b);
}

bool textEqual(const Text& a, std::string_view b) {
    return bytesOf(a) == b;
}

} // namespace kelmora
