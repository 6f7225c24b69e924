// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/unit_hint.h"
#include "ui/event.h"

#include <QFocusEvent>
#include <QWidget>
#include <string_view>

namespace kelmora::ui {

// What the tool needs of any of its text boxes, single- or multi-line.
class TextBox : public HintedTextBox {
public:
    // Adds the text at the end: caret to the end, selection dropped, end scrolled into view,
    // inserted as if typed, not recorded for undo.
    virtual void append(std::string_view text) = 0;

    // Raised after every user change and once after every writeText().
    Event textChangedEvent;
    Event gotFocusEvent;
    Event lostFocusEvent;

protected:
    // Called by the widget's focus handlers. A context menu opening and closing is no move of
    // the focus, so it raises nothing.
    void raiseFocusGained(const QFocusEvent& event) const {
        if (event.reason() != Qt::PopupFocusReason) {
            gotFocusEvent.raise();
        }
    }
    void raiseFocusLost(const QFocusEvent& event) const {
        if (event.reason() != Qt::PopupFocusReason) {
            lostFocusEvent.raise();
        }
    }

    // Every way into a box's text goes through its focus, so its focus rules have run before
    // anything changes: a context menu and a middle-button paste take it first. False where the
    // box cannot have it now, its window not being the active one: the edit is then refused.
    static bool takeFocusToEdit(QWidget& box) {
        if (!box.hasFocus() && box.focusPolicy() != Qt::NoFocus && box.isActiveWindow()) {
            box.setFocus(Qt::MouseFocusReason);
        }
        return box.hasFocus();
    }

    // A drop takes the focus first too. Text dragged in from another program arrives while that
    // program's window is active, and the focus cannot be had then: the box's focus rules run
    // around the drop as if the focus had come and gone, so the drop still lands in a box in one
    // of its states (the unit box holds the dropped text, not the hint with it).
    template <class Drop> void dropThroughFocus(QWidget& box, Drop&& drop) const {
        if (takeFocusToEdit(box)) {
            drop();
            return;
        }
        gotFocusEvent.raise();
        drop();
        lostFocusEvent.raise();
    }
};

} // namespace kelmora::ui
