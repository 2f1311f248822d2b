#include "tests/support/files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace wqtest {

namespace {

// Reading a folder would throw from inside the stream, so only files are read.
template <typename Container>
Container ReadWhole(const std::string& path)
{
    if (!std::filesystem::is_regular_file(path)) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    return ReadWhole<std::vector<std::uint8_t>>(path);
}

std::string ReadFileText(const std::string& path)
{
    return ReadWhole<std::string>(path);
}

std::string WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string WriteTextFile(const std::string& path, std::string_view text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return path;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::uint8_t> ToBytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

}  // namespace wqtest
