// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/ratio_reporter.h"

namespace kelmora::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred || run.iterations == 0) {
            continue;
        }
        // With repetitions the median stands for the benchmark; a single run stands for itself.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const std::string& name = run.run_name.function_name;
        if (median || (run.run_type == Run::RT_Iteration && !medians_.contains(name))) {
            nanoseconds_[name] =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        }
        if (median) {
            medians_.insert(name);
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::nanosecondsPerIteration(const std::string& name) const {
    const auto found = nanoseconds_.find(name);
    return found == nanoseconds_.end() ? -1.0 : found->second;
}

} // namespace kelmora::bench
