// Opening an archive of 100,000 entries made by Info-ZIP (reading its
// directory and building the name index) against `unzip -Z1` listing the same
// archive, and the cost of one name look-up at 1,000 and at 100,000 items.
// Prints both ratios after the runs: open/unzip should stay at or below 1,
// look-up 100,000/1,000 at or below 1.5.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "zip/ZipArchiver.h"

namespace {

constexpr int kEntries = 100000;
// The same number of distinct names is looked up at both sizes, so that the
// figure shows the index, not how much of the directory fits in the cache.
constexpr int kProbes = 1000;

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

void BM_OpenArchive(benchmark::State& state)
{
    const std::string fileName = Archive().FileName();
    for (auto _ : state) {
        auto zip = std::make_unique<TZipArchiver>();
        zip->SetFileName(fileName);
        zip->OpenArchive(ZAModeReadOnly);
        int index = -1;
        zip->DirManager()->Items().FindName(StationName(0), index);
        benchmark::DoNotOptimize(index);
        state.PauseTiming();
        zip.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenArchive)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UnzipList(benchmark::State& state)
{
    const std::string command =
        "unzip -Z1 " + wqtest::Quoted(Archive().FileName()) + " > /dev/null";
    for (auto _ : state) {
        if (wqtest::Run(command) != 0) {
            state.SkipWithError("unzip failed");
        }
    }
}
BENCHMARK(BM_UnzipList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindName(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    TZADirArray items;
    items.SetCount(count);
    for (int i = 0; i < count; ++i) {
        items.Rename(i, StationName(i));
    }
    std::vector<std::string> probes;
    for (int i = 0; i < kProbes; ++i) {
        probes.push_back(
            StationName(static_cast<int>(static_cast<long long>(i) * count / kProbes)));
    }
    int index = -1;
    items.FindName(probes[0], index);  // builds the index
    std::size_t next = 0;
    for (auto _ : state) {
        items.FindName(probes[next], index);
        benchmark::DoNotOptimize(index);
        next = next + 1 == probes.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_FindName)->Arg(1000)->Arg(kEntries);

// Nothing is printed for a ratio whose runs were filtered out or failed.
void PrintRatios(const wqbench::RatioReporter& reporter)
{
    if (reporter.Has("BM_OpenArchive") && reporter.Has("BM_UnzipList")) {
        std::printf("open of 100000 entries / unzip -Z1: %.2f (at most 1)\n",
                    reporter.Seconds("BM_OpenArchive") / reporter.Seconds("BM_UnzipList"));
    }
    if (reporter.Has("BM_FindName/1000") && reporter.Has("BM_FindName/100000")) {
        std::printf("name look-up 100000 items / 1000 items: %.2f (at most 1.5)\n",
                    reporter.Seconds("BM_FindName/100000") / reporter.Seconds("BM_FindName/1000"));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wqbench::RunAndPrintRatios(PrintRatios);
    return 0;
}
