#pragma once

#include "ui/form.h"
#include "ui/text_box.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <functional>
#include <memory>
#include <optional>
#include <string>

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

    // While one lives, writes and appends go into the box's text at once but the box lays out
    // and scrolls once, when it ends. Used around a whole conversion, so 765 appends do not cost
    // 765 relayouts of a growing line.
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
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Lines are drawn, hit and measured as the picture rows they are; see PictureRow.
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void revealEnd();
    void passOnMouseEvent(QMouseEvent& event, const std::function<void(QMouseEvent*)>& handler);
    [[nodiscard]] int endPosition() const;

    Colour background_;
    std::optional<QTextCursor> batchCursor_;
    std::string lastAppended_;
    QString lastConverted_;
};

// The box's own text form: CR LF is a paragraph break, a lone LF a line break within it.
[[nodiscard]] QString toBoxText(std::string_view text);
[[nodiscard]] Text fromBoxText(const QString& rawText);

} // namespace kelmora::ui
