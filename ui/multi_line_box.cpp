#include "ui/multi_line_box.h"

#include "ui/box_style.h"
#include "ui/font_fit.h"
#include "ui/qt_text.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace kelmora::ui {

namespace {

// Keeps an insertion out of the undo history; Qt drops the history when undo is switched off.
class UndoSuspension {
public:
    explicit UndoSuspension(QTextDocument& document) : document_(document) {
        document_.setUndoRedoEnabled(false);
    }
    ~UndoSuspension() { document_.setUndoRedoEnabled(true); }
    UndoSuspension(const UndoSuspension&) = delete;
    UndoSuspension& operator=(const UndoSuspension&) = delete;

private:
    QTextDocument& document_;
};

// A text picture line is 50 cells of two columns. At the start size the box is a little over
// 600 pixels wide inside; a line should fit there rather than wrap.
constexpr int kPictureColumns = 100;
constexpr int kPictureWidthBudget = 600;
constexpr int kSmallestPictureFontPixels = 8;

QFont pictureFont() {
    // Fixed pitch so the cells line up; a CJK face of matching half widths for Chinese units.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Name the face the alias resolves to: a family list would not resolve "monospace" itself.
    font.setFamilies({QFontInfo(font).family(), QStringLiteral("WenQuanYi Micro Hei Mono")});
    const QString line(kPictureColumns, QLatin1Char(' '));
    const int pixelSize = QFontInfo(font).pixelSize();
    const int width = std::max(QFontMetrics(font).horizontalAdvance(line), 1);
    if (width <= kPictureWidthBudget) {
        return font; // the desktop's own size fits; keep it
    }
    // Advances grow in proportion to the pixel size: one measurement gives a close guess.
    fitPixelSize(font, pixelSize * kPictureWidthBudget / width, kSmallestPictureFontPixels,
                 [&line](const QFont& candidate) {
                     return QFontMetrics(candidate).horizontalAdvance(line) <= kPictureWidthBudget;
                 });
    return font;
}

} // namespace

QString toBoxText(std::string_view text) {
    QString converted = toQString(text);
    if (text.find('\n') != std::string_view::npos) {
        converted.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
        converted.replace(QLatin1Char('\n'), QChar::LineSeparator);
    }
    return converted;
}

Text fromBoxText(const QString& rawText) {
    QString converted = rawText;
    converted.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    converted.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return toText(converted);
}

MultiLineBox::MultiLineBox(const FormEntry& entry, QWidget* parent)
    : QPlainTextEdit(parent), background_(entry.backgroundColour) {
    setObjectName(toQString(entry.formName));
    setGeometry(entry.left, entry.top, entry.width, entry.height);
    setFont(pictureFont());
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setFocusPolicy(entry.tabStop ? Qt::StrongFocus : Qt::NoFocus);
    applyBoxColours(*this, entry.textColour, background_);
    setPlainText(toBoxText(entry.text));
    moveCursor(QTextCursor::Start);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { textChangedEvent.raise(); });
}

MultiLineBox::~MultiLineBox() = default;

Text MultiLineBox::readText() {
    return fromBoxText(document()->toRawText());
}

void MultiLineBox::writeText(std::string_view newText) {
    if (batchCursor_) {
        // Positions, not moves: a cursor move lays out the block it passes, defeating the batch.
        batchCursor_->setPosition(0);
        batchCursor_->setPosition(endPosition(), QTextCursor::KeepAnchor);
        batchCursor_->insertText(toBoxText(newText));
    } else {
        const QSignalBlocker blocker(this);
        setPlainText(toBoxText(newText));
    }
    textChangedEvent.raise();
}

void MultiLineBox::writeTextColour(Colour colour) {
    applyBoxColours(*this, colour, background_);
    viewport()->update();
}

void MultiLineBox::append(std::string_view appended) {
    if (batchCursor_) {
        // A conversion appends the same few cells hundreds of times; convert each once.
        if (appended != lastAppended_) {
            lastAppended_.assign(appended);
            lastConverted_ = toBoxText(appended);
        }
        batchCursor_->setPosition(endPosition());
        batchCursor_->insertText(lastConverted_);
        return;
    }
    const QSignalBlocker blocker(this);
    const UndoSuspension noUndo(*document());
    revealEnd();
    insertPlainText(toBoxText(appended));
}

int MultiLineBox::endPosition() const {
    return document()->characterCount() - 1;
}

void MultiLineBox::revealEnd() {
    QTextCursor caret = textCursor();
    caret.movePosition(QTextCursor::End);
    setTextCursor(caret);
    ensureCursorVisible();
}

MultiLineBox::AppendBatch::AppendBatch(MultiLineBox& box) : box_(box), signalBlocker_(&box) {
    box_.document()->setUndoRedoEnabled(false);
    box_.batchCursor_.emplace(box_.document());
    box_.batchCursor_->beginEditBlock();
}

MultiLineBox::AppendBatch::~AppendBatch() {
    box_.batchCursor_->endEditBlock();
    box_.batchCursor_.reset();
    box_.revealEnd();
    box_.document()->setUndoRedoEnabled(true);
}

void MultiLineBox::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    raiseFocusGained(*event);
}

void MultiLineBox::focusOutEvent(QFocusEvent* event) {
    raiseFocusLost(*event);
    QPlainTextEdit::focusOutEvent(event);
}

// A press takes the focus by the box's focus policy; the edits below go through it as well.
void MultiLineBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && !hasFocus()) {
        event->accept(); // no paste of the selection into a box without the focus
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

void MultiLineBox::contextMenuEvent(QContextMenuEvent* event) {
    if (takeFocusToEdit(*this)) {
        QPlainTextEdit::contextMenuEvent(event);
    } else {
        event->accept();
    }
}

void MultiLineBox::dragEnterEvent(QDragEnterEvent* event) {
    if (mayTakeDrop(*this)) {
        QPlainTextEdit::dragEnterEvent(event);
    } else {
        event->ignore();
    }
}

void MultiLineBox::dragMoveEvent(QDragMoveEvent* event) {
    if (mayTakeDrop(*this)) {
        QPlainTextEdit::dragMoveEvent(event);
    } else {
        event->ignore();
    }
}

void MultiLineBox::dropEvent(QDropEvent* event) {
    if (takeFocusToEdit(*this)) {
        QPlainTextEdit::dropEvent(event);
    } else {
        event->ignore();
    }
}

} // namespace kelmora::ui
