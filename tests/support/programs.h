#pragma once

// Running other programs from the tests: the peers that make archives for us
// to read and judge the ones we write.

#include <string>

namespace wqtest {

struct CommandResult {
    int exitCode = -1;
    // Standard output and standard error together.
    std::string output;
};

// Runs a shell command line; its exit status, or -1 when it did not end normally.
int Run(const std::string& commandLine);
// Runs a shell command line and collects what it prints.
CommandResult RunWithOutput(const std::string& commandLine);
// True when the program is found on the PATH.
bool HasProgram(const std::string& name);
// A word quoted for the shell.
std::string Quoted(const std::string& word);
// The installed 7-Zip program (7z, 7zz or 7za); empty when there is none.
std::string SevenZipProgram();

}  // namespace wqtest
