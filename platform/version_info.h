#pragma once

// The program's version lives in a record of its own inside the executable
// (an ELF section written at build time by cmake/WqVersion.cmake); this reads
// it back from any file, the way the about box and the version line need it.

#include <array>
#include <cstdint>
#include <string>

inline constexpr char kVersionSectionName[] = ".wq_version";
inline constexpr std::size_t kVersionMagicSize = 8;
inline constexpr std::array<unsigned char, kVersionMagicSize> kVersionMagic = {'W', 'Q', 'V', 'E',
                                                                               'R', 'S', 'N', 1};
// The magic, then major, minor, release and build as little-endian 16-bit numbers.
inline constexpr std::size_t kVersionRecordSize = kVersionMagicSize + 4 * 2;
using TVersionRecord = std::array<unsigned char, kVersionRecordSize>;

constexpr TVersionRecord MakeVersionRecord(std::uint16_t major, std::uint16_t minor,
                                           std::uint16_t release, std::uint16_t build)
{
    TVersionRecord record{};
    for (std::size_t i = 0; i < kVersionMagicSize; ++i)
        record[i] = kVersionMagic[i];
    const std::uint16_t numbers[] = {major, minor, release, build};
    for (std::size_t i = 0; i < 4; ++i) {
        record[kVersionMagicSize + 2 * i] = static_cast<unsigned char>(numbers[i] & 0xFF);
        record[kVersionMagicSize + 2 * i + 1] = static_cast<unsigned char>(numbers[i] >> 8);
    }
    return record;
}

struct TFileVersion {
    std::uint16_t Major = 0;
    std::uint16_t Minor = 0;
    std::uint16_t Release = 0;
    std::uint16_t Build = 0;
};

// Raises Exception "System error in function GetFileVersionInfoSize. Error
// code: " + a code when the file cannot be read (the errno) or holds no
// version record (ENODATA).
TFileVersion ReadFileVersion(const std::string& fileName);

// 0: "1.0", 1: "1.0.1", 2: "1.0.1.1", 3: "1.0.1 (.1)"; any other number of
// parts is a programming error and raises Exception.
std::string FormatFileVersion(const TFileVersion& version, int parts);
