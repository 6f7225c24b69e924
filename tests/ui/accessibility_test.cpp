// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/form.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

#include <QAccessible>
#include <QSet>
#include <QTest>

using namespace kelmora;

// A screen reader learns what a control is only from its accessible name and description; it
// reads them through the accessibility interface, so that is where they are checked.
class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlIsNamedAndDescribed() {
        ui::MainWindow window;
        window.start();
        QSet<QString> names;
        int controls = 0;
        for (const ui::FormEntry& entry : ui::form()) {
            if (entry.kind == ui::ControlKind::MainWindow) {
                continue;
            }
            ++controls;
            const QString formName = ui::toQString(entry.formName);
            auto* widget = window.findChild<QWidget*>(formName, Qt::FindDirectChildrenOnly);
            QVERIFY2(widget, qPrintable(formName));
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(accessible, qPrintable(formName));
            const QString name = accessible->text(QAccessible::Name);
            const QString description = accessible->text(QAccessible::Description);
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(formName + " has no accessible name"));
            QVERIFY2(!description.trimmed().isEmpty(),
                     qPrintable(formName + " has no accessible description"));
            QVERIFY2(description != name, qPrintable(formName + " is described by its name"));
            names.insert(name);
        }
        // Two controls announced alike could not be told apart.
        QCOMPARE(names.size(), controls);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
