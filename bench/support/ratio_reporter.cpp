#include "bench/support/ratio_reporter.h"

#include <algorithm>

namespace wqbench {

namespace {

std::string CaseName(const benchmark::BenchmarkReporter::Run& run)
{
    const auto& name = run.run_name;
    return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) {
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

void RunAndPrintRatios(void (*printRatios)(const RatioReporter&))
{
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
}

}  // namespace wqbench
