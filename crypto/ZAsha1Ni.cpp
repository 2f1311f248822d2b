// SHA-1 on the processor's SHA instructions; used only when the processor
// reports them (see UseProcessorSha).

#include "crypto/ZAsha1.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define ZA_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3")))

namespace {

// Four rounds; the round function is an immediate operand of the instruction.
ZA_SHA_TARGET inline __m128i FourRounds(__m128i abcd, __m128i e, int group)
{
    switch (group / 5) {
        case 0: return _mm_sha1rnds4_epu32(abcd, e, 0);
        case 1: return _mm_sha1rnds4_epu32(abcd, e, 1);
        case 2: return _mm_sha1rnds4_epu32(abcd, e, 2);
        default: return _mm_sha1rnds4_epu32(abcd, e, 3);
    }
}

}  // namespace

namespace za {

ZA_SHA_TARGET void Sha1CompressNi(std::uint32_t state[5], const std::uint8_t* blocks,
                                  std::size_t count)
{
    const __m128i byteOrder = _mm_set_epi64x(0x0001020304050607LL, 0x08090A0B0C0D0E0FLL);
    __m128i abcd =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e0 = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    for (; count > 0; --count, blocks += 64) {
        const __m128i abcdSaved = abcd;
        const __m128i eSaved = e0;
        __m128i w[4];
        for (int i = 0; i < 4; ++i) {
            w[i] = _mm_shuffle_epi8(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), byteOrder);
        }
        __m128i e = _mm_add_epi32(e0, w[0]);
        __m128i previous = abcd;
        abcd = FourRounds(abcd, e, 0);
#pragma GCC unroll 19
        for (int group = 1; group < 20; ++group) {
            if (group >= 4) {
                // w[group % 4] holds the words of group - 4 until replaced here.
                __m128i next = _mm_sha1msg1_epu32(w[group % 4], w[(group + 1) % 4]);
                next = _mm_xor_si128(next, w[(group + 2) % 4]);
                w[group % 4] = _mm_sha1msg2_epu32(next, w[(group + 3) % 4]);
            }
            e = _mm_sha1nexte_epu32(previous, w[group % 4]);
            previous = abcd;
            abcd = FourRounds(abcd, e, group);
        }
        e0 = _mm_sha1nexte_epu32(previous, eSaved);
        abcd = _mm_add_epi32(abcd, abcdSaved);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e0, 3));
}

}  // namespace za

#else

namespace za {

void Sha1CompressNi(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count)
{
    Sha1CompressPortable(state, blocks, count);
}

}  // namespace za

#endif
