#pragma once

#include "core/unit_hint.h"
#include "ui/event.h"

#include <QFocusEvent>
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
};

} // namespace kelmora::ui
