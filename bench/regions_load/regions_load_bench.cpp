// Loading the regions file must stay linear in the number of regions and
// close to what the XML parser alone needs for the same file. Prints the
// per-region load time at 10,000 and 100,000 regions and their ratio, and
// the 100,000-region load against a plain pugixml parse of the same file.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/regions_load/region_tree.h"
#include "bench/regions_load/regions_csv.h"
#include "bench/regions_load/synthetic_regions.h"
#include "bench/support/ratio_reporter.h"
#include "io/ozr_io_load.h"
#include "model/ozr_types.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr std::size_t kSmall = 10'000;
constexpr std::size_t kLarge = 100'000;
constexpr double kMaxPerRegionRatio = 1.3;
constexpr double kMaxParserRatio = 2.0;
// The machine is shared: the best of several repetitions is the figure least
// disturbed by other work.
constexpr int kRepetitions = 5;

const std::string kLoadSmall = "LoadRegions/10k";
const std::string kLoadLarge = "LoadRegions/100k";
const std::string kParseLarge = "PugixmlParse/100k";

std::string ReferenceCsv()
{
    const char* sourceDir = std::getenv("WQ_SOURCE_DIR");
    return std::string(sourceDir != nullptr ? sourceDir : WQ_DEFAULT_SOURCE_DIR) +
           "/../shared/regions/regions.csv";
}

// Every iteration loads into a session of its own, as the program does once
// at start; making and freeing the session is not timed.
void LoadRegionsCase(benchmark::State& state, const std::string& fileName, std::size_t regions)
{
    TScriptedDialogs dialogs;
    ScopedDialogs scoped(dialogs);
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<TSession>();
        session->FRegionsFile = fileName;
        Session = session.get();
        state.ResumeTiming();

        LoadRegions();

        state.PauseTiming();
        const auto loaded = static_cast<std::size_t>(session->FRegions.Count());
        Session = nullptr;
        session.reset();
        state.ResumeTiming();
        if (loaded != regions) {
            state.SkipWithError("the session does not hold every region of the file");
            break;
        }
    }
    state.counters["regions"] = static_cast<double>(regions);
    state.counters["per_region"] = benchmark::Counter(
        static_cast<double>(regions),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["warnings"] = static_cast<double>(dialogs.Messages().size());
}

void PugixmlParseCase(benchmark::State& state, const std::string& fileName)
{
    for (auto _ : state) {
        pugi::xml_document document;
        pugi::xml_parse_result result = document.load_file(fileName.c_str());
        if (!result) {
            state.SkipWithError(result.description());
            break;
        }
        benchmark::DoNotOptimize(document.first_child());
    }
}

// Nothing is printed for a ratio whose runs were filtered out or failed.
void PrintRatios(const wqbench::RatioReporter& reporter)
{
    const double loadLarge = reporter.Seconds(kLoadLarge);
    if (reporter.Has(kLoadSmall) && reporter.Has(kLoadLarge)) {
        const double small = reporter.Seconds(kLoadSmall) / kSmall;
        const double large = loadLarge / kLarge;
        std::printf("per-region load time: %.1f ns at 10k, %.1f ns at 100k\n", small * 1e9,
                    large * 1e9);
        wqbench::AtMost("per-region 100k / 10k", large / small, kMaxPerRegionRatio);
    }
    if (reporter.Has(kLoadLarge) && reporter.Has(kParseLarge)) {
        const double parseLarge = reporter.Seconds(kParseLarge);
        std::printf("load of 100k regions: %.1f ms, pugixml parse of the same file: %.1f ms\n",
                    loadLarge * 1e3, parseLarge * 1e3);
        wqbench::AtMost("load / pugixml parse at 100k", loadLarge / parseLarge, kMaxParserRatio);
    }
}

void Configure(benchmark::internal::Benchmark* bench)
{
    bench->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(kRepetitions);
}

void RegisterLoad(const std::string& name, const std::string& fileName, std::size_t regions)
{
    Configure(benchmark::RegisterBenchmark(name.c_str(), LoadRegionsCase, fileName, regions));
}

}  // namespace

int main(int argc, char** argv)
{
    // Freed memory stays with the process, so that no case pays for fresh
    // pages that an earlier case happened to leave behind: otherwise the
    // parser's figure alone swings fivefold with the order of the cases.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest that the allocator takes
    wqbench::Initialize(argc, argv);
    wqtest::TempFolder folder;

    const std::string csv = ReferenceCsv();
    if (std::filesystem::exists(csv)) {
        const RegionForest reference = ReadRegionsCsv(csv);
        const std::string fileName = folder / "reference.xml";
        WriteRegionsFile(reference, fileName);
        RegisterLoad("LoadRegions/reference", fileName, CountRegions(reference));
    } else {
        std::printf("%s is absent: the case of the reference list is skipped\n", csv.c_str());
    }

    const std::string small = folder / "synthetic_10k.xml";
    const std::string large = folder / "synthetic_100k.xml";
    WriteRegionsFile(SyntheticRegions(kSmall), small);
    WriteRegionsFile(SyntheticRegions(kLarge), large);
    RegisterLoad(kLoadSmall, small, kSmall);
    RegisterLoad(kLoadLarge, large, kLarge);
    Configure(benchmark::RegisterBenchmark(kParseLarge.c_str(), PugixmlParseCase, large));

    return wqbench::RunAndPrintRatios(PrintRatios);
}
