#pragma once

// A small writer that lays out a whole archive from the records the way the
// archiver does, for the peers to judge the records.

#include <string>
#include <vector>

#include "zip/ZAEndian.h"

namespace ziptest {

struct TestEntry {
    std::string name;  // UTF-8, "/" as separator
    za::Bytes data;
    bool deflate = true;
    std::string password;
    bool zip64 = false;  // every 32-bit field saturated, as in the "always" Zip64 mode
    std::uint32_t attributes = 0x20;
};

struct ArchiveOptions {
    bool oemFileNames = true;
    bool unicodeNames = true;
    std::string comment;
};

// Lays out an archive with local headers, data, central directory and end
// records as the archiver writes them.
za::Bytes BuildArchive(const std::vector<TestEntry>& entries, const ArchiveOptions& opt = {});

}  // namespace ziptest
