#pragma once

// The delimiters the CSV fuzzers choose from: one byte, and characters of two,
// three and four bytes in UTF-8, one of them also a character of
// Windows-1252.

#include <cstdint>

inline const char* CsvDelimiter(std::uint8_t choice)
{
    static const char* const kDelimiters[] = {";", "\xC2\xA7", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E"};
    return kDelimiters[choice % 4];
}
