#pragma once

// The AES block cipher (FIPS-197) under the Rijndael cipher class: key
// expansion and blocks in portable code, and the same on the processor's AES
// instructions (x86 only, chosen at run time by the caller).
//
// Round keys are kept as bytes in the order of the standard: the encryption
// keys of rounds 0 to Nr, then the keys of the equivalent inverse cipher in
// the order decryption uses them. Both code paths read the same schedule.

#include <cstddef>
#include <cstdint>

namespace za {

constexpr std::size_t kAesBlock = 16;
constexpr std::size_t kAesMaxKey = 32;
constexpr std::size_t kAesScheduleHalf = 240;  // 15 round keys

// 10, 12 or 14 rounds for keys of up to 16, up to 24, and more bytes.
int AesRounds(std::size_t keySize);

// key is 32 bytes; only the first 4, 6 or 8 words are used for 10, 12, 14 rounds.
void AesExpandKey(const std::uint8_t* key, int rounds, std::uint8_t* encryptKeys,
                  std::uint8_t* decryptKeys);

void AesEncryptPortable(const std::uint8_t* encryptKeys, int rounds, std::uint8_t* block);
void AesDecryptPortable(const std::uint8_t* decryptKeys, int rounds, std::uint8_t* block);

void AesEncryptNi(const std::uint8_t* encryptKeys, int rounds, std::uint8_t* block);
void AesDecryptNi(const std::uint8_t* decryptKeys, int rounds, std::uint8_t* block);

// Counter mode over whole blocks: output = input XOR E(counter + 1), E(counter + 2), ...
// where the counter is the little-endian 64-bit number in the first 8 bytes of
// the counter block; the other 8 bytes stay. The counter is advanced.
void AesCounterNi(const std::uint8_t* encryptKeys, int rounds, std::uint8_t* counter,
                  const std::uint8_t* input, std::uint8_t* output, std::size_t blocks);

}  // namespace za
