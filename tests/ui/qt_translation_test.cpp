// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/form.h"
#include "ui/main_window.h"
#include "ui/multi_line_box.h"
#include "ui/qt_text.h"
#include "ui/qt_translation.h"
#include "ui/single_line_box.h"

#include <QAction>
#include <QGuiApplication>
#include <QHash>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace kelmora;

namespace {

// The entries of a text box's edit menu in Qt's order, without their shortcuts.
const QHash<QString, QStringList>& editMenus() {
    static const QHash<QString, QStringList> menus{
        {QStringLiteral("zh_CN"),
         {"撤消(&U)", "重做(&R)", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除", "全选"}},
        {QStringLiteral("en_US"),
         {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"}},
        {QStringLiteral("ar_EG"), {"&تراجع", "أ&عد", "&قصّ", "ا&نسخ", "أل&صق", "احذف", "حدّد الكلّ"}},
    };
    return menus;
}

QStringList entriesOf(const QMenu& menu) {
    QStringList entries;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            entries.append(action->text().section(QLatin1Char('\t'), 0, 0));
        }
    }
    return entries;
}

QStringList lineEditMenu(QLineEdit& box) {
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    return entriesOf(*menu);
}

QStringList plainTextEditMenu(QPlainTextEdit& box) {
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    return entriesOf(*menu);
}

QString formText(std::string_view formName) {
    return ui::toQString(ui::formEntry(formName).text);
}

QString boxText(ui::TextBox& box) {
    const Text text = box.readText();
    return ui::toQString(text ? *text : std::string());
}

} // namespace

// Qt's own strings follow the user's language; the tool's own strings are the form's, always.
class QtTranslationTest : public QObject {
    Q_OBJECT

private slots:
    void editMenusSpeakTheLocalesLanguage_data() {
        QTest::addColumn<QString>("locale");
        // Qt's English needs no translation: its English file holds none.
        QTest::addColumn<bool>("translated");
        QTest::newRow("zh_CN") << "zh_CN" << true;
        QTest::newRow("en_US") << "en_US" << false;
        QTest::newRow("ar_EG") << "ar_EG" << true;
    }

    void editMenusSpeakTheLocalesLanguage() {
        QFETCH(QString, locale);
        QFETCH(bool, translated);
        const ui::QtTranslation translation{QLocale(locale)};
        QCOMPARE(translation.installed(), translated);
        ui::MainWindow window;
        window.start();
        const QStringList& expected = editMenus().value(locale);
        QCOMPARE(lineEditMenu(window.inputBox()), expected);
        QCOMPARE(lineEditMenu(window.unitBox()), expected);
        QCOMPARE(plainTextEditMenu(window.outputBox()), expected);
    }

    void withoutTranslationQtSpeaksEnglish() {
        ui::MainWindow window;
        window.start();
        QCOMPARE(lineEditMenu(window.inputBox()), editMenus().value("en_US"));
        QCOMPARE(plainTextEditMenu(window.outputBox()), editMenus().value("en_US"));
    }

    void formKeepsItsOwnTextsAndPlaces_data() { editMenusSpeakTheLocalesLanguage_data(); }

    void formKeepsItsOwnTextsAndPlaces() {
        QFETCH(QString, locale);
        const ui::QtTranslation translation{QLocale(locale)};
        ui::MainWindow window;
        window.start();
        // A right-to-left language would otherwise mirror the window and right-align the boxes.
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        QCOMPARE(window.layoutDirection(), Qt::LeftToRight);
        QCOMPARE(window.windowTitle(), ui::toQString(ui::mainWindowEntry().text));
        QCOMPARE(window.convertButton().text(), formText(ui::kConvertButtonName));
        QCOMPARE(boxText(window.inputBox()), formText(ui::kInputBoxName));
        QCOMPARE(boxText(window.unitBox()), formText(ui::kUnitBoxName));
        QCOMPARE(boxText(window.outputBox()), formText(ui::kOutputBoxName));
        for (const ui::FormEntry& entry : ui::form()) {
            if (entry.kind == ui::ControlKind::MainWindow) {
                continue;
            }
            auto* control = window.findChild<QWidget*>(ui::toQString(entry.formName));
            QVERIFY(control);
            QCOMPARE(control->accessibleName(), ui::toQString(entry.accessibleName));
            QCOMPARE(control->x(), entry.left);
            if (entry.formName != ui::kOutputBoxName) { // laid out by the window's size
                QCOMPARE(control->geometry(),
                         QRect(entry.left, entry.top, entry.width, entry.height));
            }
        }
    }

    // CTest runs this binary under LANG=zh_CN.UTF-8 and LANG=en_US.UTF-8, with LC_ALL,
    // LC_MESSAGES and LANGUAGE unset: the language comes from where the program reads it.
    void userLocaleChoosesTheLanguage() {
        const QString lang = qEnvironmentVariable("LANG");
        const QString locale = lang.section(QLatin1Char('.'), 0, 0);
        QVERIFY2(editMenus().contains(locale), qPrintable("no menu known for LANG=" + lang));
        QCOMPARE(QLocale::system().name(), locale);
        const ui::QtTranslation translation;
        ui::MainWindow window;
        window.start();
        QCOMPARE(lineEditMenu(window.inputBox()), editMenus().value(locale));
        QCOMPARE(plainTextEditMenu(window.outputBox()), editMenus().value(locale));
    }
};

QTEST_MAIN(QtTranslationTest)
#include "qt_translation_test.moc"
