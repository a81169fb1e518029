#include "summary.h"

#include <stdio.h>

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        auto speed = run.counters.find("bytes_per_second");
        auto ratio = run.counters.find("ratio");
        rows_.push_back({run.benchmark_name(),
                         speed == run.counters.end() ? 0.0 : speed->second.value / 1e6,
                         ratio == run.counters.end() ? 0.0 : ratio->second.value});
    }
}

void SummaryReporter::PrintSummary() const {
    printf("\n%-44s %12s %10s\n", "benchmark", "MB/s", "ratio");
    for (const Row& row : rows_) {
        printf("%-44s %12.1f %10.4f\n", row.name.c_str(), row.megabytesPerSecond, row.ratio);
    }
}
