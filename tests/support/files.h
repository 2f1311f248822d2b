#pragma once

// Whole files read and written at once. A missing file or a folder reads as
// empty, so that tests can compare what is there with what is expected.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wqtest {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
// The writes give back the path, so that a test names and fills a file at once.
std::string WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string WriteTextFile(const std::string& path, std::string_view text);

// The names of the entries of a folder, sorted.
std::vector<std::string> FilesIn(const std::string& folder);

// The bytes of a text, as a file holding it has them.
std::vector<std::uint8_t> ToBytes(std::string_view text);

}  // namespace wqtest
