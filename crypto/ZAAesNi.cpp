// AES on the processor's AES instructions; used only when the processor
// reports them (see UseProcessorAes).

#include <cstring>

#include "crypto/ZAAes.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define ZA_AES_TARGET __attribute__((target("aes,sse4.1")))

namespace za {

namespace {

// Counter blocks are encrypted this many at a time so that the processor
// overlaps their rounds.
constexpr std::size_t kLanes = 8;

ZA_AES_TARGET inline __m128i RoundKey(const std::uint8_t* keys, int round)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(keys + 16 * round));
}

}  // namespace

ZA_AES_TARGET void AesEncryptNi(const std::uint8_t* encryptKeys, int rounds, std::uint8_t* block)
{
    __m128i state = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block)),
                                  RoundKey(encryptKeys, 0));
    for (int r = 1; r < rounds; ++r) {
        state = _mm_aesenc_si128(state, RoundKey(encryptKeys, r));
    }
    state = _mm_aesenclast_si128(state, RoundKey(encryptKeys, rounds));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(block), state);
}

ZA_AES_TARGET void AesDecryptNi(const std::uint8_t* decryptKeys, int rounds, std::uint8_t* block)
{
    __m128i state = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block)),
                                  RoundKey(decryptKeys, 0));
    for (int r = 1; r < rounds; ++r) {
        state = _mm_aesdec_si128(state, RoundKey(decryptKeys, r));
    }
    state = _mm_aesdeclast_si128(state, RoundKey(decryptKeys, rounds));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(block), state);
}

// Encrypts Lanes counter blocks and XORs them over the input; Lanes is a
// constant so that the states stay in registers.
template <std::size_t Lanes>
ZA_AES_TARGET inline void CounterLanes(const __m128i* keys, int rounds, long long high,
                                       std::uint64_t& number, const std::uint8_t* input,
                                       std::uint8_t* output)
{
    __m128i state[Lanes];
#pragma GCC unroll 8
    for (std::size_t i = 0; i < Lanes; ++i) {
        state[i] = _mm_xor_si128(_mm_set_epi64x(high, static_cast<long long>(++number)), keys[0]);
    }
    for (int r = 1; r < rounds; ++r) {
        const __m128i key = keys[r];
#pragma GCC unroll 8
        for (std::size_t i = 0; i < Lanes; ++i) {
            state[i] = _mm_aesenc_si128(state[i], key);
        }
    }
#pragma GCC unroll 8
    for (std::size_t i = 0; i < Lanes; ++i) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + 16 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(output + 16 * i),
                         _mm_xor_si128(_mm_aesenclast_si128(state[i], keys[rounds]), in));
    }
}

ZA_AES_TARGET void AesCounterNi(const std::uint8_t* encryptKeys, int rounds, std::uint8_t* counter,
                                const std::uint8_t* input, std::uint8_t* output, std::size_t blocks)
{
    __m128i keys[15];
    for (int r = 0; r <= rounds; ++r) {
        keys[r] = RoundKey(encryptKeys, r);
    }
    std::uint64_t number;
    std::uint64_t upper;
    std::memcpy(&number, counter, 8);
    std::memcpy(&upper, counter + 8, 8);
    const auto high = static_cast<long long>(upper);
    for (; blocks >= kLanes; blocks -= kLanes, input += 16 * kLanes, output += 16 * kLanes) {
        CounterLanes<kLanes>(keys, rounds, high, number, input, output);
    }
    for (; blocks > 0; --blocks, input += 16, output += 16) {
        CounterLanes<1>(keys, rounds, high, number, input, output);
    }
    std::memcpy(counter, &number, 8);
}

}  // namespace za

#else

namespace za {

void AesEncryptNi(const std::uint8_t* encryptKeys, int rounds, std::uint8_t* block)
{
    AesEncryptPortable(encryptKeys, rounds, block);
}

void AesDecryptNi(const std::uint8_t* decryptKeys, int rounds, std::uint8_t* block)
{
    AesDecryptPortable(decryptKeys, rounds, block);
}

void AesCounterNi(const std::uint8_t* encryptKeys, int rounds, std::uint8_t* counter,
                  const std::uint8_t* input, std::uint8_t* output, std::size_t blocks)
{
    for (; blocks > 0; --blocks, input += kAesBlock, output += kAesBlock) {
        for (int i = 0; i < 8 && ++counter[i] == 0; ++i) {
        }
        std::uint8_t keystream[kAesBlock];
        std::memcpy(keystream, counter, kAesBlock);
        AesEncryptPortable(encryptKeys, rounds, keystream);
        for (std::size_t i = 0; i < kAesBlock; ++i) {
            output[i] = input[i] ^ keystream[i];
        }
    }
}

}  // namespace za

#endif
