// CRC-32 throughput of the archiver against zlib's crc32() on the same 64 MiB
// buffer. The counter "ratio" (ours / zlib) is the figure to watch.

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>
#include <zlib.h>

#include "zip/ZACrc32.h"

namespace {

constexpr std::size_t kSize = 64u << 20;

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

template <typename F>
double SecondsFor(F&& crc)
{
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(crc());
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

std::uint32_t Ours()
{
    return Crc32Of(Buffer().data(), Buffer().size());
}

std::uint32_t Zlib()
{
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), Buffer().data(), static_cast<uInt>(Buffer().size())));
}

void BM_Crc32Ours(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Ours());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_Crc32Ours)->Unit(benchmark::kMillisecond);

void BM_Crc32Zlib(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Zlib());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_Crc32Zlib)->Unit(benchmark::kMillisecond);

// Both in one run, best of five each, so the ratio compares like with like.
void BM_Crc32RatioToZlib(benchmark::State& state)
{
    double ratio = 0;
    for (auto _ : state) {
        if (Ours() != Zlib())
            state.SkipWithError("CRC differs from zlib");
        ratio = SecondsFor(Zlib) / SecondsFor(Ours);
    }
    state.counters["ratio"] = ratio;
    std::printf("CRC-32 throughput ours / zlib on 64 MiB: %.2f\n", ratio);
}
BENCHMARK(BM_Crc32RatioToZlib)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
