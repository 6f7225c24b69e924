// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/ratio_reporter.h"
#include "core/colour.h"
#include "core/text.h"
#include "ui/main_window.h"
#include "ui/multi_line_box.h"
#include "ui/preview_canvas.h"
#include "ui/single_line_box.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using kelmora::ui::MainWindow;

// Fills the scan area with strokes of both scripts, so a good share of the cells are ink.
constexpr const char* kInputText = "Hi中国 Kelmora";
// Full blocks wider and taller than the scan area: every one of the 750 cells is ink.
constexpr const char* kFullBlock = "█";
constexpr int kFullBlocks = 10;

struct UnitCase {
    std::string label;
    QString input;
    std::string unit;
};

QString fullInkInput() {
    return QString::fromUtf8(kFullBlock).repeated(kFullBlocks);
}

std::vector<UnitCase> unitCases() {
    const QString typed = QString::fromUtf8(kInputText);
    std::vector<UnitCase> cases;
    for (const std::size_t length : {1U, 2U, 100U, 1000U, 10000U}) {
        cases.push_back({std::to_string(length), typed, std::string(length, 'x')});
    }
    cases.push_back({"hint", typed, std::string(kelmora::kHintText)});
    cases.push_back({"zh", typed, "中"});
    for (const std::size_t length : {2U, 1000U, 10000U}) {
        cases.push_back(
            {"full-" + std::to_string(length), fullInkInput(), std::string(length, 'x')});
    }
    return cases;
}

// The window as a user leaves it before pressing the button: text typed, unit chosen.
void prepare(MainWindow& window, const UnitCase& unitCase) {
    window.inputBox().setText(unitCase.input);
    window.unitBox().writeText(unitCase.unit);
}

int inkCells(const kelmora::ui::PreviewCanvas& canvas) {
    int ink = 0;
    for (int y = 1; y <= 15; ++y) {
        for (int x = 1; x <= 50; ++x) {
            ink += canvas.readPixel(x, y) != kelmora::kWhite ? 1 : 0;
        }
    }
    return ink;
}

// Both sides are timed through the box's next paint, which is where a deferred layout is paid:
// posted events first (Qt schedules the repaint there), then one synchronous paint.
void paintNow(kelmora::ui::MultiLineBox& box) {
    QCoreApplication::sendPostedEvents();
    box.viewport()->repaint();
}

// Picture length in bytes by case label, for the growth lines.
using PictureBytes = std::map<std::string, double>;

void registerConversion(MainWindow& window, const UnitCase& unitCase, PictureBytes& bytes) {
    const bool fullInk = unitCase.label.starts_with("full-");
    benchmark::RegisterBenchmark(("convert/unit=" + unitCase.label).c_str(),
                                 [&window, unitCase, fullInk, &bytes](benchmark::State& state) {
                                     prepare(window, unitCase);
                                     if (fullInk && inkCells(window.canvas()) != 750) {
                                         state.SkipWithError("the input does not ink every cell");
                                         return;
                                     }
                                     for (auto _ : state) {
                                         window.convert();
                                         paintNow(window.outputBox());
                                     }
                                     bytes[unitCase.label] =
                                         static_cast<double>(window.outputBox().readText()->size());
                                     state.counters["bytes"] = bytes[unitCase.label];
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    // The floor: the identical picture in one write into the same box.
    benchmark::RegisterBenchmark(("bulk/unit=" + unitCase.label).c_str(),
                                 [&window, unitCase](benchmark::State& state) {
                                     prepare(window, unitCase);
                                     window.convert();
                                     const std::string picture = *window.outputBox().readText();
                                     for (auto _ : state) {
                                         window.outputBox().writeText(picture);
                                         paintNow(window.outputBox());
                                     }
                                     if (window.outputBox().readText() != picture) {
                                         state.SkipWithError("the bulk write changed the picture");
                                     }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void registerPreview(MainWindow& window, std::size_t length) {
    benchmark::RegisterBenchmark(("preview/chars=" + std::to_string(length)).c_str(),
                                 [&window, length](benchmark::State& state) {
                                     QString text;
                                     const QString pattern = QString::fromUtf8(kInputText);
                                     while (static_cast<std::size_t>(text.size()) < length) {
                                         text += pattern;
                                     }
                                     text.truncate(static_cast<qsizetype>(length));
                                     window.inputBox().setText(text);
                                     for (auto _ : state) {
                                         window.preview();
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
}

} // namespace

int main(int argc, char* argv[]) {
    // The same platform as the widget tests: no display needed, nothing shown.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // Repetitions in random order, so that a burst of other load on the machine spreads over both
    // sides of a ratio instead of landing on one; the ratios use the medians. Flags given on the
    // command line come later and win.
    std::vector<char*> arguments{argv[0]};
    std::string repetitions = "--benchmark_repetitions=9";
    std::string interleaving = "--benchmark_enable_random_interleaving=true";
    arguments.push_back(repetitions.data());
    arguments.push_back(interleaving.data());
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int argumentCount = static_cast<int>(arguments.size());
    benchmark::Initialize(&argumentCount, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(argumentCount, arguments.data())) {
        return 1;
    }

    MainWindow window;
    window.start();
    const std::vector<UnitCase> cases = unitCases();
    PictureBytes bytes;
    for (const UnitCase& unitCase : cases) {
        registerConversion(window, unitCase, bytes);
    }
    for (const std::size_t length : {1U, 100U, 100000U}) {
        registerPreview(window, length);
    }

    kelmora::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const UnitCase& unitCase : cases) {
        const double conversion =
            reporter.nanosecondsPerIteration("convert/unit=" + unitCase.label);
        const double bulk = reporter.nanosecondsPerIteration("bulk/unit=" + unitCase.label);
        if (conversion > 0 && bulk > 0) {
            std::printf("ratio unit=%s %.2f\n", unitCase.label.c_str(), conversion / bulk);
        }
    }
    // Linear growth: the conversion should grow no faster than the picture it writes.
    for (const std::string prefix : {"", "full-"}) {
        const std::string small = prefix + "1000", large = prefix + "10000";
        const double from = reporter.nanosecondsPerIteration("convert/unit=" + small);
        const double to = reporter.nanosecondsPerIteration("convert/unit=" + large);
        if (from > 0 && to > 0 && bytes.contains(small) && bytes.contains(large)) {
            std::printf("growth unit=%s..%s conversion %.2fx picture %.2fx\n", small.c_str(),
                        large.c_str(), to / from, bytes[large] / bytes[small]);
        }
    }
    return 0;
}
