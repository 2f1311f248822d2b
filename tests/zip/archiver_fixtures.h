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

// True when the program is found on the PATH.
bool HasProgram(const std::string& name);
// Runs a shell command line; returns its exit status.
int Run(const std::string& commandLine);
// Quotes a word for the shell.
std::string Quoted(const std::string& word);

}  // namespace zatest
