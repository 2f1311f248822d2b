#include <array>
#include <cstring>

#include "crypto/ZAAes.h"
#include "crypto/ZACipher.h"

namespace {

constexpr std::size_t kContextSize = 2 * za::kAesScheduleHalf;

// FIPS-197, appendix C.3.
constexpr std::uint8_t kTestKey[32] = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f,
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x1f};
constexpr std::uint8_t kTestPlain[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                         0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
constexpr std::uint8_t kTestCipher[16] = {0x8e, 0xa2, 0xb7, 0xca, 0x51, 0x67, 0x45, 0xbf,
                                          0xea, 0xfc, 0x49, 0x90, 0x4b, 0x49, 0x60, 0x89};

}  // namespace

TCipher_Rijndael::TCipher_Rijndael() : TCipher(za::kAesBlock, za::kAesMaxKey, kContextSize) {}

TCipher_Rijndael::TCipher_Rijndael(const void* key, int size, const std::uint8_t* startingVector)
    : TCipher_Rijndael()
{
    SetKey(key, size, startingVector);
}

TCipherTestVector TCipher_Rijndael::TestVector() const
{
    return {kTestKey, sizeof(kTestKey), kTestPlain, kTestCipher};
}

void TCipher_Rijndael::ExpandKey(const std::uint8_t* key, std::size_t size)
{
    std::array<std::uint8_t, za::kAesMaxKey> padded{};
    if (size > 0) {
        std::memcpy(padded.data(), key, size);
    }
    rounds_ = za::AesRounds(size);
    za::AesExpandKey(padded.data(), rounds_, KeySchedule(), KeySchedule() + za::kAesScheduleHalf);
    za::SecureWipe(padded.data(), padded.size());
}

void TCipher_Rijndael::EncryptBlock(std::uint8_t* block)
{
    if (za::UseProcessorAes()) {
        za::AesEncryptNi(KeySchedule(), rounds_, block);
    } else {
        za::AesEncryptPortable(KeySchedule(), rounds_, block);
    }
}

void TCipher_Rijndael::DecryptBlock(std::uint8_t* block)
{
    const std::uint8_t* keys = KeySchedule() + za::kAesScheduleHalf;
    if (za::UseProcessorAes()) {
        za::AesDecryptNi(keys, rounds_, block);
    } else {
        za::AesDecryptPortable(keys, rounds_, block);
    }
}

void TCipher_Rijndael::CounterBlocks(const std::uint8_t* input, std::uint8_t* output,
                                     std::size_t blocks)
{
    if (za::UseProcessorAes()) {
        za::AesCounterNi(KeySchedule(), rounds_, CounterBlock(), input, output, blocks);
    } else {
        TCipher::CounterBlocks(input, output, blocks);
    }
}
