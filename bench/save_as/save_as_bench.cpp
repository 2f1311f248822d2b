// Save As of the large session of bench/datafile (datafile_session.h): the
// data file and its zip copy, against writing the data file alone (limit 1.4)
// and, as an anchor, against the same data file packed by `zip -1`, the level
// of the copy (limit 1.3). Each side writes files of its own name in the same
// folder, which every round starts without, as a first save into a folder
// does; the sides run in turn, round by round.
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

constexpr int kRounds = 3;

const wqtest::TempFolder& Folder()
{
    static const wqtest::TempFolder folder;
    return folder;
}

void BuildSession()
{
    static std::unique_ptr<TSession> session;
    session = std::make_unique<TSession>();
    Session = session.get();
    BuildRegionTree();
    FillSession();
}

std::string DataFile(const std::string& name)
{
    return Folder() / (name + ".wqd");
}

wqbench::TimedJob SaveJob(const std::string& name, const std::function<void()>& afterSave)
{
    return {[=] {
                SaveDataFile(DataFile(name));
                afterSave();
            },
            [=] {
                std::filesystem::remove(DataFile(name));
                std::filesystem::remove(ZipNameOf(DataFile(name)));
            }};
}

double Megabytes(const std::string& file)
{
    return static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}

void BM_SaveAsRatios(benchmark::State& state)
{
    BuildSession();
    // Why a side failed; the times of a failed side compare nothing.
    const char* failure = nullptr;
    const std::string ours = DataFile("ours");
    const std::string zipCommand =
        "cd " + wqtest::Quoted(Folder().Path()) + " && zip -1 -q zip.zip zip.wqd";
    const std::vector<wqbench::TimedJob> jobs = {
        SaveJob("alone", [] {}),
        SaveJob("ours",
                [&] {
                    if (!WriteZipCopy(ours, Folder().Path() + "/", ZipNameOf(ours)))
                        failure = "the zip copy was not written";
                }),
        SaveJob("zip", [&] {
            if (wqtest::Run(zipCommand) != 0)
                failure = "zip -1 did not pack the data file";
        })};
    for (auto _ : state) {
        const std::vector<double> best = wqbench::InterleavedBest(kRounds, jobs);
        if (failure) {
            state.SkipWithError(failure);
            return;
        }
        std::printf(
            "\nData file %.0f MB, zip copy %.0f MB (zip -1: %.0f MB)\n"
            "save alone %.2f s, Save As %.2f s, save + zip -1 %.2f s\n",
            Megabytes(ours), Megabytes(ZipNameOf(ours)), Megabytes(Folder() / "zip.zip"), best[0],
            best[1], best[2]);
        wqbench::AtMost("Save As / save alone", best[1] / best[0], 1.4);
        wqbench::AtMost("Save As / (save + zip -1)", best[1] / best[2], 1.3);
    }
}

}  // namespace

BENCHMARK(BM_SaveAsRatios)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char* argv[])
{
    wqbench::Initialize(argc, argv);
    return wqbench::RunChecked();
}
