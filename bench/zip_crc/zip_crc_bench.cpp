// CRC-32 throughput of the archiver against libdeflate's crc32 (the fastest
// one at hand) on the same 64 MiB buffer, the two run in turn, best of seven
// each; zlib's crc32 is printed beside them as an anchor.

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <libdeflate.h>
#include <random>
#include <vector>
#include <zlib.h>

#include "bench/support/ratio_reporter.h"
#include "zip/format/ZACrc32.h"

namespace {

constexpr std::size_t kSize = 64u << 20;
constexpr int kRounds = 7;
constexpr double kMinRatio = 0.8;

const std::vector<std::uint8_t>& Buffer()
{
    static const std::vector<std::uint8_t> buffer = [] {
        std::vector<std::uint8_t> data(kSize);
        std::mt19937_64 random(42);
        for (auto& byte : data)
            byte = static_cast<std::uint8_t>(random());
        return data;
    }();
    return buffer;
}

std::uint32_t Ours()
{
    return Crc32Of(Buffer().data(), Buffer().size());
}

std::uint32_t Libdeflate()
{
    return libdeflate_crc32(0, Buffer().data(), Buffer().size());
}

std::uint32_t Zlib()
{
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), Buffer().data(), static_cast<uInt>(Buffer().size())));
}

wqbench::TimedJob Job(std::uint32_t (*crc)())
{
    return {[crc] { benchmark::DoNotOptimize(crc()); }};
}

void BM_Crc32Ratios(benchmark::State& state)
{
    for (auto _ : state) {
        if (Ours() != Libdeflate() || Ours() != Zlib()) {
            state.SkipWithError("the CRCs differ");
            return;
        }
        const std::vector<double> best =
            wqbench::InterleavedBest(kRounds, {Job(Ours), Job(Libdeflate), Job(Zlib)});
        const auto rate = [](double seconds) { return static_cast<double>(kSize) / seconds / 1e9; };
        std::printf("CRC-32 of 64 MiB: ours %.1f GB/s, libdeflate %.1f GB/s, zlib %.1f GB/s\n",
                    rate(best[0]), rate(best[1]), rate(best[2]));
        wqbench::AtLeast("CRC-32 throughput ours / libdeflate", best[1] / best[0], kMinRatio);
    }
}
BENCHMARK(BM_Crc32Ratios)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    wqbench::Initialize(argc, argv);
    return wqbench::RunChecked();
}
