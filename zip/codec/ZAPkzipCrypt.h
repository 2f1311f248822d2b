#pragma once

// The traditional zip encryption: three keys driven by the CRC-32, a key
// stream of one byte per data byte, and the 12-byte header in front of the data.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

struct TZAPkzipKeys {
    std::uint32_t Key0 = 0;
    std::uint32_t Key1 = 0;
    std::uint32_t Key2 = 0;
};

inline constexpr std::size_t ZAEncryptionHeaderSize = 12;
using TZAEncryptionHeader = std::array<std::uint8_t, ZAEncryptionHeaderSize>;

// The password is taken as bytes: a password typed as text is converted to the
// ANSI code page by the caller.
void InitKeys(std::string_view password, TZAPkzipKeys& keys);
void UpdateKeys(TZAPkzipKeys& keys, std::uint8_t c);
std::uint8_t KeyStreamByte(const TZAPkzipKeys& keys);
// Encrypts one byte; the keys advance with the plain byte.
std::uint8_t EncryptByte(TZAPkzipKeys& keys, std::uint8_t p);
void EncryptBuffer(std::uint8_t* buffer, std::size_t start, std::size_t count, TZAPkzipKeys& keys);

// The encrypted header of an item: ten random bytes, then bits 16-23 and 24-31
// of the item's CRC-32, which a reader checks after decrypting. The keys come
// in set up from the password and go out ready for the item's data.
TZAEncryptionHeader MakeEncryptionHeader(TZAPkzipKeys& keys, std::uint32_t crc32);
