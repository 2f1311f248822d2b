#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace wqbench {

// Prints every run as the console does and keeps the best real time per
// iteration of each case, so that a program can print ratios between cases
// measured in the same run once all runs are done.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // A case is named as registered, with its argument if it has one
    // ("Sha1Ours", "BM_FindName/1000"), without the modifiers the console
    // appends (repetitions, real time, minimum time).
    bool Has(const std::string& caseName) const;

    // Seconds per iteration, the best over the case's repetitions; 0 when the
    // case was filtered out or failed.
    double Seconds(const std::string& caseName) const;

private:
    std::map<std::string, double> best_;
};

// Runs the benchmarks chosen on the command line (benchmark::Initialize has
// read it), hands their times to printRatios and shuts the library down.
void RunAndPrintRatios(void (*printRatios)(const RatioReporter&));

// The ratios of a program that takes its main from wq_bench_qt_main.
void PrintRatios(const RatioReporter& reporter);

}  // namespace wqbench
