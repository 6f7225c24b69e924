// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/form.h"
#include "ui/text_box.h"

#include <QLineEdit>

namespace kelmora::ui {

// The input box and the unit box: one line in a vertically centred text band. The strips above
// and below the band count as border: a press of any button there does nothing, and nothing can
// be dropped there.
class SingleLineBox final : public QLineEdit, public TextBox {
public:
    SingleLineBox(const FormEntry& entry, QWidget* parent);

    Text readText() override;
    void writeText(std::string_view text) override;
    void writeTextColour(Colour colour) override;
    void append(std::string_view text) override;

    // The rows of the box, in its own coordinates, in which a press reaches the text.
    [[nodiscard]] QRect textBand() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    [[nodiscard]] bool mayTakeDropAt(QPoint position) const;

    Colour background_;
    bool pressInBand_ = false;
};

} // namespace kelmora::ui
