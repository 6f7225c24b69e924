#include "app/startup_messages.h"
#include "ui/main_window.h"
#include "ui/qt_translation.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

int main(int argc, char* argv[]) {
    kelmora::app::StartupMessages startupMessages;
    QApplication application(argc, argv);
    startupMessages.release();
    const kelmora::ui::QtTranslation qtTranslation;
    QApplication::setApplicationName(QStringLiteral("kelmora"));
    QApplication::setDesktopFileName(QStringLiteral("kelmora"));

    try {
        kelmora::ui::MainWindow window;
        window.start();
        return QApplication::exec();
    } catch (const std::exception&) {
        QMessageBox::critical(nullptr, QStringLiteral("Kelmora"),
                              QStringLiteral("Kelmora could not load its start window."));
        return -1;
    }
}
