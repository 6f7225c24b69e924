// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/multi_line_box.h"

#include "ui/box_style.h"
#include "ui/picture_font.h"
#include "ui/picture_layout.h"
#include "ui/qt_text.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <utility>

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

// Past this many characters a batch's kept appends go into the document. Far above a picture of
// short units, so those stay one insertion; small enough that a long unit's picture is not
// held a second time beside the document.
constexpr qsizetype kLargestPendingText = qsizetype{1} << 16;

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
    // Every line of the box is a row of the picture's grid, whatever the user types into it.
    auto* pictureDocument = new QTextDocument(this);
    pictureDocument->setDocumentLayout(new PictureLayout(pictureDocument));
    setDocument(pictureDocument);
    layOutLeftToRight(*pictureDocument);
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
    flushPending();
    return fromBoxText(document()->toRawText());
}

void MultiLineBox::writeText(std::string_view newText) {
    if (batchCursor_) {
        pending_ = QString(); // replaced with the rest of the text
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
    flushPending();
    applyBoxColours(*this, colour, background_);
    viewport()->update();
}

void MultiLineBox::append(std::string_view appended) {
    if (batchCursor_) {
        pending_ += convertedOnce(appended);
        // A long unit's picture goes in by pieces, so that it is never held twice in full.
        if (pending_.size() >= kLargestPendingText) {
            insertPending();
        }
        return;
    }
    const QSignalBlocker blocker(this);
    const UndoSuspension noUndo(*document());
    revealEnd();
    insertPlainText(toBoxText(appended));
}

const QString& MultiLineBox::convertedOnce(std::string_view appended) {
    constexpr std::size_t kKeptTexts = 4;
    const auto found =
        std::find_if(converted_.begin(), converted_.end(),
                     [appended](const ConvertedText& kept) { return kept.appended == appended; });
    if (found != converted_.end()) {
        return found->converted;
    }
    if (converted_.size() == kKeptTexts) {
        converted_.pop_back();
    }
    converted_.push_back({std::string(appended), toBoxText(appended)});
    return converted_.back().converted;
}

void MultiLineBox::insertPending() {
    if (pending_.isEmpty()) {
        return;
    }
    // Taken out first, so that whatever the insertion sends to the box finds nothing pending.
    QString text;
    text.swap(pending_);
    batchCursor_->setPosition(endPosition());
    batchCursor_->insertText(text);
    text.truncate(0);
    pending_.swap(text); // the buffer serves the next appends
}

void MultiLineBox::flushPending() {
    insertPending();
    pending_ = QString();
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
    box_.flushPending();
    box_.batchCursor_->endEditBlock();
    box_.batchCursor_.reset();
    box_.revealEnd();
    box_.document()->setUndoRedoEnabled(true);
    // A long unit would otherwise stay held twice more until the next conversion.
    box_.converted_ = {};
}

bool MultiLineBox::event(QEvent* event) {
    flushPending();
    return QPlainTextEdit::event(event);
}

bool MultiLineBox::viewportEvent(QEvent* event) {
    flushPending();
    return QPlainTextEdit::viewportEvent(event);
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
void MultiLineBox::contextMenuEvent(QContextMenuEvent* event) {
    if (takeFocusToEdit(*this)) {
        QPlainTextEdit::contextMenuEvent(event);
    } else {
        event->accept();
    }
}

void MultiLineBox::dropEvent(QDropEvent* event) {
    dropThroughFocus(*this, [this, event] { QPlainTextEdit::dropEvent(event); });
}

void MultiLineBox::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.setClipRect(exposed);
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());
    const bool showsCaret =
        !isReadOnly() || textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard);
    QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF bounds = blockBoundingRect(block).translated(offset);
        if (block.isVisible() && bounds.bottom() >= exposed.top() &&
            bounds.top() <= exposed.bottom()) {
            const int start = block.position();
            QList<QTextLayout::FormatRange> selections;
            for (const QAbstractTextDocumentLayout::Selection& selection : context.selections) {
                const int from = std::max(selection.cursor.selectionStart() - start, 0);
                const int to = std::min(selection.cursor.selectionEnd() - start, block.length());
                if (from < to) {
                    selections.append({from, to - from, selection.format});
                }
            }
            // During an input method's composition the caret is given inside its text.
            const QTextLayout& layout = *block.layout();
            int caret = -1;
            if (showsCaret && context.cursorPosition >= start &&
                context.cursorPosition < start + block.length()) {
                caret = context.cursorPosition - start;
            } else if (!isReadOnly() && context.cursorPosition < -1 &&
                       !layout.preeditAreaText().isEmpty()) {
                caret = layout.preeditAreaPosition() - (context.cursorPosition + 2);
            }
            PictureRow(block).draw(painter, offset, selections, caret, cursorWidth(), exposed);
        }
        offset.ry() += bounds.height();
        if (offset.y() > viewport()->height()) {
            break;
        }
    }
}

void MultiLineBox::passOnMouseEvent(QMouseEvent& event,
                                    const std::function<void(QMouseEvent*)>& handler) {
    // Qt hits the block's own layout; hand it the point where that layout has the position
    // drawn under the pointer.
    const QPointF point = event.position();
    const QTextBlock block = cursorForPosition(point.toPoint()).block();
    const QPointF topLeft = blockBoundingGeometry(block).translated(contentOffset()).topLeft();
    const PictureRow::Hit hit = PictureRow(block).hit(point - topLeft);
    if (hit.position < 0) {
        handler(&event);
        return;
    }
    const QPointF editing = hit.editingPoint + topLeft;
    QMouseEvent moved(event.type(), editing, event.scenePosition() + (editing - point),
                      event.globalPosition() + (editing - point), event.button(), event.buttons(),
                      event.modifiers(), event.pointingDevice());
    moved.setTimestamp(event.timestamp());
    handler(&moved);
    event.setAccepted(moved.isAccepted());
    // Where Qt could not be led to the position, a press or a drag puts the caret there.
    const bool press = event.type() == QEvent::MouseButtonPress && event.button() == Qt::LeftButton;
    const bool drag = event.type() == QEvent::MouseMove && event.buttons() == Qt::LeftButton;
    QTextCursor caret = textCursor();
    const int wanted = block.position() + hit.position;
    if ((press || drag) && caret.position() != wanted) {
        const bool extends = drag || event.modifiers().testFlag(Qt::ShiftModifier);
        caret.setPosition(wanted, extends ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        setTextCursor(caret);
    }
}

void MultiLineBox::mousePressEvent(QMouseEvent* event) {
    passOnMouseEvent(*event,
                     [this](QMouseEvent* passed) { QPlainTextEdit::mousePressEvent(passed); });
}

void MultiLineBox::mouseMoveEvent(QMouseEvent* event) {
    passOnMouseEvent(*event,
                     [this](QMouseEvent* passed) { QPlainTextEdit::mouseMoveEvent(passed); });
}

void MultiLineBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && !hasFocus()) {
        event->accept(); // no paste of the selection into a box without the focus
        return;
    }
    passOnMouseEvent(*event,
                     [this](QMouseEvent* passed) { QPlainTextEdit::mouseReleaseEvent(passed); });
}

void MultiLineBox::mouseDoubleClickEvent(QMouseEvent* event) {
    passOnMouseEvent(
        *event, [this](QMouseEvent* passed) { QPlainTextEdit::mouseDoubleClickEvent(passed); });
}

QVariant MultiLineBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    QVariant answer = QPlainTextEdit::inputMethodQuery(query);
    if (query != Qt::ImCursorRectangle && query != Qt::ImAnchorRectangle) {
        return answer;
    }
    const QTextCursor caret = textCursor();
    const int position = query == Qt::ImCursorRectangle ? caret.position() : caret.anchor();
    const QTextBlock block = document()->findBlock(position);
    // Qt measures in the block's own layout. While an input method composes, it measures inside
    // the composition; that is left to Qt.
    if (!block.isValid() || !block.layout()->preeditAreaText().isEmpty()) {
        return answer;
    }
    const int inBlock = position - block.position();
    const QTextLine line = block.layout()->lineForTextPosition(inBlock);
    if (line.isValid()) {
        const qreal shift = PictureRow(block).caretX(inBlock) - line.cursorToX(inBlock);
        answer = answer.toRectF().translated(shift, 0);
    }
    return answer;
}

} // namespace kelmora::ui
