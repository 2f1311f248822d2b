#pragma once

// Archives as other archivers write them, laid out byte by byte, for the
// reading tests to open.

#include <cstdint>
#include <string>
#include <vector>

namespace zatest {

// One entry of an archive built byte by byte, stored.
struct BuildEntry {
    std::string Name;
    std::string Data;
    // Flag bit 3: zeros in the local header, a signed data descriptor after the data.
    bool Descriptor = false;
    std::string Comment;
};

struct BuildOptions {
    // Bytes in front of the first entry, as a self-extractor stub puts there.
    std::string Prefix;
    // Offsets count from the start of the file (a stub the offsets know about)
    // instead of from the end of the prefix.
    bool OffsetsFromFileStart = false;
    std::string Comment;
};

// A zip archive as other archivers write it: local headers and data, the
// central directory and the end record.
std::vector<std::uint8_t> BuildZip(const std::vector<BuildEntry>& entries,
                                   const BuildOptions& options = {});

}  // namespace zatest
