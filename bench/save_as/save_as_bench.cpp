// Save As of the large session of bench/datafile (datafile_session.h): the
// data file and its zip copy, against the same session's data file written by
// SaveDataFile and packed by `zip -1`, the level of the copy. Each case writes
// a file of its own name in the same folder; the ratio is ours over the
// reference (limit 1.3).
//
//   build/bench/bench_save_as

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "appcore/save_as.h"
#include "bench/datafile/datafile_session.h"
#include "bench/support/ratio_reporter.h"
#include "io/ozr_io_save.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"

namespace {

const wqtest::TempFolder& Folder()
{
    static const wqtest::TempFolder folder;
    return folder;
}

// Built once for both cases: it takes longer than a save.
void EnsureSession()
{
    static std::unique_ptr<TSession> session;
    if (session)
        return;
    session = std::make_unique<TSession>();
    Session = session.get();
    BuildRegionTree();
    FillSession();
}

// Each round starts without the files of the previous one, as a first save
// into a folder does.
void RemoveOutputs(benchmark::State& state, const std::string& name)
{
    state.PauseTiming();
    std::filesystem::remove(Folder() / (name + ".wqd"));
    std::filesystem::remove(Folder() / (name + ".zip"));
    state.ResumeTiming();
}

void BM_SaveAs(benchmark::State& state)
{
    EnsureSession();
    const std::string data = Folder() / "ours.wqd";
    for (auto _ : state) {
        RemoveOutputs(state, "ours");
        SaveDataFile(data);
        if (!WriteZipCopy(data, Folder().Path() + "/", ZipNameOf(data)))
            state.SkipWithError("the zip copy failed");
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(data)) / 1e6;
    state.counters["zip_MB"] =
        static_cast<double>(std::filesystem::file_size(ZipNameOf(data))) / 1e6;
}

void BM_SaveAndZipMinus1(benchmark::State& state)
{
    EnsureSession();
    const std::string command =
        "cd " + wqtest::Quoted(Folder().Path()) + " && zip -1 -q zip.zip zip.wqd";
    for (auto _ : state) {
        RemoveOutputs(state, "zip");
        SaveDataFile(Folder() / "zip.wqd");
        if (wqtest::Run(command) != 0)
            state.SkipWithError("zip failed");
    }
    state.counters["zip_MB"] =
        static_cast<double>(std::filesystem::file_size(Folder() / "zip.zip")) / 1e6;
}

void PrintRatios(const wqbench::RatioReporter& reporter)
{
    const double ours = reporter.Seconds("BM_SaveAs");
    const double reference = reporter.Seconds("BM_SaveAndZipMinus1");
    std::printf(
        "\nSave As (data file + zip copy): %.2f s; SaveDataFile + zip -1: %.2f s\n"
        "ratio %.2f (limit 1.3)\n",
        ours, reference, reference > 0 ? ours / reference : 0.0);
}

}  // namespace

BENCHMARK(BM_SaveAs)->Iterations(1)->Repetitions(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_SaveAndZipMinus1)->Iterations(1)->Repetitions(3)->Unit(benchmark::kSecond);

int main(int argc, char* argv[])
{
    benchmark::Initialize(&argc, argv);
    wqbench::RunAndPrintRatios(PrintRatios);
    return 0;
}
