// Opening an archive of 100,000 entries made by Info-ZIP, as a user meets it:
// a whole process that opens the archive, lists its names and frees
// everything (zip_list_names beside this program) against `unzip -Z1` listing
// the same archive, the two started in turn, with the peak memory of each;
// and the cost of one name look-up at 1,000 and at 100,000 items, the two
// sizes timed in turn.
// Prints each figure with its limit and ends with status 1 when one is missed.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "zip/directory/ZADirectoryItems.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 100000;
constexpr int kSmallDirectory = 1000;
// The same number of distinct names is looked up at both sizes, so that the
// figure shows the index, not how much of the directory fits in the cache.
constexpr int kProbes = 1000;
constexpr int kRounds = 21;

constexpr double kOpenRatioLimit = 0.8;
constexpr double kOpenPeakLimitMiB = 30.0;
constexpr double kLookupRatioLimit = 1.5;

std::string StationName(int i)
{
    char name[64];
    std::snprintf(name, sizeof name, "data/Station_%06d.xml", i);
    return name;
}

// The archive is made once per run in a temporary folder.
class ZipOfManyEntries {
public:
    ZipOfManyEntries()
    {
        std::filesystem::create_directories(folder_ / "data");
        for (int i = 0; i < kEntries; ++i) {
            wqtest::WriteTextFile(folder_ / StationName(i), "");
        }
        const std::string command =
            "cd " + wqtest::Quoted(folder_.Path()) + " && find data -type f | zip -q -0 big.zip -@";
        if (wqtest::Run(command) != 0) {
            std::fprintf(stderr, "zip failed\n");
            std::exit(1);
        }
        std::filesystem::remove_all(folder_ / "data");
    }
    std::string FileName() const { return folder_ / "big.zip"; }

private:
    wqtest::TempFolder folder_;
};

const ZipOfManyEntries& Archive()
{
    static const ZipOfManyEntries archive;
    return archive;
}

struct ChildFigures {
    double seconds = 0;
    double peakMiB = 0;
    bool succeeded = false;
};

// Runs a program with its output thrown away, timed from the start of the
// process to its end. The peak memory is the child's own (wait4), which holds
// at least what the child shares with this program when it is forked.
ChildFigures RunChild(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    ChildFigures figures;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) {
        return figures;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    figures.seconds = took.count();
    figures.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    figures.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return figures;
}

// The best time and the largest peak over the rounds of one side.
struct SideFigures {
    double bestSeconds = 1e9;
    double peakMiB = 0;
    bool succeeded = true;

    void Take(const ChildFigures& run)
    {
        bestSeconds = std::min(bestSeconds, run.seconds);
        peakMiB = std::max(peakMiB, run.peakMiB);
        succeeded = succeeded && run.succeeded;
    }
};

struct OpenFigures {
    bool measured = false;
    bool sameNames = false;
    SideFigures ours;
    SideFigures unzip;
    double inheritedMiB = 0;
};

// Each round starts the other side first, so that neither always finds the
// caches as the other left them.
template <typename A, typename B>
void Interleaved(A&& runOne, B&& runOther)
{
    for (int round = 0; round < kRounds; ++round) {
        if (round % 2 == 0) {
            runOne();
            runOther();
        } else {
            runOther();
            runOne();
        }
    }
}

OpenFigures& Open()
{
    static OpenFigures figures;
    return figures;
}

std::string ListNamesProgram()
{
    return (fs::read_symlink("/proc/self/exe").parent_path() / "zip_list_names").string();
}

// Both listings must name the same items, or the times compare different work.
bool ListingsAgree(const std::string& ours, const std::string& archive)
{
    const auto ourNames = wqtest::RunWithOutput(wqtest::Quoted(ours) + " " + archive);
    const auto unzipNames = wqtest::RunWithOutput("unzip -Z1 " + archive);
    return ourNames.exitCode == 0 && ourNames.output == unzipNames.output;
}

void BM_OpenWholeProcess(benchmark::State& state)
{
    const std::string archive = Archive().FileName();
    const std::string ours = ListNamesProgram();
    OpenFigures& figures = Open();
    for (auto _ : state) {
        figures.sameNames = ListingsAgree(ours, wqtest::Quoted(archive));
        figures.inheritedMiB = RunChild({"true"}).peakMiB;
        Interleaved(
            [&] {
                figures.ours.Take(RunChild({ours, archive}));
            },
            [&] {
                figures.unzip.Take(RunChild({"unzip", "-Z1", archive}));
            });
    }
    figures.measured = true;
    if (!figures.sameNames || !figures.ours.succeeded || !figures.unzip.succeeded) {
        state.SkipWithError("the two listings differ or a listing failed");
    }
}
BENCHMARK(BM_OpenWholeProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// A directory of count items, and names spread over all of it to look up.
class NamedItems {
public:
    explicit NamedItems(int count)
    {
        items_.SetCount(count);
        for (int i = 0; i < count; ++i) {
            items_.Rename(i, StationName(i));
        }
        for (int i = 0; i < kProbes; ++i) {
            probes_.push_back(
                StationName(static_cast<int>(static_cast<long long>(i) * count / kProbes)));
        }
        int index = -1;
        items_.FindName(probes_[0], index);  // builds the index
    }

    // Seconds per look-up, over a run of them.
    double TimeLookups()
    {
        const auto start = std::chrono::steady_clock::now();
        int index = -1;
        for (int i = 0; i < kLookups; ++i) {
            items_.FindName(probes_[static_cast<std::size_t>(i % kProbes)], index);
            benchmark::DoNotOptimize(index);
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        return took.count() / kLookups;
    }

private:
    static constexpr int kLookups = 200000;
    TZADirArray items_;
    std::vector<std::string> probes_;
};

struct LookupFigures {
    bool measured = false;
    double bestSmall = 1e9;
    double bestLarge = 1e9;
};

LookupFigures& Lookups()
{
    static LookupFigures figures;
    return figures;
}

void BM_FindNameAtTwoSizes(benchmark::State& state)
{
    NamedItems small(kSmallDirectory);
    NamedItems large(kEntries);
    LookupFigures& figures = Lookups();
    for (auto _ : state) {
        Interleaved([&] { figures.bestSmall = std::min(figures.bestSmall, small.TimeLookups()); },
                    [&] { figures.bestLarge = std::min(figures.bestLarge, large.TimeLookups()); });
    }
    figures.measured = true;
}
BENCHMARK(BM_FindNameAtTwoSizes)->Iterations(1)->Unit(benchmark::kMillisecond);

void PrintOpenFigures()
{
    const OpenFigures& figures = Open();
    if (!figures.measured) {
        return;
    }
    if (!figures.sameNames || !figures.ours.succeeded || !figures.unzip.succeeded) {
        std::printf("open of %d entries: the listings differ or one failed\n", kEntries);
        wqbench::AtMost("open, whole process / unzip -Z1 whole process", NAN, kOpenRatioLimit);
        return;
    }
    std::printf("open of %d entries, whole process, best of %d: ours %.1f ms, unzip -Z1 %.1f ms\n",
                kEntries, kRounds, figures.ours.bestSeconds * 1e3, figures.unzip.bestSeconds * 1e3);
    wqbench::AtMost("open, whole process / unzip -Z1 whole process",
                    wqbench::Ratio(figures.ours.bestSeconds, figures.unzip.bestSeconds),
                    kOpenRatioLimit);
    std::printf(
        "peak memory: ours %.1f MiB, unzip -Z1 %.1f MiB, ratio %.2f "
        "(a child forked from here starts at %.1f MiB)\n",
        figures.ours.peakMiB, figures.unzip.peakMiB, figures.ours.peakMiB / figures.unzip.peakMiB,
        figures.inheritedMiB);
    wqbench::AtMost("peak memory of our open in MiB", figures.ours.peakMiB, kOpenPeakLimitMiB);
}

// Nothing is printed for a figure whose runs were filtered out.
void PrintRatios(const wqbench::RatioReporter&)
{
    PrintOpenFigures();
    const LookupFigures& lookups = Lookups();
    if (lookups.measured) {
        std::printf("name look-up, best of %d: %.0f ns at %d items, %.0f ns at %d items\n", kRounds,
                    lookups.bestSmall * 1e9, kSmallDirectory, lookups.bestLarge * 1e9, kEntries);
        wqbench::AtMost("name look-up 100000 items / 1000 items",
                        wqbench::Ratio(lookups.bestLarge, lookups.bestSmall), kLookupRatioLimit);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    wqbench::Initialize(argc, argv);
    return wqbench::RunAndPrintRatios(PrintRatios);
}
