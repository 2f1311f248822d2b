#pragma once

// What the archiver's tests share: a temporary folder that cleans up after
// itself, whole-file reads and writes, and running the peer programs that
// make archives to read back.

#include <cstdint>
#include <string>
#include <vector>

namespace zatest {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteTextFile(const std::string& path, const std::string& text);

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

// True when the program is found on the PATH.
bool HasProgram(const std::string& name);
// Runs a shell command line; returns its exit status.
int Run(const std::string& commandLine);
// Quotes a word for the shell.
std::string Quoted(const std::string& word);

}  // namespace zatest
