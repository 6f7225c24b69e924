// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <utility>

namespace kelmora::ui {

// An event with at most one handler, bound once by the form. Raising an unbound event is allowed
// and does nothing.
class Event {
public:
    void bind(std::function<void()> handler) { handler_ = std::move(handler); }
    void raise() const {
        if (handler_) {
            handler_();
        }
    }

private:
    std::function<void()> handler_;
};

} // namespace kelmora::ui
