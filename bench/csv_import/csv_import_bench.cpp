// The two CSV imports against reading and splitting the same files with the
// standard library alone, and the memory that a very large import needs.
//
// Speed: the station-list and daily-flow imports, each checked (dry run) and
// imported, at a tenth of the size and at the full size (100,000 station
// lines, 1,000,000 daily lines), and the plain read of the full-size files.
// The station import's time ends with a look-up of a new station.
// Every run starts with the caches swept, as an import follows the user's
// choice of a file. The cases take turns, round after round, and each keeps
// its best round. Per line, the full size may cost at most 1.3 times the
// tenth; the station import at most 3 times the plain read, the daily import
// at most 5 times.
//
// Memory: the daily import of a 1 GB file in a fresh process, once as UTF-8
// and once as Windows-1252: the process's peak during the import less what it
// held before (the session and its stations), at most 1.2 bytes per byte of
// input.
//
// The program ends with status 1 when an import fails or a figure is over its
// limit.

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/caches.h"
#include "bench/support/process_memory.h"
#include "bench/support/ratio_reporter.h"
#include "io/ozr_io_csv_flow.h"
#include "io/ozr_io_csv_stations.h"
#include "platform/regional_settings.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kStationLines = 100'000;
constexpr int kDailyLines = 1'000'000;
constexpr int kDaysPerStation = 365;
constexpr int kRounds = 5;
constexpr std::uintmax_t kHugeSize = 1'000'000'000;
constexpr const char* kChildFlag = "--import-daily-file";

constexpr double kMaxGrowthPerLine = 1.3;
constexpr double kMaxStationsOverRead = 3;
constexpr double kMaxDailyOverRead = 5;
constexpr double kMaxPeakPerByte = 1.2;

const wqtest::TempFolder& Folder()
{
    static const wqtest::TempFolder folder;
    return folder;
}

std::string StationLine(int i)
{
    return "rbd;GR01;W" + std::to_string(i) + ";Well number " + std::to_string(i) + ";23." +
           std::to_string(i % 1000) + ";38." + std::to_string(i % 997) + "\n";
}

// Each station has a line for each of 365 days of 2005.
std::string DailyLine(int i)
{
    const int day = i % kDaysPerStation;
    return "Q" + std::to_string(i / kDaysPerStation) + ";" + std::to_string(day % 28 + 1) + "/" +
           std::to_string(day / 28 % 12 + 1) + "/2005;" + std::to_string(i % 500) + ".25\n";
}

int StationsOfDailyLines(int lines)
{
    return (lines + kDaysPerStation - 1) / kDaysPerStation;
}

const std::string& FileOf(bool daily, int lines)
{
    static std::map<std::pair<bool, int>, std::string> files;
    auto [entry, made] = files.try_emplace({daily, lines});
    if (made) {
        entry->second = Folder() / ((daily ? "flow" : "stations") + std::to_string(lines) + ".csv");
        std::ofstream out(entry->second, std::ios::binary);
        for (int i = 0; i < lines; ++i)
            out << (daily ? DailyLine(i) : StationLine(i));
    }
    return entry->second;
}

// A session with one country and its RBD, and the flow stations that the
// daily files name.
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

// Why an import did not pass: its first finding.
std::string ImportFailure(const TCsvRunResult& result)
{
    return "the import failed: " + (result.Lines.empty() ? std::string() : result.Lines.front());
}

void BM_ImportStations(benchmark::State& state)
{
    const ScopedRegionalSettings settings('.', "dd/mm/yyyy");
    const auto lines = static_cast<int>(state.range(0));
    const std::string& file = FileOf(false, lines);
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<TBenchSession>(0);
        state.ResumeTiming();
        wqbench::EvictCaches(state);
        const TCsvRunResult result =
            TCsvStationsImport({{file, ";", "1"}, skWell, "2008"}).Import();
        // The ID index takes the last new stations at its next look-up: one
        // look-up belongs to the time, so that it covers the index complete.
        TEntity* last = nullptr;
        if (!result.Passed || bench->session->FWells.Count() != lines ||
            !FindStation("W" + std::to_string(lines - 1), skWell, last)) {
            state.SkipWithError(result.Passed ? "the import did not make every station"
                                              : ImportFailure(result).c_str());
            break;
        }
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
    const TBenchSession bench(StationsOfDailyLines(lines));
    for (auto _ : state) {
        wqbench::EvictCaches(state);
        const TCsvRunResult result = TCsvFlowImport(TCsvSettingsText{file, ";", "1"}).Import();
        if (!result.Passed) {
            state.SkipWithError(ImportFailure(result).c_str());
            break;
        }
    }
}

// Reading the file line by line and cutting every line at ";" into strings.
void BM_ReadAndSplit(benchmark::State& state)
{
    const std::string& file = FileOf(state.range(1) != 0, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        wqbench::EvictCaches(state);
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

// The child process: imports the daily file into a session with its stations
// and prints the memory it held before the import and its peak during it, in
// bytes, and whether the import passed.
int ImportDailyFile(const char* file, int stations)
{
    const ScopedRegionalSettings settings('.', "dd/mm/yyyy");
    const TBenchSession bench(stations);
    const double before = wqbench::StatusBytes("VmRSS");
    wqbench::ResetPeak();
    const bool passed = TCsvFlowImport(TCsvSettingsText{file, ";", "1"}).Import().Passed;
    std::printf("%.0f %.0f %d\n", before, wqbench::StatusBytes("VmHWM"), passed ? 1 : 0);
    return 0;
}

struct TPeak {
    const char* encoding;
    double perByte;
};
std::vector<TPeak> peaks;

// The import's peak less what the process held before, per byte of the file,
// or NaN when the child failed.
double PeakPerByte(const std::string& file, int stations)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command =
        self + " " + kChildFlag + " " + file + " " + std::to_string(stations);
    FILE* child = popen(command.c_str(), "r");
    double before = 0;
    double peak = 0;
    int passed = 0;
    const bool read =
        child != nullptr && std::fscanf(child, "%lf %lf %d", &before, &peak, &passed) == 3;
    const bool ended = child != nullptr && pclose(child) == 0;
    if (!read || !ended || !passed || before < 0 || peak < 0)
        return NAN;
    return (peak - before) / static_cast<double>(std::filesystem::file_size(file));
}

void BM_ImportMemory(benchmark::State& state)
{
    for (auto _ : state) {
        const std::string file = Folder() / "huge.csv";
        int lines = 0;
        {
            std::ofstream out(file, std::ios::binary);
            for (std::uintmax_t size = 0; size < kHugeSize; ++lines) {
                const std::string line = DailyLine(lines);
                out << line;
                size += line.size();
            }
        }
        const int stations = StationsOfDailyLines(lines);
        peaks.push_back({"UTF-8", PeakPerByte(file, stations)});
        // One byte that is not UTF-8, in a comment line, makes the whole file Windows-1252.
        std::ofstream(file, std::ios::binary | std::ios::app) << "* caf\xE9\n";
        peaks.push_back({"Windows-1252", PeakPerByte(file, stations)});
        std::filesystem::remove(file);
    }
}

// Nothing is printed for a figure whose runs were filtered out or failed (a
// failed run has failed the program already).
void PrintRatios(const wqbench::RatioReporter& reporter)
{
    struct TImport {
        const char* name;
        const char* bench;
        int lines;
        int daily;
        double maxOverRead;
    };
    std::printf("\n");
    for (const TImport& import :
         {TImport{"station", "BM_ImportStations", kStationLines, 0, kMaxStationsOverRead},
          TImport{"daily", "BM_ImportDaily", kDailyLines, 1, kMaxDailyOverRead}}) {
        const std::string small =
            std::string(import.bench) + "/" + std::to_string(import.lines / 10);
        const std::string large = std::string(import.bench) + "/" + std::to_string(import.lines);
        const std::string read =
            "BM_ReadAndSplit/" + std::to_string(import.lines) + "/" + std::to_string(import.daily);
        if (reporter.Has(small) && reporter.Has(large))
            wqbench::AtMost(std::string(import.name) + " import, time per line, full size / tenth",
                            reporter.Seconds(large) / reporter.Seconds(small) / 10,
                            kMaxGrowthPerLine);
        if (reporter.Has(large) && reporter.Has(read))
            wqbench::AtMost(std::string(import.name) + " import / read and split, full size",
                            reporter.Seconds(large) / reporter.Seconds(read), import.maxOverRead);
    }
    for (const TPeak& peak : peaks) {
        const std::string what =
            std::string("daily import of 1 GB as ") + peak.encoding + ", peak bytes per byte";
        wqbench::AtMost(what, peak.perByte, kMaxPeakPerByte);
    }
}

void Register(const char* name, void (*bench)(benchmark::State&), std::vector<int64_t> args)
{
    benchmark::RegisterBenchmark(name, bench)->Args(args)->Unit(benchmark::kMillisecond);
}

// Every case once per round, so that the sides take turns.
void RegisterRounds()
{
    for (int round = 0; round < kRounds; ++round) {
        Register("BM_ImportStations", BM_ImportStations, {kStationLines / 10});
        Register("BM_ImportStations", BM_ImportStations, {kStationLines});
        Register("BM_ReadAndSplit", BM_ReadAndSplit, {kStationLines, 0});
        Register("BM_ImportDaily", BM_ImportDaily, {kDailyLines / 10});
        Register("BM_ImportDaily", BM_ImportDaily, {kDailyLines});
        Register("BM_ReadAndSplit", BM_ReadAndSplit, {kDailyLines, 1});
    }
    benchmark::RegisterBenchmark("BM_ImportMemory", BM_ImportMemory)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[1], kChildFlag) == 0)
        return ImportDailyFile(argv[2], std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    RegisterRounds();
    return wqbench::RunAndPrintRatios(PrintRatios);
}
