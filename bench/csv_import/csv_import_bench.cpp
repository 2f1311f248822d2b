// Station-list and daily-flow imports, each checked (dry run) and imported, at
// a tenth of the size and at the full size (100,000 station lines, 1,000,000
// daily lines), and reading and splitting the same files with the standard
// library alone. Per line, the large size should cost at most 1.3 times the
// small one, and the import at most 5 times the plain read.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "io/ozr_io_csv_flow.h"
#include "io/ozr_io_csv_stations.h"
#include "platform/regional_settings.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kStationLines = 100'000;
constexpr int kDailyLines = 1'000'000;
constexpr int kDaysPerStation = 365;

const wqtest::TempFolder& Folder()
{
    static const wqtest::TempFolder folder;
    return folder;
}

std::string StationFile(int lines)
{
    const std::string path = Folder() / ("stations" + std::to_string(lines) + ".csv");
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "rbd;GR01;W" + std::to_string(i) + ";Well number " + std::to_string(i) + ";23." +
                std::to_string(i % 1000) + ";38." + std::to_string(i % 997) + "\n";
    return wqtest::WriteTextFile(path, text);
}

std::string FlowFile(int lines)
{
    const std::string path = Folder() / ("flow" + std::to_string(lines) + ".csv");
    std::string text;
    for (int i = 0; i < lines; ++i) {
        const int day = i % kDaysPerStation;
        text += "Q" + std::to_string(i / kDaysPerStation) + ";" + std::to_string(day % 28 + 1) +
                "/" + std::to_string(day / 28 % 12 + 1) + "/2005;" + std::to_string(i % 500) +
                ".25\n";
    }
    return wqtest::WriteTextFile(path, text);
}

const std::string& FileOf(bool daily, int lines)
{
    static std::map<std::pair<bool, int>, std::string> files;
    auto [entry, made] = files.try_emplace({daily, lines});
    if (made)
        entry->second = daily ? FlowFile(lines) : StationFile(lines);
    return entry->second;
}

// A session with one country and its RBD, and the flow stations the daily
// file names.
struct TBenchSession {
    explicit TBenchSession(int flowStations)
    {
        Session = session.get();
        auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
        district = new TRegion(country, rtRBD, "GR01", "District");
        session->SetCountry(country);
        for (int i = 0; i < flowStations; ++i)
            new TStreamFlow(district, "Q" + std::to_string(i));
    }
    ~TBenchSession() { Session = nullptr; }

    std::unique_ptr<TSession> session = std::make_unique<TSession>();
    TRegion* district = nullptr;
};

void BM_ImportStations(benchmark::State& state)
{
    const ScopedRegionalSettings settings('.', "dd/mm/yyyy");
    const auto lines = static_cast<int>(state.range(0));
    const std::string& file = FileOf(false, lines);
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<TBenchSession>(0);
        state.ResumeTiming();
        const TCsvRunResult result =
            TCsvStationsImport({{file, ";", "1"}, skWell, "2008"}).Import();
        if (!result.Passed || bench->session->FWells.Count() != lines)
            state.SkipWithError("the import failed");
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
}

void BM_ImportDaily(benchmark::State& state)
{
    const ScopedRegionalSettings settings('.', "dd/mm/yyyy");
    const auto lines = static_cast<int>(state.range(0));
    const std::string& file = FileOf(true, lines);
    const TBenchSession bench((lines + kDaysPerStation - 1) / kDaysPerStation);
    for (auto _ : state) {
        const TCsvRunResult result = TCsvFlowImport(TCsvSettingsText{file, ";", "1"}).Import();
        if (!result.Passed)
            state.SkipWithError("the import failed");
    }
}

// Reading the file line by line and cutting every line at ";" into strings.
void BM_ReadAndSplit(benchmark::State& state)
{
    const std::string& file = FileOf(state.range(1) != 0, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::ifstream in(file);
        std::string line;
        std::vector<std::string> fields;
        std::size_t count = 0;
        while (std::getline(in, line)) {
            fields.clear();
            std::size_t start = 0;
            for (std::size_t end; (end = line.find(';', start)) != std::string::npos;
                 start = end + 1)
                fields.push_back(line.substr(start, end - start));
            fields.push_back(line.substr(start));
            count += fields.size();
        }
        benchmark::DoNotOptimize(count);
    }
}

void PrintRatios(const wqbench::RatioReporter& reporter)
{
    struct TImport {
        const char* name;
        const char* bench;
        int lines;
        int daily;
    };
    std::printf(
        "\nimport     per line, large / small (limit 1.3)   large / read+split (limit 5)\n");
    for (const TImport& import : {TImport{"stations", "BM_ImportStations", kStationLines, 0},
                                  TImport{"daily", "BM_ImportDaily", kDailyLines, 1}}) {
        const std::string small = std::to_string(import.lines / 10);
        const std::string large = std::to_string(import.lines);
        const double perLineSmall =
            reporter.Seconds(std::string(import.bench) + "/" + small) / (import.lines / 10);
        const double perLineLarge =
            reporter.Seconds(std::string(import.bench) + "/" + large) / import.lines;
        const double read =
            reporter.Seconds("BM_ReadAndSplit/" + large + "/" + std::to_string(import.daily));
        std::printf("%-10s %37.2f %30.2f\n", import.name, perLineLarge / perLineSmall,
                    perLineLarge * import.lines / read);
    }
}

}  // namespace

BENCHMARK(BM_ImportStations)
    ->Arg(kStationLines / 10)
    ->Arg(kStationLines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3);
BENCHMARK(BM_ImportDaily)
    ->Arg(kDailyLines / 10)
    ->Arg(kDailyLines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3);
BENCHMARK(BM_ReadAndSplit)
    ->Args({kStationLines, 0})
    ->Args({kDailyLines, 1})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3);

int main(int argc, char* argv[])
{
    benchmark::Initialize(&argc, argv);
    wqbench::RunAndPrintRatios(PrintRatios);
    return 0;
}
