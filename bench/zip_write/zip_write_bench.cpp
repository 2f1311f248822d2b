// Writing archives with the archiver against references measured in the same
// run, the sides run in turn round by round:
// - the data file of the large session of bench/datafile, added at modes 1
//   and 6 with 8 threads and with one, against zlib's raw deflate at the same
//   level on the same bytes in memory on one core (the floor of what zlib can
//   do) and pigz with 8 threads at the block size ours uses at that mode
//   (512 KiB, 1 MiB); pigz at its own 128 KiB blocks, libdeflate in memory on
//   one core and Info-ZIP zip on the file are printed beside them as anchors;
// - 65,536 small files into one archive against Info-ZIP zip -r, and as a
//   split set against the same files into one archive;
// - the peak memory of a separate process that adds a 1 GiB file.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <libdeflate.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <vector>
#include <zlib.h>

#include "bench/datafile/datafile_session.h"
#include "bench/support/process_memory.h"
#include "bench/support/ratio_reporter.h"
#include "io/ozr_io_save.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "zip/archiver/ZipArchiver.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLargeRounds = 3;
constexpr int kSmallRounds = 3;
constexpr int kPeerThreads = 8;
constexpr std::uint64_t kHugeSize = 1ull << 30;
constexpr int kSmallFiles = 65536;
constexpr int kSmallFolders = 256;
constexpr std::int64_t kVolumeSize = 10'000'000;
constexpr std::size_t kLibdeflatePiece = 32u << 20;
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

const wqtest::TempFolder& Folder()
{
    static const wqtest::TempFolder folder;
    return folder;
}

// The data file Save As writes for the large session, written once.
const std::string& DataFile()
{
    static const std::string file = [] {
        const std::string name = Folder() / "data.wqd";
        TSession session;
        Session = &session;
        BuildRegionTree();
        FillSession();
        SaveDataFile(name);
        Session = nullptr;
        return name;
    }();
    return file;
}

const std::vector<std::uint8_t>& DataBytes()
{
    static const std::vector<std::uint8_t> bytes = wqtest::ReadFileBytes(DataFile());
    return bytes;
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

void AddWithArchiver(TZipArchiver& zip, const std::string& archive, const std::string& baseDir,
                     const std::string& mask)
{
    zip.SetFileName(archive);
    zip.OpenArchive(ZAModeCreate);
    zip.SetBaseDir(baseDir);
    zip.AddFiles(mask);
    zip.CloseArchive();
}

// threads 0: one per core, the archiver's default.
void AddWithArchiver(const std::string& archive, const std::string& baseDir,
                     const std::string& mask, int mode, unsigned threads = 0)
{
    TZipArchiver zip;
    zip.SetCompressionMode(static_cast<std::uint8_t>(mode));
    zip.SetCompressionThreads(threads);
    AddWithArchiver(zip, archive, baseDir, mask);
}

// One raw deflate stream over the whole buffer; the output goes through a
// buffer that is reused, as a writer that hands it on would.
std::size_t ZlibRawDeflate(const std::vector<std::uint8_t>& data, int level)
{
    static std::vector<Bytef> out(1 << 20);
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        result = deflate(&stream, Z_FINISH);
    }
    const std::size_t size = stream.total_out;
    deflateEnd(&stream);
    return size;
}

// libdeflate works on whole buffers: the data go in pieces of 32 MiB.
std::size_t LibdeflateDeflate(const std::vector<std::uint8_t>& data, int level)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    std::vector<std::uint8_t> out(libdeflate_deflate_compress_bound(compressor, kLibdeflatePiece));
    std::size_t size = 0;
    for (std::size_t at = 0; at < data.size(); at += kLibdeflatePiece) {
        const std::size_t piece = std::min(kLibdeflatePiece, data.size() - at);
        size += libdeflate_deflate_compress(compressor, data.data() + at, piece, out.data(),
                                            out.size());
    }
    libdeflate_free_compressor(compressor);
    return size;
}

// pigz on the data file with 8 threads, at its own block size when blockKiB
// is empty; false when it failed.
bool RunPigz(const std::string& level, const std::string& blockKiB, const std::string& out)
{
    const std::string block = blockKiB.empty() ? "" : " -b " + blockKiB;
    return wqtest::Run("pigz -" + level + " -p " + std::to_string(kPeerThreads) + block + " -c " +
                       wqtest::Quoted(DataFile()) + " > " + wqtest::Quoted(out)) == 0;
}

double FileMegabytes(const std::string& file)
{
    return fs::exists(file) ? static_cast<double>(fs::file_size(file)) / 1e6 : 0.0;
}

// On one thread ours also reads the file and sums its CRC-32, which the
// reference in memory does not: at mode 1 about a tenth of zlib's own time.
constexpr double kMinOneThreadOverZlib = 0.85;

void BM_DataFileRatios(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    const std::string level = std::to_string(mode);
    const std::string ours = Folder() / "ours.zip";
    const std::string pigzFile = Folder() / "pigz.gz";
    const std::string pigzBlockFile = Folder() / "pigz-block.gz";
    const std::string blockKiB = std::to_string(BufferSizeOfMode(mode) / 1024);
    const std::string infoZipFile = Folder() / "infozip.zip";
    const std::vector<std::uint8_t>& data = DataBytes();
    const auto megabytesPerSecond = [&](double seconds) {
        return static_cast<double>(data.size()) / seconds / 1e6;
    };
    std::size_t zlibSize = 0;
    std::size_t libdeflateSize = 0;
    // Why a peer failed; the times of a failed side compare nothing.
    const char* failure = nullptr;
    const auto peer = [&failure](bool succeeded, const char* cause) {
        if (!succeeded)
            failure = cause;
    };
    const std::vector<wqbench::TimedJob> jobs = {
        {[&] { AddWithArchiver(ours, Folder().Path(), DataFile(), mode, kPeerThreads); },
         [&] { fs::remove(ours); }},
        {[&] { AddWithArchiver(ours, Folder().Path(), DataFile(), mode, 1); },
         [&] { fs::remove(ours); }},
        {[&] { zlibSize = ZlibRawDeflate(data, mode); }},
        {[&] { libdeflateSize = LibdeflateDeflate(data, mode); }},
        {[&] { peer(RunPigz(level, "", pigzFile), "pigz did not pack the data file"); }},
        {[&] {
            peer(RunPigz(level, blockKiB, pigzBlockFile), "pigz -b did not pack the data file");
        }},
        {[&] {
             peer(wqtest::Run("zip -q -" + level + " " + wqtest::Quoted(infoZipFile) + " " +
                              wqtest::Quoted(DataFile())) == 0,
                  "zip did not pack the data file");
         },
         [&] { fs::remove(infoZipFile); }},
    };
    for (auto _ : state) {
        const std::vector<double> best = wqbench::InterleavedBest(kLargeRounds, jobs);
        if (failure) {
            state.SkipWithError(failure);
            return;
        }
        std::printf(
            "\nData file of %.0f MB at mode %d, MB/s and MB written:\n"
            "  ours, %d threads %7.1f  %7.1f\n"
            "  ours, 1 thread  %7.1f\n"
            "  zlib raw        %7.1f  %7.1f  (in memory, one core)\n"
            "  libdeflate      %7.1f  %7.1f  (in memory, one core)\n"
            "  pigz -p %d       %7.1f  %7.1f  (its 128 KiB blocks)\n"
            "  pigz -p %d -b    %7.1f  %7.1f  (-b %s: ours' blocks)\n"
            "  Info-ZIP zip    %7.1f  %7.1f\n",
            static_cast<double>(data.size()) / 1e6, mode, kPeerThreads, megabytesPerSecond(best[0]),
            FileMegabytes(ours), megabytesPerSecond(best[1]), megabytesPerSecond(best[2]),
            static_cast<double>(zlibSize) / 1e6, megabytesPerSecond(best[3]),
            static_cast<double>(libdeflateSize) / 1e6, kPeerThreads, megabytesPerSecond(best[4]),
            FileMegabytes(pigzFile), kPeerThreads, megabytesPerSecond(best[5]),
            FileMegabytes(pigzBlockFile), blockKiB.c_str(), megabytesPerSecond(best[6]),
            FileMegabytes(infoZipFile));
        const std::string at = " at mode " + level;
        const std::string threads = std::to_string(kPeerThreads) + " threads";
        wqbench::AtLeast("throughput ours, " + threads + " / zlib raw deflate" + at,
                         best[2] / best[0], 3.0);
        // The block size changes pigz's speed as it does ours: the limit
        // holds against pigz on blocks of the same size.
        wqbench::AtLeast("throughput ours, " + threads + " / pigz -p " +
                             std::to_string(kPeerThreads) + " -b " + blockKiB + at,
                         best[5] / best[0], 1.0);
        wqbench::AtLeast("throughput ours, 1 thread / zlib raw deflate" + at, best[2] / best[1],
                         kMinOneThreadOverZlib);
    }
}
BENCHMARK(BM_DataFileRatios)->Arg(1)->Arg(6)->Iterations(1)->Unit(benchmark::kSecond);

void RemoveFolder(const std::string& folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
}

void BM_SmallFilesRatios(benchmark::State& state)
{
    const std::string tree = SmallTree();
    const std::string single = Folder() / "single/small.zip";
    const std::string split = Folder() / "split/small.zip";
    const std::string infoZip = Folder() / "infozip/small.zip";
    const char* failure = nullptr;
    const std::vector<wqbench::TimedJob> jobs = {
        {[&] { AddWithArchiver(single, tree, "*", 1); },
         [&] { RemoveFolder(fs::path(single).parent_path()); }},
        {[&] {
             TZipArchiver zip;
             zip.SetCompressionMode(1);
             zip.SetSpanningMode(smSplitting);
             zip.SpanningOptions().VolumeSize = vsCustom;
             zip.SpanningOptions().SetCustomVolumeSize(kVolumeSize);
             AddWithArchiver(zip, split, tree, "*");
         },
         [&] { RemoveFolder(fs::path(split).parent_path()); }},
        {[&] {
             if (wqtest::Run("cd " + wqtest::Quoted(tree) + " && zip -q -1 -r " +
                             wqtest::Quoted(infoZip) + " .") != 0)
                 failure = "zip -r did not pack the small files";
         },
         [&] { RemoveFolder(fs::path(infoZip).parent_path()); }},
    };
    for (auto _ : state) {
        const std::vector<double> best = wqbench::InterleavedBest(kSmallRounds, jobs);
        if (failure) {
            state.SkipWithError(failure);
            return;
        }
        std::printf(
            "\n%d small files at mode 1: one archive %.2f s, a split set of %.0f MB volumes "
            "%.2f s, Info-ZIP zip -r %.2f s\n",
            kSmallFiles, best[0], static_cast<double>(kVolumeSize) / 1e6, best[1], best[2]);
        wqbench::AtMost("time ours / Info-ZIP zip -r", best[0] / best[2], 1.1);
        wqbench::AtMost("time split set / one archive", best[1] / best[0], 2.0);
    }
}
BENCHMARK(BM_SmallFilesRatios)->Iterations(1)->Unit(benchmark::kSecond);

// The child process: adds one file to a new archive and prints its peak
// resident memory in KiB. VmHWM belongs to the process's own memory map; the
// rusage figure would still hold the parent's peak, carried over by exec.
int AddOneFile(const std::string& archive, const std::string& file)
{
    AddWithArchiver(archive, fs::path(file).parent_path().string(), file, 1);
    std::printf("%.0f\n", wqbench::StatusBytes("VmHWM") / 1024);
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
        std::printf("\nAdding a 1 GiB file: exit %d, archive %lld bytes\n",
                    WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                    fs::exists(archive) ? static_cast<long long>(fs::file_size(archive)) : -1LL);
        wqbench::AtMost("peak resident memory (MiB)", static_cast<double>(peakKiB) / 1024.0, 64);
    }
}
BENCHMARK(BM_PeakMemoryOfAHugeFile)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], kChildFlag) == 0) {
        return AddOneFile(argv[2], argv[3]);
    }
    wqbench::Initialize(argc, argv);
    return wqbench::RunChecked();
}
