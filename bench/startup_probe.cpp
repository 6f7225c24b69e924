// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts two programs in turn on the current X display, each many times, alternating; for each
// run it takes the time from exec to the first map of a top-level window, closes that window as
// a window manager would, and takes the child's peak resident memory from wait4().
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample {
    double milliseconds;
    long peakKibibytes;
};

class Connection final {
public:
    Connection() : display_(XOpenDisplay(nullptr)) {
        if (!display_) {
            std::fprintf(stderr, "startup_probe: cannot open the X display\n");
            std::exit(2);
        }
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~Connection() { XCloseDisplay(display_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ::Display* get() const { return display_; }

private:
    ::Display* display_;
};

// Waits for the first top-level window to be mapped, or gives up after the timeout.
Window waitForMap(::Display* display, std::chrono::steady_clock::time_point deadline) {
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                return event.xmap.window;
            }
        }
        usleep(200);
    }
    return None;
}

void askToClose(::Display* display, Window window) {
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &message);
    XFlush(display);
}

Sample runOnce(::Display* display, const char* program) {
    XSync(display, True); // drop what earlier runs left in the queue
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    const Window shown = waitForMap(display, start + std::chrono::seconds(20));
    const auto mapped = std::chrono::steady_clock::now();
    // Let the first paint happen, as a user would see it, before the window is closed.
    usleep(300'000);
    if (shown != None) {
        askToClose(display, shown);
    }
    int status = 0;
    rusage usage{};
    for (int waited = 0; waited < 100; ++waited) {
        if (wait4(child, &status, WNOHANG, &usage) == child) {
            break;
        }
        if (waited == 99) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
        }
        usleep(50'000);
    }
    if (shown == None) {
        std::fprintf(stderr, "startup_probe: %s showed no window\n", program);
        std::exit(3);
    }
    return {std::chrono::duration<double, std::milli>(mapped - start).count(), usage.ru_maxrss};
}

template <class T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_probe RUNS TOOL BARE\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const Connection display;
    std::vector<double> toolTimes, bareTimes;
    std::vector<long> toolPeaks, barePeaks;
    runOnce(display.get(), argv[2]); // warm the file cache for both before anything counts
    runOnce(display.get(), argv[3]);
    for (int run = 0; run < runs; ++run) {
        const Sample tool = runOnce(display.get(), argv[2]);
        const Sample bare = runOnce(display.get(), argv[3]);
        std::printf("run %2d  tool %7.1f ms %7ld KiB   bare %7.1f ms %7ld KiB\n", run + 1,
                    tool.milliseconds, tool.peakKibibytes, bare.milliseconds, bare.peakKibibytes);
        toolTimes.push_back(tool.milliseconds);
        bareTimes.push_back(bare.milliseconds);
        toolPeaks.push_back(tool.peakKibibytes);
        barePeaks.push_back(bare.peakKibibytes);
    }
    const double toolTime = median(toolTimes), bareTime = median(bareTimes);
    const long toolPeak = median(toolPeaks), barePeak = median(barePeaks);
    std::printf("median  tool %7.1f ms %7ld KiB   bare %7.1f ms %7ld KiB\n", toolTime, toolPeak,
                bareTime, barePeak);
    std::printf("ratio startup %.2f\n", toolTime / bareTime);
    std::printf("ratio startup-peak-memory %.2f\n",
                static_cast<double>(toolPeak) / static_cast<double>(barePeak));
    return 0;
}
