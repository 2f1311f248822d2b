#pragma once

#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wqbench {

// Prints every run as the console does and keeps the best real time per
// iteration of each case, so that a program can print ratios between cases
// measured in the same run once all runs are done. A case whose work failed
// (it called State::SkipWithError with the cause) fails the program: the line
// "<case> failed: <cause>" goes to stderr and ExitStatus becomes 1.
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

// benchmark::Initialize with the repetitions of the cases run in an
// interleaved order unless the command line says otherwise, so that a change
// of load on the shared machine touches every side of a ratio alike.
void Initialize(int& argc, char** argv);

// Runs the benchmarks chosen on the command line (Initialize has read it),
// hands their times to printRatios and shuts the library down. Returns the
// program's exit status: 1 when a case failed its work or a figure missed its
// limit (see AtMost).
int RunAndPrintRatios(void (*printRatios)(const RatioReporter&));

// Runs the benchmarks chosen on the command line, shuts the library down and
// returns ExitStatus, for programs that check their figures inside the cases.
int RunChecked();

// The ratios of a program that takes its main from wq_bench_qt_main.
void PrintRatios(const RatioReporter& reporter);

// One side of a comparison: `timed` is measured, `prepare` (when given) runs
// untimed before it.
struct TimedJob {
    std::function<void()> timed;
    std::function<void()> prepare = {};
};

// The best seconds of each job over the rounds; every round runs each job
// once, in the order given.
std::vector<double> InterleavedBest(int rounds, const std::vector<TimedJob>& jobs);

// numerator / denominator, or NaN when a side was not measured (0).
double Ratio(double numerator, double denominator);

// A figure beside the limit it must keep, with "ok" or "FAIL":
//   "<figure>: 0.83 (at most 1.40) ok"
// A figure that could not be measured (NaN or below 0) fails. Returns
// whether the limit held; a failure makes ExitStatus 1.
bool AtMost(const std::string& figure, double value, double limit);
bool AtLeast(const std::string& figure, double value, double limit);
// 1 once any case failed its work or any figure its limit, else 0.
int ExitStatus();

}  // namespace wqbench
