#include "zip/format/ZACrc32.h"

#include <cstring>

#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define ZA_CRC_FOLDING 1
#endif

namespace {

using Slices = std::array<std::array<std::uint32_t, 256>, 8>;

// Slice k advances a byte that lies k bytes before the end of an 8-byte block.
constexpr Slices MakeSlices()
{
    Slices slices{};
    slices[0] = ZACrcTable;
    for (std::size_t k = 1; k < slices.size(); ++k)
        for (std::size_t n = 0; n < 256; ++n)
            slices[k][n] = (slices[k - 1][n] >> 8) ^ ZACrcTable[slices[k - 1][n] & 0xFF];
    return slices;
}

constexpr Slices kSlices = MakeSlices();

std::uint32_t CrcBytewise(std::uint32_t crc, const std::uint8_t* p, std::size_t n)
{
    while (n-- > 0)
        crc = CrcByte(crc, *p++);
    return crc;
}

// Eight bytes per step through eight tables (little-endian loads).
std::uint32_t CrcSliced(std::uint32_t crc, const std::uint8_t* p, std::size_t n)
{
    for (; n >= 8; n -= 8, p += 8) {
        std::uint32_t lo;
        std::uint32_t hi;
        std::memcpy(&lo, p, 4);
        std::memcpy(&hi, p + 4, 4);
        lo ^= crc;
        crc = kSlices[7][lo & 0xFF] ^ kSlices[6][(lo >> 8) & 0xFF] ^ kSlices[5][(lo >> 16) & 0xFF] ^
              kSlices[4][lo >> 24] ^ kSlices[3][hi & 0xFF] ^ kSlices[2][(hi >> 8) & 0xFF] ^
              kSlices[1][(hi >> 16) & 0xFF] ^ kSlices[0][hi >> 24];
    }
    return CrcBytewise(crc, p, n);
}

#ifdef ZA_CRC_FOLDING
// Carry-less multiplication folds 64 bytes per step into four 128-bit
// remainders that stay congruent to the data modulo the polynomial; the last
// 16-byte remainder then gives the CRC through the tables. The constants are
// x^(512+32) and x^(512-32) (four-way fold) and x^(128+32) and x^(128-32)
// (one-way fold) modulo the polynomial, bit-reflected.
#define ZA_CLMUL_TARGET __attribute__((target("pclmul,sse2")))

ZA_CLMUL_TARGET __m128i Fold(__m128i x, __m128i constants)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(x, constants, 0x00),
                         _mm_clmulepi64_si128(x, constants, 0x11));
}

ZA_CLMUL_TARGET __m128i Load(const std::uint8_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

constexpr std::size_t kFoldMinimum = 64;

ZA_CLMUL_TARGET std::uint32_t CrcFolded(std::uint32_t crc, const std::uint8_t* p, std::size_t n)
{
    const __m128i fold4 = _mm_set_epi64x(0x1C6E41596, 0x154442BD4);
    const __m128i fold1 = _mm_set_epi64x(0x0CCAA009E, 0x1751997D0);
    __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x1 = Load(p + 16);
    __m128i x2 = Load(p + 32);
    __m128i x3 = Load(p + 48);
    for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
        x0 = _mm_xor_si128(Fold(x0, fold4), Load(p));
        x1 = _mm_xor_si128(Fold(x1, fold4), Load(p + 16));
        x2 = _mm_xor_si128(Fold(x2, fold4), Load(p + 32));
        x3 = _mm_xor_si128(Fold(x3, fold4), Load(p + 48));
    }
    x0 = _mm_xor_si128(Fold(x0, fold1), x1);
    x0 = _mm_xor_si128(Fold(x0, fold1), x2);
    x0 = _mm_xor_si128(Fold(x0, fold1), x3);
    for (; n >= 16; p += 16, n -= 16)
        x0 = _mm_xor_si128(Fold(x0, fold1), Load(p));
    std::uint8_t remainder[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(remainder), x0);
    return CrcSliced(CrcSliced(0, remainder, sizeof remainder), p, n);
}

bool HasCarrylessMultiply()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_PCLMUL) != 0 &&
           (edx & bit_SSE2) != 0;
}
#else
constexpr std::size_t kFoldMinimum = 64;
bool HasCarrylessMultiply()
{
    return false;
}
std::uint32_t CrcFolded(std::uint32_t crc, const std::uint8_t* p, std::size_t n)
{
    return CrcSliced(crc, p, n);
}
#endif

}  // namespace

std::uint32_t CrcUpdate(std::uint32_t crc, const void* buffer, std::ptrdiff_t length)
{
    if (buffer == nullptr || length < 1)
        return crc;
    static const bool folding = HasCarrylessMultiply();
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    const auto n = static_cast<std::size_t>(length);
    return folding && n >= kFoldMinimum ? CrcFolded(crc, p, n) : CrcSliced(crc, p, n);
}
