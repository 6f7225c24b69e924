#include "bench/ratio_reporter.h"
#include "core/text.h"
#include "ui/main_window.h"
#include "ui/multi_line_box.h"
#include "ui/single_line_box.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using kelmora::ui::MainWindow;

// Fills the scan area with strokes of both scripts, so a good share of the cells are ink.
constexpr const char* kInputText = "Hi中国 Kelmora";

struct UnitCase {
    std::string label;
    std::string unit;
};

std::vector<UnitCase> unitCases() {
    std::vector<UnitCase> cases;
    for (const std::size_t length : {1U, 2U, 100U, 1000U, 10000U}) {
        cases.push_back({std::to_string(length), std::string(length, 'x')});
    }
    cases.push_back({"hint", std::string(kelmora::kHintText)});
    return cases;
}

// The window as a user leaves it before pressing the button: text typed, unit chosen.
void prepare(MainWindow& window, const std::string& unit) {
    window.inputBox().setText(QString::fromUtf8(kInputText));
    window.unitBox().writeText(unit);
}

void registerConversion(MainWindow& window, const UnitCase& unitCase) {
    benchmark::RegisterBenchmark(("convert/unit=" + unitCase.label).c_str(),
                                 [&window, unit = unitCase.unit](benchmark::State& state) {
                                     prepare(window, unit);
                                     for (auto _ : state) {
                                         window.convert();
                                     }
                                     state.counters["bytes"] =
                                         static_cast<double>(window.outputBox().readText()->size());
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    // The floor: the identical picture in one write into the same box.
    benchmark::RegisterBenchmark(("bulk/unit=" + unitCase.label).c_str(),
                                 [&window, unit = unitCase.unit](benchmark::State& state) {
                                     prepare(window, unit);
                                     window.convert();
                                     const std::string picture = *window.outputBox().readText();
                                     for (auto _ : state) {
                                         window.outputBox().writeText(picture);
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
    std::string repetitions = "--benchmark_repetitions=5";
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
    for (const UnitCase& unitCase : cases) {
        registerConversion(window, unitCase);
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
    return 0;
}
