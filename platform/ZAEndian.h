#pragma once

// Little-endian reading and writing of the integers in zip records. Every
// record of the archive is laid out and read back through these helpers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace za {

using Bytes = std::vector<std::uint8_t>;

inline void PutU8(Bytes& out, std::uint8_t value)
{
    out.push_back(value);
}

inline void PutU16(Bytes& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutU32(Bytes& out, std::uint32_t value)
{
    PutU16(out, static_cast<std::uint16_t>(value));
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

inline void PutU64(Bytes& out, std::uint64_t value)
{
    PutU32(out, static_cast<std::uint32_t>(value));
    PutU32(out, static_cast<std::uint32_t>(value >> 32));
}

inline void PutBytes(Bytes& out, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

inline std::uint16_t GetU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t GetU32(const std::uint8_t* p)
{
    return std::uint32_t{GetU16(p)} | (std::uint32_t{GetU16(p + 2)} << 16);
}

inline std::uint64_t GetU64(const std::uint8_t* p)
{
    return std::uint64_t{GetU32(p)} | (std::uint64_t{GetU32(p + 4)} << 32);
}

}  // namespace za
