// AES-256 counter mode, SHA-1, HMAC-SHA1 and PBKDF2-HMAC-SHA1 of the archiver's
// cipher library against OpenSSL on the same data. Prints at the end:
//   throughput ratios (ours / OpenSSL; at least 0.5 wanted) for 64 MiB, and
//   the time ratio of PBKDF2 with 1000 iterations (ours / OpenSSL; at most 2.0).

#include <benchmark/benchmark.h>
#include <cstdio>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/sha.h>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "crypto/ZACipher.h"
#include "crypto/ZAhmac.h"
#include "crypto/ZApb_kdf.h"
#include "crypto/ZAsha1.h"

namespace {

constexpr std::size_t kDataSize = 64u << 20;
const std::uint8_t kKey[32] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                               17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
const std::uint8_t kSalt[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6};

std::vector<std::uint8_t>& Data()
{
    static std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> bytes(kDataSize);
        std::uint32_t state = 1;
        for (auto& byte : bytes) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(state >> 23);
        }
        return bytes;
    }();
    return data;
}

void CountBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDataSize));
}

void Aes256CtrOurs(benchmark::State& state)
{
    auto& data = Data();
    TCipher_Rijndael cipher(kKey, 32);
    cipher.SetMode(cmCTR);
    for (auto _ : state) {
        cipher.EncodeBuffer(data.data(), data.data(), data.size());
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

void Aes256CtrOpenSsl(benchmark::State& state)
{
    auto& data = Data();
    const std::uint8_t iv[16] = {1};
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(context, EVP_aes_256_ctr(), nullptr, kKey, iv);
    for (auto _ : state) {
        int length = 0;
        EVP_EncryptUpdate(context, data.data(), &length, data.data(),
                          static_cast<int>(data.size()));
        benchmark::ClobberMemory();
    }
    EVP_CIPHER_CTX_free(context);
    CountBytes(state);
}

void Sha1Ours(benchmark::State& state)
{
    const auto& data = Data();
    THashDigest digest;
    for (auto _ : state) {
        HashBuffer(SHA1Descriptor, data.data(), data.size(), digest);
        benchmark::DoNotOptimize(digest);
    }
    CountBytes(state);
}

void Sha1OpenSsl(benchmark::State& state)
{
    const auto& data = Data();
    unsigned char digest[20];
    unsigned int length = 0;
    for (auto _ : state) {
        EVP_Digest(data.data(), data.size(), digest, &length, EVP_sha1(), nullptr);
        benchmark::DoNotOptimize(digest);
    }
    CountBytes(state);
}

void HmacSha1Ours(benchmark::State& state)
{
    const auto& data = Data();
    THashDigest digest;
    for (auto _ : state) {
        THmacState hmac;
        HmacInit(hmac, &SHA1Descriptor, kKey, 20);
        HmacUpdate(hmac, data.data(), data.size());
        HmacFinal(hmac, digest);
        benchmark::DoNotOptimize(digest);
    }
    CountBytes(state);
}

void HmacSha1OpenSsl(benchmark::State& state)
{
    const auto& data = Data();
    unsigned char digest[20];
    unsigned int length = 0;
    for (auto _ : state) {
        HMAC(EVP_sha1(), kKey, 20, data.data(), data.size(), digest, &length);
        benchmark::DoNotOptimize(digest);
    }
    CountBytes(state);
}

// 66 bytes: the keys and verifier of an AES-256 entry.
void Pbkdf2Ours(benchmark::State& state)
{
    std::uint8_t key[66];
    for (auto _ : state) {
        Pbkdf2Sha1("password", 8, sizeof(key), key, 1000, sizeof(kSalt), kSalt);
        benchmark::DoNotOptimize(key);
    }
}

void Pbkdf2OpenSsl(benchmark::State& state)
{
    std::uint8_t key[66];
    for (auto _ : state) {
        PKCS5_PBKDF2_HMAC_SHA1("password", 8, kSalt, sizeof(kSalt), 1000, sizeof(key), key);
        benchmark::DoNotOptimize(key);
    }
}

BENCHMARK(Aes256CtrOurs)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(3);
BENCHMARK(Aes256CtrOpenSsl)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(3);
BENCHMARK(Sha1Ours)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(3);
BENCHMARK(Sha1OpenSsl)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(3);
BENCHMARK(HmacSha1Ours)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(3);
BENCHMARK(HmacSha1OpenSsl)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(3);
BENCHMARK(Pbkdf2Ours)->Unit(benchmark::kMicrosecond)->MinTime(1.0)->Repetitions(3);
BENCHMARK(Pbkdf2OpenSsl)->Unit(benchmark::kMicrosecond)->MinTime(1.0)->Repetitions(3);

constexpr double kMinThroughputRatio = 0.5;
constexpr double kMaxPbkdf2Ratio = 2.0;

void PrintThroughput(const wqbench::RatioReporter& reporter, const std::string& label,
                     const std::string& name)
{
    const double ours = reporter.Seconds(name + "Ours");
    const double reference = reporter.Seconds(name + "OpenSsl");
    const double mib = static_cast<double>(kDataSize) / (1 << 20);
    std::printf("%s: %.0f MiB/s against %.0f MiB/s\n", label.c_str(), mib / ours, mib / reference);
    wqbench::AtLeast(label + ", throughput ratio", wqbench::Ratio(reference, ours),
                     kMinThroughputRatio);
}

void PrintRatios(const wqbench::RatioReporter& reporter)
{
    std::printf("\nRatios against OpenSSL in this run:\n");
    PrintThroughput(reporter, "AES-256 counter mode, 64 MiB", "Aes256Ctr");
    PrintThroughput(reporter, "SHA-1, 64 MiB", "Sha1");
    PrintThroughput(reporter, "HMAC-SHA1, 64 MiB", "HmacSha1");
    const double ours = reporter.Seconds("Pbkdf2Ours");
    const double reference = reporter.Seconds("Pbkdf2OpenSsl");
    std::printf("PBKDF2-HMAC-SHA1, 1000 iterations: %.0f us against %.0f us\n", ours * 1e6,
                reference * 1e6);
    wqbench::AtMost("PBKDF2-HMAC-SHA1, time ratio", wqbench::Ratio(ours, reference),
                    kMaxPbkdf2Ratio);
}

}  // namespace

int main(int argc, char** argv)
{
    wqbench::Initialize(argc, argv);
    return wqbench::RunAndPrintRatios(PrintRatios);
}
