#include "ui/multi_line_box.h"

#include "ui/box_style.h"
#include "ui/picture_font.h"
#include "ui/picture_layout.h"
#include "ui/qt_text.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMouseEvent>
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

void MultiLineBox::dropEvent(QDropEvent* event) {
    dropThroughFocus(*this, [this, event] { QPlainTextEdit::dropEvent(event); });
}

} // namespace kelmora::ui
