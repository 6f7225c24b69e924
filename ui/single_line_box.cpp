// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/single_line_box.h"

#include "ui/box_style.h"
#include "ui/qt_text.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <limits>

namespace kelmora::ui {

SingleLineBox::SingleLineBox(const FormEntry& entry, QWidget* parent)
    : QLineEdit(parent), background_(entry.backgroundColour) {
    setObjectName(toQString(entry.formName));
    setGeometry(entry.left, entry.top, entry.width, entry.height);
    setAlignment((entry.alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft) |
                 Qt::AlignVCenter);
    // Qt cuts a line edit at 32,767 characters; a box of the tool holds whatever is put in it.
    setMaxLength(std::numeric_limits<int>::max());
    setText(toQString(entry.text));
    setCursorPosition(0);
    applyBoxColours(*this, entry.textColour, background_);
    // Mouse focus is given by mousePressEvent, and only inside the text band.
    setFocusPolicy(entry.tabStop ? Qt::TabFocus : Qt::NoFocus);
    connect(this, &QLineEdit::textChanged, this, [this] { textChangedEvent.raise(); });
}

Text SingleLineBox::readText() {
    return toText(text());
}

void SingleLineBox::writeText(std::string_view newText) {
    {
        const QSignalBlocker blocker(this);
        setText(toQString(newText));
    }
    textChangedEvent.raise();
}

void SingleLineBox::writeTextColour(Colour colour) {
    applyBoxColours(*this, colour, background_);
    update();
}

void SingleLineBox::append(std::string_view appended) {
    const QSignalBlocker blocker(this);
    // setText leaves the caret at the end with nothing selected and keeps no undo step.
    setText(text() + toQString(appended));
}

QRect SingleLineBox::textBand() const {
    const int frame =
        hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const QRect inner = rect().adjusted(frame, frame, -frame, -frame);
    const int bandHeight = fontMetrics().height();
    const int bandTop = inner.top() + (inner.height() - bandHeight) / 2;
    return {inner.left(), bandTop, inner.width(), bandHeight};
}

void SingleLineBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    raiseFocusGained(*event);
}

void SingleLineBox::focusOutEvent(QFocusEvent* event) {
    raiseFocusLost(*event);
    QLineEdit::focusOutEvent(event);
}

void SingleLineBox::mousePressEvent(QMouseEvent* event) {
    pressInBand_ = textBand().contains(event->position().toPoint());
    if (!pressInBand_) {
        event->accept();
        return;
    }
    if (focusPolicy() != Qt::NoFocus && !hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
    QLineEdit::mousePressEvent(event);
}

void SingleLineBox::mouseMoveEvent(QMouseEvent* event) {
    if (pressInBand_ || event->buttons() == Qt::NoButton) {
        QLineEdit::mouseMoveEvent(event);
    }
}

void SingleLineBox::mouseReleaseEvent(QMouseEvent* event) {
    // A middle release pastes the selection: only into the box that took the focus at the press.
    if (pressInBand_ && (event->button() != Qt::MiddleButton || hasFocus())) {
        QLineEdit::mouseReleaseEvent(event);
    }
    pressInBand_ = false;
}

void SingleLineBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (textBand().contains(event->position().toPoint())) {
        pressInBand_ = true;
        QLineEdit::mouseDoubleClickEvent(event);
    } else {
        event->accept();
    }
}

void SingleLineBox::contextMenuEvent(QContextMenuEvent* event) {
    // Qt asks for the menu after every right press, in the strips too, whatever the press did.
    const bool fromStrip =
        event->reason() == QContextMenuEvent::Mouse && !textBand().contains(event->pos());
    if (fromStrip || !takeFocusToEdit(*this)) {
        event->accept();
        return;
    }
    QLineEdit::contextMenuEvent(event);
}

bool SingleLineBox::mayTakeDropAt(QPoint position) const {
    return textBand().contains(position);
}

void SingleLineBox::dragEnterEvent(QDragEnterEvent* event) {
    if (mayTakeDropAt(event->position().toPoint())) {
        QLineEdit::dragEnterEvent(event);
    } else {
        event->ignore();
    }
}

void SingleLineBox::dragMoveEvent(QDragMoveEvent* event) {
    if (mayTakeDropAt(event->position().toPoint())) {
        QLineEdit::dragMoveEvent(event);
        return;
    }
    // Into a strip: take the drop caret away, as when the drag leaves the box.
    QDragLeaveEvent leave;
    QLineEdit::dragLeaveEvent(&leave);
    event->ignore();
}

void SingleLineBox::dropEvent(QDropEvent* event) {
    if (mayTakeDropAt(event->position().toPoint())) {
        dropThroughFocus(*this, [this, event] { QLineEdit::dropEvent(event); });
    } else {
        event->ignore();
    }
}

} // namespace kelmora::ui
