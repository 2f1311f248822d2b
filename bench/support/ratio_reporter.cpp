#include "bench/support/ratio_reporter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace wqbench {

namespace {

constexpr std::string_view kInterleaveFlag = "--benchmark_enable_random_interleaving";

bool failed = false;

std::string CaseName(const benchmark::BenchmarkReporter::Run& run)
{
    const auto& name = run.run_name;
    return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
}

bool CheckLimit(const std::string& figure, double value, double limit, bool atMost)
{
    const bool measured = std::isfinite(value) && value >= 0;
    const bool held = measured && (atMost ? value <= limit : value >= limit);
    std::printf("%s: %.2f (%s %.2f) %s\n", figure.c_str(), value, atMost ? "at most" : "at least",
                limit,
                held       ? "ok"
                : measured ? "FAIL"
                           : "FAIL (not measured)");
    std::fflush(stdout);
    failed = failed || !held;
    return held;
}

// A case whose work failed measured nothing worth a figure, and a run that
// passed without it would hide the fault: its cause goes to stderr and the
// run fails.
void ReportFailedWork(const benchmark::BenchmarkReporter::Run& run)
{
    std::fprintf(stderr, "%s failed: %s\n", CaseName(run).c_str(), run.error_message.c_str());
    failed = true;
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration) {
            continue;
        }
        if (run.error_occurred) {
            ReportFailedWork(run);
            continue;
        }
        if (run.iterations == 0) {
            continue;
        }
        const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
        const auto [entry, inserted] = best_.emplace(CaseName(run), seconds);
        if (!inserted) {
            entry->second = std::min(entry->second, seconds);
        }
    }
}

bool RatioReporter::Has(const std::string& caseName) const
{
    return best_.count(caseName) != 0;
}

double RatioReporter::Seconds(const std::string& caseName) const
{
    const auto found = best_.find(caseName);
    return found == best_.end() ? 0.0 : found->second;
}

void Initialize(int& argc, char** argv)
{
    const bool given = std::any_of(argv + 1, argv + argc, [](const char* argument) {
        return std::string_view(argument).starts_with(kInterleaveFlag);
    });
    static std::string interleave = std::string(kInterleaveFlag) + "=true";
    std::vector<char*> arguments(argv, argv + argc);
    if (!given) {
        arguments.insert(arguments.begin() + 1, interleave.data());
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    // What the library left unread goes back to the caller's arguments.
    std::copy(arguments.begin(), arguments.begin() + count, argv);
    argc = count;
}

int RunAndPrintRatios(void (*printRatios)(const RatioReporter&))
{
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return ExitStatus();
}

int RunChecked()
{
    return RunAndPrintRatios([](const RatioReporter&) {});
}

std::vector<double> InterleavedBest(int rounds, const std::vector<TimedJob>& jobs)
{
    std::vector<double> best(jobs.size(), HUGE_VAL);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            if (jobs[i].prepare) {
                jobs[i].prepare();
            }
            const auto start = std::chrono::steady_clock::now();
            jobs[i].timed();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best[i] = std::min(best[i], took.count());
        }
    }
    return best;
}

double Ratio(double numerator, double denominator)
{
    return numerator > 0 && denominator > 0 ? numerator / denominator : std::nan("");
}

bool AtMost(const std::string& figure, double value, double limit)
{
    return CheckLimit(figure, value, limit, true);
}

bool AtLeast(const std::string& figure, double value, double limit)
{
    return CheckLimit(figure, value, limit, false);
}

int ExitStatus()
{
    return failed ? 1 : 0;
}

}  // namespace wqbench
