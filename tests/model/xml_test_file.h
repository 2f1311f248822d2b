#pragma once

// A file in the temporary folder that a test writes and that goes away with it.

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class TTestFile {
public:
    explicit TTestFile(const std::string& content, const std::string& name = "test.xml")
        : path_(std::filesystem::temp_directory_path() /
                ("wq_" + std::to_string(::getpid()) + "_" + name))
    {
        std::ofstream(path_, std::ios::binary) << content;
    }
    ~TTestFile() { std::filesystem::remove(path_); }
    TTestFile(const TTestFile&) = delete;
    TTestFile& operator=(const TTestFile&) = delete;

    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};
