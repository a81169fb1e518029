// A console reporter that also prints one table of speed and ratio at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void PrintSummary() const;

  private:
    struct Row {
        std::string name;
        double megabytesPerSecond;
        double ratio;
    };
    std::vector<Row> rows_;
};
