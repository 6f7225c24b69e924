// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Peak resident memory of the largest case a user can make: every one of the 750 cells ink with a
// 10,000-character unit (a 7.5 MB picture), the conversion against one bulk write of the same
// picture, each through the box's next paint. Prints where the memory goes.
#include "core/colour.h"
#include "ui/main_window.h"
#include "ui/multi_line_box.h"
#include "ui/preview_canvas.h"
#include "ui/single_line_box.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kUnitLength = 10000;

long statusKibibytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// Starts a new peak from what is resident now (Linux: "5" resets VmHWM).
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void paintNow(kelmora::ui::MultiLineBox& box) {
    QCoreApplication::sendPostedEvents();
    box.viewport()->repaint();
}

// Bytes the allocator has handed out and not had back, in KiB.
long heapInUseKibibytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

struct Phase {
    long before;
    long peak;
    long after;
    long heapBefore;
    long heapAfter;
};

template <class Work> Phase measure(Work work) {
    resetPeak();
    const long before = statusKibibytes("VmRSS");
    const long heapBefore = heapInUseKibibytes();
    work();
    return {before, statusKibibytes("VmHWM"), statusKibibytes("VmRSS"), heapBefore,
            heapInUseKibibytes()};
}

void print(const Phase& phase) {
    std::printf("resident before %7ld KiB  peak %7ld KiB (%+7ld)  after %7ld KiB (%+7ld);"
                " heap in use %+7ld KiB\n",
                phase.before, phase.peak, phase.peak - phase.before, phase.after,
                phase.after - phase.before, phase.heapAfter - phase.heapBefore);
}

int laidOutLines(const QTextDocument& document) {
    int lines = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        lines += block.layout() ? block.layout()->lineCount() : 0;
    }
    return lines;
}

// One fresh process per side, so neither inherits the other's freed but resident memory.
int runSide(int argc, char* argv[], bool conversionSide) {
    QApplication application(argc, argv);
    kelmora::ui::MainWindow window;
    window.start();
    window.inputBox().setText(QString::fromUtf8("█").repeated(10));
    const std::string unit(kUnitLength, 'x');
    window.unitBox().writeText(unit);
    int ink = 0;
    for (int y = 1; y <= 15; ++y) {
        for (int x = 1; x <= 50; ++x) {
            ink += window.canvas().readPixel(x, y) != kelmora::kWhite ? 1 : 0;
        }
    }
    kelmora::ui::MultiLineBox& box = window.outputBox();
    paintNow(box);

    Phase phase{};
    if (conversionSide) {
        phase = measure([&] {
            window.convert();
            paintNow(box);
        });
    } else {
        std::string picture;
        for (int row = 0; row < 15; ++row) {
            for (int cell = 0; cell < 50; ++cell) {
                picture += unit;
            }
            picture += "\r\n";
        }
        phase = measure([&] {
            box.writeText(picture);
            paintNow(box);
        });
    }
    const QTextDocument& document = *box.document();
    std::printf("%-10s %d of 750 cells ink; ", conversionSide ? "conversion" : "bulk", ink);
    print(phase);
    std::printf("%-10s document text %ld KiB (UTF-16), %d lines laid out\n",
                conversionSide ? "conversion" : "bulk",
                static_cast<long>(document.characterCount()) * 2 / 1024, laidOutLines(document));
    std::printf("peak memory full-10000 %s %ld KiB\n", conversionSide ? "conversion" : "bulk",
                phase.peak);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (const bool conversionSide : {true, false}) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            const int status = runSide(argc, argv, conversionSide);
            std::fflush(stdout);
            _exit(status);
        }
        int status = 0;
        waitpid(child, &status, 0);
    }
    return 0;
}
