#include "tests/support/programs.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

namespace wqtest {

namespace {

int ExitCodeOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string FindSevenZip()
{
    for (const char* name : {"7z", "7zz", "7za"}) {
        if (HasProgram(name)) {
            return name;
        }
    }
    return "";
}

}  // namespace

int Run(const std::string& commandLine)
{
    return ExitCodeOf(std::system(commandLine.c_str()));
}

CommandResult RunWithOutput(const std::string& commandLine)
{
    CommandResult result;
    FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        result.output += buffer;
    }
    result.exitCode = ExitCodeOf(pclose(pipe));
    return result;
}

bool HasProgram(const std::string& name)
{
    return Run("command -v " + Quoted(name) + " >/dev/null 2>&1") == 0;
}

std::string Quoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string SevenZipProgram()
{
    static const std::string program = FindSevenZip();
    return program;
}

}  // namespace wqtest
