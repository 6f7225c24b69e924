// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/form.h"
#include "ui/text_box.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelmora::ui {

// The output box. Its text uses CR LF between lines, as the text picture does; the widget keeps
// paragraphs, so the line ends are translated at this boundary.
class MultiLineBox final : public QPlainTextEdit, public TextBox {
public:
    MultiLineBox(const FormEntry& entry, QWidget* parent);
    ~MultiLineBox() override;

    Text readText() override;
    void writeText(std::string_view text) override;
    void writeTextColour(Colour colour) override;
    void append(std::string_view text) override;
    // Where the caret is drawn, not where the block's own layout has it.
    [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Wraps a whole conversion. While one lives, appends are kept apart and go into the document
    // in one insertion, so 765 appends cost about one write; the box lays out and scrolls once.
    // Nothing can tell the difference: every read, write, colour write and every event that
    // reaches the box or its viewport (paint, resize, focus, input method, accessibility
    // queries) first puts the kept text into the document. Code that reaches the document
    // directly during a batch would miss it; only the conversion's own sinks run then, and they
    // go through this class.
    class AppendBatch {
    public:
        explicit AppendBatch(MultiLineBox& box);
        ~AppendBatch();
        AppendBatch(const AppendBatch&) = delete;
        AppendBatch& operator=(const AppendBatch&) = delete;

    private:
        MultiLineBox& box_;
        QSignalBlocker signalBlocker_;
    };

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Lines are drawn, hit and measured as the picture rows they are; see PictureRow.
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void revealEnd();
    void insertPending();
    void flushPending(); // inserts and releases the buffer
    void passOnMouseEvent(QMouseEvent& event, const std::function<void(QMouseEvent*)>& handler);
    [[nodiscard]] int endPosition() const;

    Colour background_;
    std::optional<QTextCursor> batchCursor_;
    [[nodiscard]] const QString& convertedOnce(std::string_view appended);

    // The batch's appends not yet in the document.
    QString pending_;
    // A conversion appends the same few texts (blank cell, unit, line end) hundreds of times.
    struct ConvertedText {
        std::string appended;
        QString converted;
    };
    std::vector<ConvertedText> converted_;
};

// The box's own text form: CR LF is a paragraph break, a lone LF a line break within it.
[[nodiscard]] QString toBoxText(std::string_view text);
[[nodiscard]] Text fromBoxText(const QString& rawText);

} // namespace kelmora::ui
