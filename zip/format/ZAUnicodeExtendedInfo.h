#pragma once

// The archiver's private extra field that carries an item's exact name as
// UTF-16: the signature "NUCX", a 32-bit count of code units, the code units.

#include <cstddef>
#include <cstdint>
#include <string>

struct TUnicodeExtendedInfo {
    std::string FileName;  // UTF-8
    std::uint32_t Signature = 0;
};

// "NUCX" read as a little-endian 32-bit number.
inline constexpr std::uint32_t ZAUnicodeExtendedSignature = 0x5843554E;

// Reads the field from the start of its data. False, with the name left as it
// was, when the data hold another signature or are cut short.
bool ReadUnicodeExtendedInfo(TUnicodeExtendedInfo& info, const std::uint8_t* data,
                             std::size_t length);
