#pragma once

// The CRC-32 of zip archives (reflected polynomial 0xEDB88320), used for the
// item checksum and by the traditional cipher's key schedule.

#include <array>
#include <cstddef>
#include <cstdint>

namespace za {

constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) != 0 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

}  // namespace za

inline constexpr std::array<std::uint32_t, 256> ZACrcTable = za::MakeCrcTable();

// An item's checksum starts here and is inverted after its last byte.
inline constexpr std::uint32_t ZACrcStart = 0xFFFFFFFF;

inline std::uint32_t CrcByte(std::uint32_t crc, std::uint8_t c)
{
    return ZACrcTable[(crc ^ c) & 0xFF] ^ (crc >> 8);
}

// CrcByte over every byte of the buffer, without any inversion; a null buffer
// or a length below 1 leaves crc as it is.
std::uint32_t CrcUpdate(std::uint32_t crc, const void* buffer, std::ptrdiff_t length);

// The CRC-32 of a whole buffer as the headers carry it.
inline std::uint32_t Crc32Of(const void* buffer, std::size_t length)
{
    return ~CrcUpdate(ZACrcStart, buffer, static_cast<std::ptrdiff_t>(length));
}
