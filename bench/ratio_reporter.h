// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kelmora::bench {

// The console report, plus the time of every run kept by name so that ratios between two
// benchmarks of the same run can be printed at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override;

    // The process's CPU time per iteration in nanoseconds of the benchmark registered under that
    // name, or a negative value if the run was not made. The machine is shared: wall time also
    // counts the time other work held the core, CPU time only this work.
    [[nodiscard]] double nanosecondsPerIteration(const std::string& name) const;

private:
    std::map<std::string, double> nanoseconds_;
    std::set<std::string> medians_;
};

} // namespace kelmora::bench
