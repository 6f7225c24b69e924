// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/ui/widget_helpers.h"
#include "ui/multi_line_box.h"
#include "ui/qt_text.h"
#include "ui/single_line_box.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodQueryEvent>
#include <QTest>
#include <QTextDocument>
#include <QVBoxLayout>
#include <memory>
#include <vector>

using namespace kelmora;
using kelmora::testing::textOf;

namespace {

const ui::FormEntry kLineEntry{.kind = ui::ControlKind::EditBox,
                               .formName = "line",
                               .left = 0,
                               .top = 0,
                               .width = 240,
                               .height = 50,
                               .tabStop = true,
                               .backgroundColour = kWhite,
                               .alignment = ui::Alignment::Centre};
const ui::FormEntry kOtherLineEntry{.kind = ui::ControlKind::EditBox,
                                    .formName = "other",
                                    .left = 0,
                                    .top = 60,
                                    .width = 240,
                                    .height = 50,
                                    .tabStop = true,
                                    .backgroundColour = kWhite};
const ui::FormEntry kPictureEntry{.kind = ui::ControlKind::EditBox,
                                  .formName = "picture",
                                  .left = 0,
                                  .top = 120,
                                  .width = 400,
                                  .height = 200,
                                  .tabStop = true,
                                  .backgroundColour = kWhite,
                                  .text = "old\r\ntext",
                                  .lineMode = ui::LineMode::MultiLine};

// Three real boxes in a shown, active window, each logging its events.
class BoxesFixture {
public:
    BoxesFixture()
        : line(new ui::SingleLineBox(kLineEntry, &window)),
          other(new ui::SingleLineBox(kOtherLineEntry, &window)),
          picture(new ui::MultiLineBox(kPictureEntry, &window)) {
        window.resize(420, 340);
        watch(*line, "line");
        watch(*other, "other");
        watch(*picture, "picture");
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    void watch(ui::TextBox& box, const QString& name) {
        box.textChangedEvent.bind([this, &box, name] {
            log << name + " changed:" + ui::toQString(textOf(box.readText()));
        });
        box.gotFocusEvent.bind([this, name] { log << name + " got"; });
        box.lostFocusEvent.bind([this, name] { log << name + " lost"; });
    }

    QStringList log; // outlives the window, whose teardown still raises lost-focus
    QWidget window;
    ui::SingleLineBox* line;
    ui::SingleLineBox* other;
    ui::MultiLineBox* picture;
};

} // namespace

class TextBoxTest : public QObject {
    Q_OBJECT

private slots:
    void readingAnEmptyBoxGivesAMissingText() {
        BoxesFixture f;
        QVERIFY(!f.line->readText().has_value());
        f.line->writeText("   ");
        QCOMPARE(textOf(f.line->readText()), std::string("   "));
        f.picture->writeText("");
        QVERIFY(!f.picture->readText().has_value());
    }

    void writeRaisesTextChangedOnceWithTheNewTextInPlace_data() {
        QTest::addColumn<bool>("multiLine");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("written");
        QTest::newRow("single new text") << false << "a"
                                         << "输入基本单元";
        QTest::newRow("single same text") << false << "same"
                                          << "same";
        QTest::newRow("single empty") << false << "abc"
                                      << "";
        QTest::newRow("multi new text") << true << "a"
                                        << "x\r\ny";
        QTest::newRow("multi same text") << true << "same"
                                         << "same";
        QTest::newRow("multi empty") << true << "abc"
                                     << "";
    }
    void writeRaisesTextChangedOnceWithTheNewTextInPlace() {
        QFETCH(bool, multiLine);
        QFETCH(QString, before);
        QFETCH(QString, written);
        BoxesFixture f;
        ui::TextBox& box = multiLine ? static_cast<ui::TextBox&>(*f.picture) : *f.line;
        const QString name = multiLine ? "picture" : "line";
        box.writeText(before.toStdString());
        f.log.clear();

        box.writeText(written.toStdString());

        QCOMPARE(f.log, QStringList{name + " changed:" + written});
    }

    void userChangesRaiseTextChangedOncePerChange_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("typing a letter") << "type";
        QTest::newRow("pasting a longer text") << "paste";
        QTest::newRow("cutting the selection") << "cut";
        QTest::newRow("deleting a character") << "backspace";
        QTest::newRow("undoing") << "undo";
    }
    void userChangesRaiseTextChangedOncePerChange() {
        QFETCH(QString, action);
        BoxesFixture f;
        f.line->setFocus();
        QTest::keyClicks(f.line, "ab");
        QApplication::clipboard()->setText("中国 text");
        f.log.clear();

        QString expected;
        if (action == "type") {
            QTest::keyClick(f.line, Qt::Key_C);
            expected = "abc";
        } else if (action == "paste") {
            QTest::keyClick(f.line, Qt::Key_V, Qt::ControlModifier);
            expected = "ab中国 text";
        } else if (action == "cut") {
            QTest::keyClick(f.line, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(f.line, Qt::Key_X, Qt::ControlModifier);
            expected = "";
        } else if (action == "backspace") {
            QTest::keyClick(f.line, Qt::Key_Backspace);
            expected = "a";
        } else {
            QTest::keyClick(f.line, Qt::Key_Z, Qt::ControlModifier);
            expected = f.line->text();
            QVERIFY(expected != "ab");
        }

        QCOMPARE(f.log, QStringList{"line changed:" + expected});
    }

    void writingTheColourChangesNothingElse() {
        BoxesFixture f;
        f.picture->writeText("keep this");
        QTextCursor selection = f.picture->textCursor();
        selection.setPosition(1);
        selection.setPosition(4, QTextCursor::KeepAnchor);
        f.picture->setTextCursor(selection);
        f.log.clear();

        f.picture->writeTextColour(kHintColour);
        f.line->writeTextColour(0x000000FF);

        QCOMPARE(f.picture->palette().color(QPalette::Active, QPalette::Text),
                 QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(f.line->palette().color(QPalette::Active, QPalette::Text), QColor(0xFF, 0, 0));
        QCOMPARE(textOf(f.picture->readText()), std::string("keep this"));
        QCOMPARE(f.picture->textCursor().selectionStart(), 1);
        QCOMPARE(f.picture->textCursor().selectionEnd(), 4);
        QVERIFY(f.log.isEmpty());
    }

    void appendGoesToTheEndWhateverIsSelected_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("appended");
        QTest::addColumn<QString>("after");
        QTest::newRow("after a selection") << "select me"
                                           << "* "
                                           << "select me* ";
        QTest::newRow("after a chinese character") << "中"
                                                   << "国"
                                                   << "中国";
        QTest::newRow("line break") << "row"
                                    << "\r\n"
                                    << "row\r\n";
        QTest::newRow("lone line feed") << "a"
                                        << "\nb"
                                        << "a\nb";
        QTest::newRow("empty text") << "same"
                                    << ""
                                    << "same";
        QTest::newRow("into an empty box") << ""
                                           << "* "
                                           << "* ";
    }
    void appendGoesToTheEndWhateverIsSelected() {
        QFETCH(QString, before);
        QFETCH(QString, appended);
        QFETCH(QString, after);
        BoxesFixture f;
        f.picture->setFocus();
        f.picture->writeText(before.toStdString());
        QTextCursor selection = f.picture->textCursor();
        selection.setPosition(0);
        selection.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        f.picture->setTextCursor(selection);

        f.picture->append(appended.toStdString());

        QCOMPARE(textOf(f.picture->readText()), after.toStdString());
        const QTextCursor caret = f.picture->textCursor();
        QVERIFY(!caret.hasSelection());
        QVERIFY(caret.atEnd());
    }

    void appendIsNotUndone_data() {
        QTest::addColumn<bool>("batched");
        QTest::addColumn<QString>("after");
        QTest::newRow("one append") << false << "old\r\ntext!tail";
        // A conversion's write and appends leave nothing for the user's undo to take back.
        QTest::newRow("a conversion's batch") << true << "tail";
    }
    void appendIsNotUndone() {
        QFETCH(bool, batched);
        QFETCH(QString, after);
        BoxesFixture f;
        f.picture->setFocus();
        QTest::keyClick(f.picture, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(f.picture, "!");
        if (batched) {
            const ui::MultiLineBox::AppendBatch batch(*f.picture);
            f.picture->writeText("");
            f.picture->append("ta");
            f.picture->append("il");
        } else {
            f.picture->append("tail");
        }

        QTest::keyClick(f.picture, Qt::Key_Z, Qt::ControlModifier);

        QCOMPARE(textOf(f.picture->readText()), after.toStdString());
    }

    void batchedAppendsAreInTheTextAtOnce() {
        BoxesFixture f;
        f.log.clear();
        {
            const ui::MultiLineBox::AppendBatch batch(*f.picture);
            f.picture->writeText("");
            f.picture->append("* ");
            QCOMPARE(textOf(f.picture->readText()), std::string("* "));
            f.picture->append("\r\n");
            f.picture->append("中");
            QCOMPARE(textOf(f.picture->readText()), std::string("* \r\n中"));
        }
        QCOMPARE(f.log, QStringList{"picture changed:"});
        QVERIFY(f.picture->textCursor().atEnd());
        QCOMPARE(f.picture->document()->blockCount(), 2);
    }

    // Steps: "w:" writes, "a:" appends, "r:" reads and expects; all inside one batch.
    void aReadInTheMiddleOfABatchSeesExactlyTheAppendsSoFar_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("writes");
        QTest::newRow("appends, read, more appends")
            << QStringList{"w:", "a:* ", "a:  ", "r:*   ", "a:\r\n", "a:中", "r:*   \r\n中"}
            << "*   \r\n中" << 1;
        QTest::newRow("read before any append")
            << QStringList{"w:", "r:", "a:x", "r:x"} << "x" << 1;
        QTest::newRow("a write replaces what was appended")
            << QStringList{"w:", "a:* ", "a:x", "w:new", "r:new", "a:中", "r:new中"} << "new中"
            << 2;
        QTest::newRow("a write replaces appends nobody read")
            << QStringList{"w:", "a:a", "a:b", "w:", "a:c"} << "c" << 2;
        QTest::newRow("appends after the old text")
            << QStringList{"a:!", "r:old\r\ntext!"} << "old\r\ntext!" << 0;
    }
    void aReadInTheMiddleOfABatchSeesExactlyTheAppendsSoFar() {
        QFETCH(QStringList, steps);
        QFETCH(QString, after);
        QFETCH(int, writes);
        BoxesFixture f;
        f.log.clear();
        {
            const ui::MultiLineBox::AppendBatch batch(*f.picture);
            for (const QString& step : steps) {
                const std::string text = step.mid(2).toStdString();
                if (step.startsWith("w:")) {
                    f.picture->writeText(text);
                } else if (step.startsWith("a:")) {
                    f.picture->append(text);
                } else {
                    QCOMPARE(textOf(f.picture->readText()), text);
                }
            }
        }
        QCOMPARE(textOf(f.picture->readText()), after.toStdString());
        QCOMPARE(f.log.size(), writes); // text-changed for each write, none for the appends
        const QTextCursor caret = f.picture->textCursor();
        QVERIFY(caret.atEnd());
        QVERIFY(!caret.hasSelection());
    }

    // Whatever reaches the box during a batch finds the appends in the document itself.
    void everythingThatReachesTheBoxInABatchFindsTheAppends_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("paint") << "paint";
        QTest::newRow("resize") << "resize";
        QTest::newRow("colour write") << "colour";
        QTest::newRow("input method query") << "inputMethod";
        QTest::newRow("focus") << "focus";
    }
    void everythingThatReachesTheBoxInABatchFindsTheAppends() {
        QFETCH(QString, way);
        BoxesFixture f;
        f.line->setFocus();
        const ui::MultiLineBox::AppendBatch batch(*f.picture);
        f.picture->writeText("");
        f.picture->append("* ");
        f.picture->append("\r\n");

        if (way == "paint") {
            f.picture->viewport()->repaint();
        } else if (way == "resize") {
            f.picture->resize(f.picture->width() - 10, f.picture->height());
        } else if (way == "colour") {
            f.picture->writeTextColour(kHintColour);
        } else if (way == "inputMethod") {
            QInputMethodQueryEvent query(Qt::ImSurroundingText);
            QCoreApplication::sendEvent(f.picture, &query);
        } else {
            f.picture->setFocus(Qt::OtherFocusReason);
        }

        QCOMPARE(f.picture->document()->toRawText(), QString("* ") + QChar::ParagraphSeparator);
    }

    void enterInTheOutputBoxIsALineBreak() {
        BoxesFixture f;
        f.picture->setFocus();
        f.picture->writeText("ab");
        QTest::keyClick(f.picture, Qt::Key_End, Qt::ControlModifier);
        f.log.clear();

        QTest::keyClick(f.picture, Qt::Key_Return);

        QCOMPARE(textOf(f.picture->readText()), std::string("ab\r\n"));
        QCOMPARE(f.log, QStringList{"picture changed:ab\r\n"});
    }

    void lostFocusIsHandledBeforeGotFocus_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("click in the text band") << "click";
        QTest::newRow("programmatic move") << "setFocus";
    }
    void lostFocusIsHandledBeforeGotFocus() {
        QFETCH(QString, how);
        BoxesFixture f;
        f.line->setFocus();
        QTRY_VERIFY(f.line->hasFocus());
        f.log.clear();

        if (how == "click") {
            kelmora::testing::clickInTextBand(*f.other);
        } else {
            f.other->setFocus(Qt::TabFocusReason);
        }

        QCOMPARE(f.log, (QStringList{"line lost", "other got"}));
    }

    void pressesOutsideTheTextBandDoNotTakeTheFocus_data() {
        QTest::addColumn<int>("y");
        QTest::addColumn<bool>("takesFocus");
        QTest::newRow("top strip") << 3 << false;
        QTest::newRow("bottom strip") << 46 << false;
        QTest::newRow("band centre") << 25 << true;
    }
    void pressesOutsideTheTextBandDoNotTakeTheFocus() {
        QFETCH(int, y);
        QFETCH(bool, takesFocus);
        BoxesFixture f;
        f.other->setFocus();
        QTRY_VERIFY(f.other->hasFocus());
        f.log.clear();

        QTest::mouseClick(f.line, Qt::LeftButton, Qt::NoModifier, QPoint(120, y));

        QCOMPARE(f.line->hasFocus(), takesFocus);
        QCOMPARE(f.log.isEmpty(), !takesFocus);
    }
};

QTEST_MAIN(TextBoxTest)
#include "text_box_test.moc"
