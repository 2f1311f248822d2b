// Saving and loading the data file of a large session (see datafile_session.h),
// each against pugixml's own work on the same document (serialising it to a
// file, or parsing the file), the two sides run in turn round by round; and
// the growth of the resident memory during one save or load over the file's
// size. Every figure is printed beside its limit.
//
//   build/bench/bench_datafile

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <malloc.h>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/support/process_memory.h"
#include "bench/support/ratio_reporter.h"
#include "datafile_session.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int Rounds = 5;
constexpr double kMaxSaveRatio = 2.0;
constexpr double kMaxLoadRatio = 1.6;
constexpr double kMaxSavePeakPerByte = 0.1;
constexpr double kMaxLoadPeakPerByte = 2.7;

std::string ScratchPath(const std::string& name)
{
    static const wqtest::TempFolder folder;
    return folder / name;
}

// A session of its own as the global Session while it lives.
class BenchSession {
public:
    BenchSession() : session_(std::make_unique<TSession>()) { Session = session_.get(); }
    TSession& operator*() { return *session_; }

private:
    std::unique_ptr<TSession> session_;
};

// How much the resident memory grows at its peak while `action` runs.
double PeakGrowth(const std::function<void()>& action)
{
    malloc_trim(0);
    wqbench::ResetPeak();
    const double before = wqbench::StatusBytes("VmRSS");
    action();
    return wqbench::StatusBytes("VmHWM") - before;
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
        SaveDataFile(ours);
        pugi::xml_document document;
        if (!document.load_file(ours.c_str())) {
            state.SkipWithError("pugixml could not read the saved data file");
            return;
        }
        bool saved = true;
        const std::vector<double> best = wqbench::InterleavedBest(
            Rounds, {{[&] { SaveDataFile(ours); }}, {[&] {
                         saved = saved &&
                                 document.save_file(theirs.c_str(), "  ",
                                                    pugi::format_indent | pugi::format_write_bom,
                                                    pugi::encoding_utf8);
                     }}});
        if (!saved) {
            state.SkipWithError("pugixml could not save the data file");
            return;
        }
        const double fileBytes = static_cast<double>(std::filesystem::file_size(ours));
        std::printf("\nsave of a %.0f MB data file: %.2f s, pugixml alone %.2f s\n",
                    fileBytes / 1e6, best[0], best[1]);
        wqbench::AtMost("save / pugixml", best[0] / best[1], kMaxSaveRatio);
        wqbench::AtMost("save, peak memory growth per byte of the file",
                        PeakGrowth([&] { SaveDataFile(ours); }) / fileBytes, kMaxSavePeakPerByte);
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
        std::unique_ptr<pugi::xml_document> document;
        const auto freshDocument = [&] { document = std::make_unique<pugi::xml_document>(); };
        bool parsed = true;
        const std::vector<double> best = wqbench::InterleavedBest(
            Rounds,
            {{LoadDataFile, freshTree},
             {[&] { parsed = parsed && document->load_file(path.c_str()); }, freshDocument}});
        if (!parsed) {
            state.SkipWithError("pugixml could not read the data file");
            return;
        }
        freshTree();
        const double peak = PeakGrowth(LoadDataFile);
        session.reset();
        freshDocument();
        const double pugixmlPeak = PeakGrowth([&] { document->load_file(path.c_str()); });
        document.reset();

        std::printf(
            "\nload of a %.0f MB data file: %.2f s, pugixml alone %.2f s; pugixml's peak memory "
            "growth per byte %.2f\n",
            fileBytes / 1e6, best[0], best[1], pugixmlPeak / fileBytes);
        wqbench::AtMost("load / pugixml", best[0] / best[1], kMaxLoadRatio);
        wqbench::AtMost("load, peak memory growth per byte of the file", peak / fileBytes,
                        kMaxLoadPeakPerByte);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadDataFile)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    wqbench::Initialize(argc, argv);
    return wqbench::RunChecked();
}
