// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/text.h"
#include "tests/ui/widget_helpers.h"
#include "ui/main_window.h"
#include "ui/multi_line_box.h"
#include "ui/qt_text.h"
#include "ui/single_line_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace kelmora;
using kelmora::testing::startedWindow;
using kelmora::testing::textColourOf;
using kelmora::testing::textOf;

// Every way into a box's text goes through the box's focus, so the unit box is always hint
// shown, editing or unit held. Mouse input goes through the window, as the windowing system
// delivers it: that is where Qt turns a right press into a context menu request.

namespace {

enum class Way { Press, Menu, Drop, Keys };
enum class Where { Band, TopStrip, BottomStrip };

const QString kClipboardText = QStringLiteral("XYZ");
const QString kDroppedText = QStringLiteral("DROP");
const QString kHint = ui::toQString(kHintText);

QWidget& boxNamed(const ui::MainWindow& window, const QString& box) {
    if (box == "input") {
        return window.inputBox();
    }
    if (box == "unit") {
        return window.unitBox();
    }
    return window.outputBox();
}

QString boxText(const ui::MainWindow& window, const QString& box) {
    if (box == "output") {
        return ui::toQString(textOf(window.outputBox().readText()));
    }
    return static_cast<ui::SingleLineBox&>(boxNamed(window, box)).text();
}

// A point in the band or in one of the strips that count as the border; the output box uses
// its whole inside for text, so any point of it is in its band.
QPoint pointIn(QWidget& box, Where where) {
    auto* line = dynamic_cast<ui::SingleLineBox*>(&box);
    if (!line) {
        return box.rect().center();
    }
    const QRect band = line->textBand();
    switch (where) {
    case Where::Band:
        return band.center();
    case Where::TopStrip:
        return {band.center().x(), band.top() / 2};
    case Where::BottomStrip:
        return {band.center().x(), (band.bottom() + box.height()) / 2};
    }
    return {};
}

// Presses and releases a button, through the window. Any context menu that the press opens is
// handed to onMenu before the release, and closed afterwards.
template <class OnMenu>
void click(QWidget& window, QWidget& box, QPoint at, Qt::MouseButton button, OnMenu onMenu) {
    QWindow* handle = window.windowHandle();
    const QPoint inWindow = box.mapTo(&window, at);
    QTest::mousePress(handle, button, Qt::NoModifier, inWindow);
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        onMenu(*menu);
    }
    QTest::mouseRelease(handle, button, Qt::NoModifier, inWindow);
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
}

// Enters, moves over and drops onto the widget under the point, as Qt's drag manager does.
// Returns whether the drop was taken.
bool dropText(QWidget& window, QWidget& box, QPoint at, const QString& text) {
    const QPoint inWindow = box.mapTo(&window, at);
    QWidget* target = window.childAt(inWindow);
    while (target && !target->acceptDrops()) {
        target = target->parentWidget();
    }
    if (!target) {
        return false;
    }
    const QPoint local = target->mapFrom(&window, inWindow);
    QMimeData mime;
    mime.setText(text);
    QDragEnterEvent enter(local, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDragMoveEvent move(local, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(enter.dropAction());
    QCoreApplication::sendEvent(target, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        return false;
    }
    QDropEvent drop(local, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(move.dropAction());
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// The item as the menu shows it, without its mnemonic and shortcut.
QAction* menuItem(const QMenu& menu, const QString& label) {
    for (QAction* item : menu.actions()) {
        if (item->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')) == label) {
            return item;
        }
    }
    return nullptr;
}

// The unit box is in one of the three states its hint rules know.
QString hintTableBreach(const ui::SingleLineBox& unit) {
    const Colour colour = textColourOf(unit);
    const bool inState = unit.hasFocus() ? colour == kBlack // editing
                         : colour == kHintColour
                             ? unit.text() == kHint                        // hint shown
                             : colour == kBlack && !unit.text().isEmpty(); // unit held
    if (inState) {
        return {};
    }
    return QStringLiteral("unit box in no state of its rules: text \"%1\", colour %2, focus %3")
        .arg(unit.text())
        .arg(colour, 6, 16, QLatin1Char('0'))
        .arg(unit.hasFocus());
}

} // namespace

Q_DECLARE_METATYPE(Way)
Q_DECLARE_METATYPE(Where)

class EditingFocusTest : public QObject {
    Q_OBJECT

private slots:
    void everyEditGoesThroughTheFocus_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before"); // typed in, then left, before the action
        QTest::addColumn<Way>("way");
        QTest::addColumn<int>("button");
        QTest::addColumn<Where>("where");
        QTest::addColumn<QStringList>("menuActions"); // one right press for each
        QTest::addColumn<bool>("focused");
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("colour");

        const QStringList noActions;
        const QStringList closeMenu{QString()};
        // The strips are border: no button does anything there, and nothing can be dropped.
        for (const QString box : {"input", "unit"}) {
            const QString start = box == "unit" ? kHint : QString();
            const uint startColour = box == "unit" ? kHintColour : kBlack;
            for (const auto& [stripName, strip] :
                 {std::pair{"top strip", Where::TopStrip}, {"bottom strip", Where::BottomStrip}}) {
                for (const auto& [buttonName, button] : {std::pair{"left", Qt::LeftButton},
                                                         {"middle", Qt::MiddleButton},
                                                         {"right", Qt::RightButton}}) {
                    QTest::addRow("%s: %s press in the %s", qPrintable(box), buttonName, stripName)
                        << box << QString() << Way::Press << int(button) << strip << noActions
                        << false << start << startColour;
                }
                QTest::addRow("%s: paste from a menu in the %s", qPrintable(box), stripName)
                    << box << QString() << Way::Menu << int(Qt::RightButton) << strip
                    << QStringList{"Paste"} << false << start << startColour;
                QTest::addRow("%s: drop in the %s", qPrintable(box), stripName)
                    << box << QString() << Way::Drop << 0 << strip << noActions << false << start
                    << startColour;
            }
        }

        // In the band every way in takes the focus first, so the hint is gone before any edit.
        QTest::newRow("unit: left press in the band")
            << "unit" << QString() << Way::Press << int(Qt::LeftButton) << Where::Band << noActions
            << true << "" << kBlack;
        QTest::newRow("unit: middle press in the band")
            << "unit" << QString() << Way::Press << int(Qt::MiddleButton) << Where::Band
            << noActions << true << "" << kBlack;
        QTest::newRow("unit: menu opened and closed")
            << "unit" << QString() << Way::Menu << int(Qt::RightButton) << Where::Band << closeMenu
            << true << "" << kBlack;
        QTest::newRow("unit: paste from the menu")
            << "unit" << QString() << Way::Menu << int(Qt::RightButton) << Where::Band
            << QStringList{"Paste"} << true << kClipboardText << kBlack;
        QTest::newRow("unit: select all and delete from the menu")
            << "unit"
            << "ab" << Way::Menu << int(Qt::RightButton) << Where::Band
            << QStringList{"Select All", "Delete"} << true << "" << kBlack;
        QTest::newRow("unit: drop in the band")
            << "unit" << QString() << Way::Drop << 0 << Where::Band << noActions << true
            << kDroppedText << kBlack;
        QTest::newRow("unit: keys go to the focused control")
            << "unit" << QString() << Way::Keys << 0 << Where::Band << noActions << false << kHint
            << kHintColour;

        QTest::newRow("input: left press in the band")
            << "input" << QString() << Way::Press << int(Qt::LeftButton) << Where::Band << noActions
            << true << "" << kBlack;
        QTest::newRow("input: paste from the menu")
            << "input" << QString() << Way::Menu << int(Qt::RightButton) << Where::Band
            << QStringList{"Paste"} << true << kClipboardText << kBlack;
        QTest::newRow("input: drop in the band")
            << "input" << QString() << Way::Drop << 0 << Where::Band << noActions << true
            << kDroppedText << kBlack;
        QTest::newRow("input: keys go to the focused control")
            << "input" << QString() << Way::Keys << 0 << Where::Band << noActions << false << ""
            << kBlack;

        QTest::newRow("output: middle press")
            << "output" << QString() << Way::Press << int(Qt::MiddleButton) << Where::Band
            << noActions << true << "" << kBlack;
        QTest::newRow("output: paste from the menu")
            << "output" << QString() << Way::Menu << int(Qt::RightButton) << Where::Band
            << QStringList{"Paste"} << true << kClipboardText << kBlack;
        QTest::newRow("output: drop") << "output" << QString() << Way::Drop << 0 << Where::Band
                                      << noActions << true << kDroppedText << kBlack;
        QTest::newRow("output: keys go to the focused control")
            << "output" << QString() << Way::Keys << 0 << Where::Band << noActions << false << ""
            << kBlack;
    }
    void everyEditGoesThroughTheFocus() {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(Way, way);
        QFETCH(int, button);
        QFETCH(Where, where);
        QFETCH(QStringList, menuActions);
        QFETCH(bool, focused);
        QFETCH(QString, text);
        QFETCH(uint, colour);
        auto window = startedWindow();
        QWidget& target = boxNamed(*window, box);
        window->outputBox().writeText("");
        if (!before.isEmpty()) {
            target.setFocus(Qt::TabFocusReason);
            kelmora::testing::typeText(target, before);
        }
        // The focus starts elsewhere, on a control that takes no text.
        window->convertButton().setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(window->convertButton().hasFocus());
        QApplication::clipboard()->setText(kClipboardText);
        const QPoint at = pointIn(target, where);

        int menusOpened = 0;
        switch (way) {
        case Way::Press:
            click(*window, target, at, Qt::MouseButton(button), [&](QMenu&) { ++menusOpened; });
            break;
        case Way::Menu:
            for (const QString& action : menuActions) {
                click(*window, target, at, Qt::RightButton, [&](QMenu& menu) {
                    ++menusOpened;
                    // The focus, and with it the hint rule, came before the menu.
                    QVERIFY(target.hasFocus());
                    QVERIFY(boxText(*window, box) != kHint);
                    if (action.isEmpty()) {
                        return;
                    }
                    QAction* item = menuItem(menu, action);
                    QVERIFY2(item, qPrintable(action));
                    QVERIFY2(item->isEnabled(), qPrintable(action));
                    item->trigger();
                });
            }
            if (QTest::currentTestFailed()) {
                return;
            }
            break;
        case Way::Drop:
            QCOMPARE(dropText(*window, target, at, kDroppedText), focused);
            break;
        case Way::Keys:
            QTest::keyClick(window->windowHandle(), Qt::Key_K);
            break;
        }

        QCOMPARE(boxText(*window, box), text);
        QCOMPARE(textColourOf(target), Colour(colour));
        QCOMPARE(target.hasFocus(), focused);
        QCOMPARE(menusOpened, focused ? int(menuActions.size()) : 0);
        QCOMPARE(window->convertButton().hasFocus(), !focused);
        if (box == "unit") {
            const QString breach = hintTableBreach(window->unitBox());
            QVERIFY2(breach.isEmpty(), qPrintable(breach));
            // Leaving brings the hint back into a box left empty, whatever emptied it.
            window->convertButton().setFocus(Qt::TabFocusReason);
            const QString breachAfterLeaving = hintTableBreach(window->unitBox());
            QVERIFY2(breachAfterLeaving.isEmpty(), qPrintable(breachAfterLeaving));
        }
    }

    // Text dragged in from another program arrives while that program's window is active, so
    // the box cannot take the focus for the drop. The drop lands all the same, and the box's
    // focus rules run around it as for a visit of the focus: the unit box ends holding exactly
    // the dropped text in black, never the hint with it, and the focus stays where it was.
    void dropWhileTheWindowIsInactive_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("input") << "input";
        QTest::newRow("unit") << "unit";
        QTest::newRow("output") << "output";
    }
    void dropWhileTheWindowIsInactive() {
        QFETCH(QString, box);
        auto window = startedWindow();
        QWidget& target = boxNamed(*window, box);
        const QString before = boxText(*window, box);
        QWidget other;
        other.resize(100, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!window->isActiveWindow());

        QVERIFY(dropText(*window, target, pointIn(target, Where::Band), kDroppedText));

        if (box == "output") {
            // Dropped where it was let go, into the sample picture, which is otherwise kept.
            QCOMPARE(boxText(*window, box).size(), before.size() + kDroppedText.size());
            QVERIFY(boxText(*window, box).contains(kDroppedText));
        } else {
            QCOMPARE(boxText(*window, box), kDroppedText);
        }
        QCOMPARE(textColourOf(target), Colour(0));
        QVERIFY(!target.hasFocus());
        QCOMPARE(window->focusWidget(), &static_cast<QWidget&>(window->inputBox()));
        if (box == "unit") {
            const QString breach = hintTableBreach(window->unitBox());
            QVERIFY2(breach.isEmpty(), qPrintable(breach));
        }
    }
};

QTEST_MAIN(EditingFocusTest)
#include "editing_focus_test.moc"
