// Saving and loading the data file of a large session (see datafile_session.h).
// Counters: "ratio" is our time over pugixml's own on the same document
// (serialising it to a file, or parsing the file); "peak_per_byte" is the
// growth of the resident memory during one save or load over the file's size.
//
//   build/bench/bench_datafile

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "datafile_session.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int Rounds = 5;

std::string ScratchPath(const std::string& name)
{
    static const wqtest::TempFolder folder;
    return folder / name;
}

// The best of a few rounds; `prepare` runs untimed before each.
double BestSeconds(const std::function<void()>& timed, const std::function<void()>& prepare = {})
{
    double best = 1e30;
    for (int round = 0; round < Rounds; ++round) {
        if (prepare)
            prepare();
        const auto start = std::chrono::steady_clock::now();
        timed();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// A session of its own as the global Session while it lives.
class BenchSession {
public:
    BenchSession() : session_(std::make_unique<TSession>()) { Session = session_.get(); }
    TSession& operator*() { return *session_; }

private:
    std::unique_ptr<TSession> session_;
};

// The figure of /proc/self/status named `field`, in bytes.
double StatusBytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) * 1024.0;
    return 0;
}

// How much the resident memory grows at its peak while `action` runs.
double PeakGrowth(const std::function<void()>& action)
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const double before = StatusBytes("VmRSS");
    action();
    return StatusBytes("VmHWM") - before;
}

void SaveFullSession(const std::string& path)
{
    BenchSession session;
    BuildRegionTree();
    FillSession();
    SaveDataFile(path);
}

void BM_SaveDataFile(benchmark::State& state)
{
    const std::string ours = ScratchPath("ours.wqd");
    const std::string theirs = ScratchPath("pugixml.wqd");
    BenchSession session;
    BuildRegionTree();
    FillSession();
    for (auto _ : state) {
        const double oursSeconds = BestSeconds([&] { SaveDataFile(ours); });
        pugi::xml_document document;
        document.load_file(ours.c_str());
        const double pugixmlSeconds = BestSeconds([&] {
            document.save_file(theirs.c_str(), "  ", pugi::format_indent | pugi::format_write_bom,
                               pugi::encoding_utf8);
        });
        state.counters["ours_s"] = oursSeconds;
        state.counters["pugixml_s"] = pugixmlSeconds;
        state.counters["ratio"] = oursSeconds / pugixmlSeconds;
        const double fileBytes = static_cast<double>(std::filesystem::file_size(ours));
        state.counters["file_MB"] = fileBytes / 1e6;
        state.counters["peak_per_byte"] = PeakGrowth([&] { SaveDataFile(ours); }) / fileBytes;
    }
    std::filesystem::remove(ours);
    std::filesystem::remove(theirs);
}
BENCHMARK(BM_SaveDataFile)->Iterations(1)->Unit(benchmark::kSecond);

void BM_LoadDataFile(benchmark::State& state)
{
    const std::string path = ScratchPath("load.wqd");
    SaveFullSession(path);
    const double fileBytes = static_cast<double>(std::filesystem::file_size(path));
    for (auto _ : state) {
        std::unique_ptr<BenchSession> session;
        const auto freshTree = [&] {
            session.reset();
            session = std::make_unique<BenchSession>();
            BuildRegionTree();
            (**session).FDataFile = path;
        };
        const double oursSeconds = BestSeconds(LoadDataFile, freshTree);
        freshTree();
        const double peak = PeakGrowth(LoadDataFile);
        session.reset();

        std::unique_ptr<pugi::xml_document> document;
        const double pugixmlSeconds =
            BestSeconds([&] { document->load_file(path.c_str()); },
                        [&] { document = std::make_unique<pugi::xml_document>(); });
        document = std::make_unique<pugi::xml_document>();
        const double pugixmlPeak = PeakGrowth([&] { document->load_file(path.c_str()); });
        document.reset();

        state.counters["ours_s"] = oursSeconds;
        state.counters["pugixml_s"] = pugixmlSeconds;
        state.counters["ratio"] = oursSeconds / pugixmlSeconds;
        state.counters["file_MB"] = fileBytes / 1e6;
        state.counters["peak_per_byte"] = peak / fileBytes;
        state.counters["pugixml_peak_per_byte"] = pugixmlPeak / fileBytes;
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadDataFile)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
