#pragma once

#include <QFont>
#include <QPlainTextDocumentLayout>

class QTextBlock;

namespace kelmora::ui {

// Lays out the output box's lines so that a wide Hangul character takes the two columns the
// picture face gives every other full-width character; the face itself draws Hangul a little
// narrower. Only the layout changes; the text stays as it is.
class PictureLayout final : public QPlainTextDocumentLayout {
public:
    explicit PictureLayout(QTextDocument* document);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    void widenHangul(const QTextBlock& block);
    [[nodiscard]] qreal hangulSpacing();

    QFont spacingFont_;
    qreal hangulSpacing_ = 0;
};

// The document option that goes with it: left to right and left-aligned, so no line takes its
// direction from the first strong character it holds.
void layOutLeftToRight(QTextDocument& document);

} // namespace kelmora::ui
