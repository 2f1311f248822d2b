// Opening an archive of 100,000 entries made by Info-ZIP, as a user meets it:
// a whole process that opens the archive, lists its names and frees
// everything (zip_list_names beside this program) against `unzip -Z1` listing
// the same archive, the two started in turn, with the peak memory of each;
// the cost of one name look-up at 1,000 and at 100,000 items, the two sizes
// timed in turn; the first look-up, the adding of one file and the replacing
// of the first file (which copies every other item to its new place) in
// archives whose names share a hash (131,072 names made to collide under
// FNV-1a, and 100,000 copies of one name) against an archive of 100,000 plain
// names; and
// rebuilding the directory of two damaged files of local headers as a whole
// process, against opening the plain archive.
// Prints each figure with its limit and ends with status 1 when one is missed.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
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
#include "tests/zip/directory/hostile_archives.h"
#include "tests/zip/zip_builder.h"
#include "zip/archiver/ZipArchiver.h"
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

// 2^17 names that collide: 1.3 times as many as the plain names, and four
// times as long, so that they take longer to read and hash.
constexpr int kCollidingDoublings = 17;
constexpr int kHostileRounds = 5;
constexpr double kHostileRatioLimit = 3.0;
// 16 MiB of headers awaiting descriptors make 5.4 times the items of the
// plain archive, each costing about what an item read from a directory costs.
constexpr std::size_t kDamagedSize = 16 << 20;
constexpr double kRebuildTimeRatioLimit = 10.0;
constexpr double kRebuildPeakRatioLimit = 8.0;

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

std::string ProgramBeside(const std::string& name)
{
    return (fs::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// Runs a program with its output thrown away, from run_alone beside this
// program, which times it from the start of its process to its end and tells
// its peak memory: that of its own process alone.
ChildFigures RunChild(const std::vector<std::string>& arguments)
{
    std::string command = wqtest::Quoted(ProgramBeside("run_alone"));
    for (const std::string& argument : arguments) {
        command += " " + wqtest::Quoted(argument);
    }
    const auto run = wqtest::RunWithOutput(command);
    ChildFigures figures;
    long peakKiB = 0;
    int status = -1;
    if (run.exitCode != 0 ||
        std::sscanf(run.output.c_str(), "%lf %ld %d", &figures.seconds, &peakKiB, &status) != 3) {
        return figures;
    }
    figures.peakMiB = static_cast<double>(peakKiB) / 1024.0;
    figures.succeeded = status == 0;
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
    double launcherMiB = 0;
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
    const std::string ours = ProgramBeside("zip_list_names");
    OpenFigures& figures = Open();
    for (auto _ : state) {
        figures.sameNames = ListingsAgree(ours, wqtest::Quoted(archive));
        figures.launcherMiB = RunChild({"true"}).peakMiB;
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

// Archives whose names are all that sets them apart, made once per run: the
// plain one, one of names that collide under FNV-1a, and one of copies of one
// name; each with the name a look-up asks for, a file to add, and a first
// file that a file of the same name replaces.
class ArchivesOfNames {
public:
    struct Archive {
        const char* kind;
        std::string file;
        std::string probe;
    };

    ArchivesOfNames()
    {
        std::vector<std::string> plain;
        for (int i = 0; i < kEntries; ++i) {
            plain.push_back(StationName(i));
        }
        const std::vector<std::string> colliding =
            zatest::NamesSharingOneFnvHash(kCollidingDoublings);
        archives_ = {Write("plain", plain, plain[kEntries / 2]),
                     Write("colliding", colliding, colliding[colliding.size() / 2]),
                     Write("copies", std::vector<std::string>(kEntries, plain[0]), plain[0])};
        std::filesystem::create_directories(folder_ / "added");
        wqtest::WriteTextFile(folder_ / "added/new.xml", "<new/>");
        wqtest::WriteTextFile(folder_ / "added/" + std::string(kFirstName), "<first/>");
    }

    static constexpr const char* kFirstName = "first.xml";

    const std::vector<Archive>& Archives() const { return archives_; }
    std::string WorkCopy() const { return folder_ / "work.zip"; }
    std::string AddedFolder() const { return folder_ / "added"; }

private:
    Archive Write(const char* kind, const std::vector<std::string>& names, const std::string& probe)
    {
        std::vector<zatest::BuildEntry> entries;
        entries.reserve(names.size() + 1);
        entries.push_back({kFirstName, "", false, ""});
        for (const std::string& name : names) {
            entries.push_back({name, "", false, ""});
        }
        const std::string file = folder_ / (std::string(kind) + ".zip");
        wqtest::WriteFileBytes(file, zatest::BuildZip(entries));
        return {kind, file, probe};
    }

    wqtest::TempFolder folder_;
    std::vector<Archive> archives_;
};

struct HostileFigures {
    bool measured = false;
    std::vector<std::string> kinds;
    std::vector<double> firstLookup;
    std::vector<double> addOne;
    std::vector<double> replaceFirst;
};

HostileFigures& Hostile()
{
    static HostileFigures figures;
    return figures;
}

// The first look-up after an open builds the name index.
wqbench::TimedJob FirstLookup(const ArchivesOfNames::Archive& archive,
                              std::unique_ptr<TZipArchiver>& zip)
{
    return {[&] {
                int index = -1;
                zip->DirManager()->Items().FindName(archive.probe, index);
                benchmark::DoNotOptimize(index);
            },
            [&] {
                zip = std::make_unique<TZipArchiver>();
                zip->SetFileName(archive.file);
                zip->OpenArchive(ZAModeReadOnly);
            }};
}

// Opening a copy of the archive, adding one file and closing, as a user does.
wqbench::TimedJob AddOneFile(const ArchivesOfNames& archives,
                             const ArchivesOfNames::Archive& archive, const std::string& file)
{
    return {[&archives, file] {
                TZipArchiver zip;
                zip.SetFileName(archives.WorkCopy());
                zip.OpenArchive(ZAModeReadWrite);
                zip.SetBaseDir(archives.AddedFolder());
                zip.AddFiles(file);
                zip.CloseArchive();
            },
            [&] {
                fs::copy_file(archive.file, archives.WorkCopy(),
                              fs::copy_options::overwrite_existing);
            }};
}

void BM_NamesSharingAHash(benchmark::State& state)
{
    const ArchivesOfNames archives;
    const auto& list = archives.Archives();
    std::vector<std::unique_ptr<TZipArchiver>> opened(list.size());
    HostileFigures& figures = Hostile();
    for (auto _ : state) {
        std::vector<wqbench::TimedJob> lookups;
        std::vector<wqbench::TimedJob> adds;
        std::vector<wqbench::TimedJob> replaces;
        for (std::size_t i = 0; i < list.size(); ++i) {
            lookups.push_back(FirstLookup(list[i], opened[i]));
            adds.push_back(AddOneFile(archives, list[i], "new.xml"));
            replaces.push_back(AddOneFile(archives, list[i], ArchivesOfNames::kFirstName));
        }
        figures.firstLookup = wqbench::InterleavedBest(kHostileRounds, lookups);
        opened.clear();
        figures.addOne = wqbench::InterleavedBest(kHostileRounds, adds);
        figures.replaceFirst = wqbench::InterleavedBest(kHostileRounds, replaces);
    }
    for (const auto& archive : list) {
        figures.kinds.push_back(archive.kind);
    }
    figures.measured = true;
}
BENCHMARK(BM_NamesSharingAHash)->Iterations(1)->Unit(benchmark::kMillisecond);

struct RebuildFigures {
    bool measured = false;
    SideFigures open;
    SideFigures signatures;
    SideFigures descriptors;
};

RebuildFigures& Rebuilds()
{
    static RebuildFigures figures;
    return figures;
}

// Files of local headers without an end record, whose directory the open
// rebuilds, against the open of the plain archive of about their size.
void BM_RebuildDamaged(benchmark::State& state)
{
    const wqtest::TempFolder folder;
    const std::string signatures = wqtest::WriteFileBytes(
        folder / "signatures.zip", zatest::RepeatedLocalHeaderSignatures(kDamagedSize));
    const std::string descriptors = wqtest::WriteFileBytes(
        folder / "descriptors.zip", zatest::HeadersAwaitingDescriptors(kDamagedSize));
    const std::string ours = ProgramBeside("zip_list_names");
    RebuildFigures& figures = Rebuilds();
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            figures.open.Take(RunChild({ours, Archive().FileName()}));
            figures.signatures.Take(RunChild({ours, signatures}));
            figures.descriptors.Take(RunChild({ours, descriptors}));
        }
    }
    figures.measured = true;
}
BENCHMARK(BM_RebuildDamaged)->Iterations(1)->Unit(benchmark::kMillisecond);

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
        "peak memory, whole process: ours (zip_list_names) %.1f MiB, unzip -Z1 %.1f MiB, "
        "ratio %.2f (each started from run_alone, which passes on %.1f MiB)\n",
        figures.ours.peakMiB, figures.unzip.peakMiB, figures.ours.peakMiB / figures.unzip.peakMiB,
        figures.launcherMiB);
    wqbench::AtMost("peak memory of our open in MiB", figures.ours.peakMiB, kOpenPeakLimitMiB);
}

void PrintHostileFigures()
{
    const HostileFigures& figures = Hostile();
    if (!figures.measured) {
        return;
    }
    std::printf("names sharing a hash, best of %d:\n", kHostileRounds);
    for (std::size_t i = 0; i < figures.kinds.size(); ++i) {
        std::printf(
            "  %-9s first look-up %9.2f ms, adding one file %9.2f ms, replacing the first "
            "%9.2f ms\n",
            figures.kinds[i].c_str(), figures.firstLookup[i] * 1e3, figures.addOne[i] * 1e3,
            figures.replaceFirst[i] * 1e3);
    }
    for (std::size_t i = 1; i < figures.kinds.size(); ++i) {
        const std::string kind = figures.kinds[i];
        wqbench::AtMost("first look-up, " + kind + " / plain",
                        wqbench::Ratio(figures.firstLookup[i], figures.firstLookup[0]),
                        kHostileRatioLimit);
        wqbench::AtMost("adding one file, " + kind + " / plain",
                        wqbench::Ratio(figures.addOne[i], figures.addOne[0]), kHostileRatioLimit);
        wqbench::AtMost("replacing the first file, " + kind + " / plain",
                        wqbench::Ratio(figures.replaceFirst[i], figures.replaceFirst[0]),
                        kHostileRatioLimit);
    }
}

void PrintRebuildFigures()
{
    const RebuildFigures& figures = Rebuilds();
    if (!figures.measured) {
        return;
    }
    if (!figures.open.succeeded || !figures.signatures.succeeded ||
        !figures.descriptors.succeeded) {
        std::printf("rebuild of damaged files: an open failed\n");
        wqbench::AtMost("rebuild / open of the plain archive", NAN, kRebuildTimeRatioLimit);
        return;
    }
    std::printf(
        "whole process, best time and largest peak of %d: open of the plain archive %.1f ms "
        "%.1f MiB; rebuild of %zu MiB of repeated signatures %.1f ms %.1f MiB, of headers "
        "awaiting descriptors %.1f ms %.1f MiB\n",
        kRounds, figures.open.bestSeconds * 1e3, figures.open.peakMiB, kDamagedSize >> 20,
        figures.signatures.bestSeconds * 1e3, figures.signatures.peakMiB,
        figures.descriptors.bestSeconds * 1e3, figures.descriptors.peakMiB);
    for (const auto& [kind, side] :
         {std::pair{"repeated signatures", figures.signatures},
          std::pair{"headers awaiting descriptors", figures.descriptors}}) {
        wqbench::AtMost(std::string("rebuild time, ") + kind + " / open of the plain archive",
                        wqbench::Ratio(side.bestSeconds, figures.open.bestSeconds),
                        kRebuildTimeRatioLimit);
        wqbench::AtMost(std::string("rebuild peak, ") + kind + " / open of the plain archive",
                        wqbench::Ratio(side.peakMiB, figures.open.peakMiB), kRebuildPeakRatioLimit);
    }
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
    PrintHostileFigures();
    PrintRebuildFigures();
}

}  // namespace

int main(int argc, char** argv)
{
    wqbench::Initialize(argc, argv);
    return wqbench::RunAndPrintRatios(PrintRatios);
}
