#pragma once

// A temporary file per process for the fuzzers that read their input from a
// file: rewritten for each input and removed at exit.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

class TScratchFile {
public:
    explicit TScratchFile(const char* stem)
    {
        const char* folder = std::getenv("TMPDIR");
        path_ = std::string(folder && *folder ? folder : "/tmp") + "/" + stem + "_XXXXXX";
        const int fd = ::mkstemp(path_.data());
        if (fd < 0)
            std::abort();
        ::close(fd);
    }
    ~TScratchFile() { std::remove(path_.c_str()); }
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;

    const std::string& Path() const { return path_; }

    const std::string& Write(const std::uint8_t* data, std::size_t size) const
    {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
            std::abort();
        return path_;
    }

private:
    std::string path_;
};
