// Writing archives with the archiver against its references, each measured in
// the same run: zlib's deflate over the same bytes in memory and Info-ZIP zip
// on the same file (64 MiB of data-file-like XML at modes 1 and 6), Info-ZIP
// zip on a tree of 10,000 small files, and the peak memory of a separate
// process that adds a 1 GiB file. The printed lines carry the ratios.

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>
#include <zlib.h>

#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "zip/ZipArchiver.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLargeSize = 64u << 20;
constexpr std::uint64_t kHugeSize = 1ull << 30;
constexpr int kSmallFiles = 10000;
constexpr int kSmallFolders = 100;
constexpr const char* kChildFlag = "--add-one-file";

// Text shaped like the program's data files: elements with attributes and numbers.
std::string XmlText(std::size_t size, unsigned seed)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ozr_wq>\r\n";
    text.reserve(size + 200);
    unsigned state = seed;
    while (text.size() < size) {
        state = state * 1103515245 + 12345;
        text += "  <reservoir id=\"R" + std::to_string(state % 100000) + "\" name=\"Lake " +
                std::to_string((state >> 7) % 500) + "\">\r\n    <storage month=\"" +
                std::to_string(state % 12 + 1) + "\" value=\"" + std::to_string(state % 99991) +
                "," + std::to_string((state >> 3) % 100) + "\"/>\r\n  </reservoir>\r\n";
    }
    text.resize(size);
    return text;
}

wqtest::TempFolder& Folder()
{
    static wqtest::TempFolder folder;
    return folder;
}

const std::string& LargeText()
{
    static const std::string text = XmlText(kLargeSize, 11);
    return text;
}

const std::string& LargeFile()
{
    static const std::string file = [] {
        return wqtest::WriteTextFile(Folder() / "large.xml", LargeText());
    }();
    return file;
}

const std::string& SmallTree()
{
    static const std::string root = [] {
        const std::string tree = Folder() / "tree";
        for (int i = 0; i < kSmallFiles; ++i) {
            const std::string folder = tree + "/f" + std::to_string(i % kSmallFolders);
            fs::create_directories(folder);
            wqtest::WriteTextFile(
                folder + "/s" + std::to_string(i) + ".wqd",
                XmlText(1000 + static_cast<std::size_t>(i % 7) * 300, static_cast<unsigned>(i)));
        }
        return tree;
    }();
    return root;
}

template <typename F>
double BestSeconds(F&& job, int rounds)
{
    double best = 1e9;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        job();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void AddWithArchiver(const std::string& archive, const std::string& baseDir,
                     const std::string& mask, int mode)
{
    fs::remove(archive);
    TZipArchiver zip;
    zip.SetCompressionMode(static_cast<std::uint8_t>(mode));
    zip.SetFileName(archive);
    zip.OpenArchive(ZAModeCreate);
    zip.SetBaseDir(baseDir);
    zip.AddFiles(mask);
    zip.CloseArchive();
}

std::size_t ZlibDeflate(const std::string& text, int level)
{
    static std::vector<Bytef> out;
    z_stream stream{};
    deflateInit(&stream, level);
    out.resize(deflateBound(&stream, text.size()));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    const std::size_t size = stream.total_out;
    deflateEnd(&stream);
    return size;
}

void BM_AddLargeFile(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    const std::string archive = Folder() / "large.zip";
    for (auto _ : state) {
        AddWithArchiver(archive, Folder() / "", LargeFile(), mode);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLargeSize));
}
BENCHMARK(BM_AddLargeFile)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);

void BM_ZlibInMemory(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(ZlibDeflate(LargeText(), static_cast<int>(state.range(0))));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLargeSize));
}
BENCHMARK(BM_ZlibInMemory)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);

// Each reference and ours alternately, best of five, so that the ratio
// compares like with like on a shared machine.
void BM_LargeFileRatios(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    const std::string archive = Folder() / "ratio.zip";
    const std::string infoZipArchive = Folder() / "infozip.zip";
    const std::string infoZip =
        "zip -q -" + std::to_string(mode) + " " + infoZipArchive + " " + LargeFile();
    const bool haveZip = wqtest::HasProgram("zip");
    for (auto _ : state) {
        const double ours =
            BestSeconds([&] { AddWithArchiver(archive, Folder() / "", LargeFile(), mode); }, 5);
        const double zlib = BestSeconds([&] { ZlibDeflate(LargeText(), mode); }, 5);
        const double zip = haveZip ? BestSeconds(
                                         [&] {
                                             fs::remove(infoZipArchive);
                                             wqtest::Run(infoZip);
                                         },
                                         5)
                                   : 0.0;
        state.counters["vs_zlib"] = zlib / ours;
        state.counters["vs_infozip"] = zip / ours;
        std::printf(
            "64 MiB XML at mode %d: ours %.1f MB/s, zlib in memory %.1f MB/s, "
            "Info-ZIP %.1f MB/s; throughput ratio to zlib %.2f, to Info-ZIP %.2f; "
            "sizes ours %lld, Info-ZIP %lld\n",
            mode, kLargeSize / ours / 1e6, kLargeSize / zlib / 1e6,
            haveZip ? kLargeSize / zip / 1e6 : 0.0, zlib / ours, zip / ours,
            static_cast<long long>(fs::file_size(archive)),
            haveZip ? static_cast<long long>(fs::file_size(infoZipArchive)) : 0LL);
    }
}
BENCHMARK(BM_LargeFileRatios)->Arg(1)->Arg(6)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SmallFilesRatio(benchmark::State& state)
{
    const std::string tree = SmallTree();
    const std::string archive = Folder() / "small.zip";
    const std::string infoZipArchive = Folder() / "small-infozip.zip";
    const bool haveZip = wqtest::HasProgram("zip");
    for (auto _ : state) {
        const double ours = BestSeconds([&] { AddWithArchiver(archive, tree, "*", 1); }, 3);
        const double zip =
            haveZip
                ? BestSeconds(
                      [&] {
                          fs::remove(infoZipArchive);
                          wqtest::Run("cd " + tree + " && zip -q -1 -r " + infoZipArchive + " .");
                      },
                      3)
                : 0.0;
        state.counters["time_vs_infozip"] = ours / zip;
        std::printf(
            "10,000 small files: ours %.3f s, Info-ZIP zip -q -1 -r %.3f s; "
            "time ratio ours / Info-ZIP %.2f\n",
            ours, zip, ours / zip);
    }
}
BENCHMARK(BM_SmallFilesRatio)->Iterations(1)->Unit(benchmark::kMillisecond);

// The child process: adds one file to a new archive and prints its peak
// resident memory in KiB. VmHWM belongs to the process's own memory map; the
// rusage figure would still hold the parent's peak, carried over by exec.
int AddOneFile(const std::string& archive, const std::string& file)
{
    AddWithArchiver(archive, fs::path(file).parent_path().string(), file, 1);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::printf("%lld\n", std::atoll(line.c_str() + 6));
        }
    }
    return 0;
}

void WriteHugeFile(const std::string& name)
{
    const std::string block = XmlText(1 << 20, 5);
    std::ofstream out(name, std::ios::binary);
    for (std::uint64_t written = 0; written < kHugeSize; written += block.size()) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
}

void BM_PeakMemoryOfAHugeFile(benchmark::State& state)
{
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    for (auto _ : state) {
        wqtest::TempFolder scratch;
        const std::string file = scratch / "huge.xml";
        const std::string archive = scratch / "huge.zip";
        WriteHugeFile(file);
        FILE* child = popen((self + " " + kChildFlag + " " + archive + " " + file).c_str(), "r");
        long long peakKiB = -1;
        if (child != nullptr && std::fscanf(child, "%lld", &peakKiB) != 1) {
            peakKiB = -1;
        }
        const int status = child != nullptr ? pclose(child) : -1;
        const double peakMiB = static_cast<double>(peakKiB) / 1024.0;
        state.counters["peak_MiB"] = peakMiB;
        std::printf(
            "Adding a 1 GiB file: peak resident memory %.1f MiB (exit %d, archive %lld "
            "bytes)\n",
            peakMiB, WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            fs::exists(archive) ? static_cast<long long>(fs::file_size(archive)) : -1LL);
    }
}
BENCHMARK(BM_PeakMemoryOfAHugeFile)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], kChildFlag) == 0) {
        return AddOneFile(argv[2], argv[3]);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
