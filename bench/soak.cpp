// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// 1,000 conversions in a row through the real window, with the event loop turning between them
// as it would for a user pressing the button; prints resident memory after the 10th and the last.
#include "ui/main_window.h"
#include "ui/single_line_box.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

long residentKibibytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    kelmora::ui::MainWindow window;
    window.start();
    window.inputBox().setText(QStringLiteral("Hi中国"));
    window.unitBox().writeText("xx");

    constexpr int kConversions = 1000;
    long afterTenth = 0;
    for (int i = 1; i <= kConversions; ++i) {
        window.convert();
        QCoreApplication::processEvents();
        if (i == 10) {
            afterTenth = residentKibibytes();
        }
    }
    const long afterLast = residentKibibytes();
    std::printf("soak rss after 10: %ld KiB, after %d: %ld KiB, growth %+ld KiB (goal <= 1024)\n",
                afterTenth, kConversions, afterLast, afterLast - afterTenth);
    return 0;
}
