#pragma once

// The single-byte code pages of names inside zip archives and the UTF-16 form
// that some zip fields count in. Windows-1252 serves as the ANSI code page and
// code page 850 as the OEM code page; the rest of the program speaks UTF-8.
//
// A character that the target code page lacks becomes "?"; a byte sequence that
// is not valid UTF-8 counts as one U+FFFD per bad byte.

#include <string>
#include <string_view>

std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToOem(std::string_view utf8);
std::string OemToUtf8(std::string_view oem);

// Byte-for-byte conversion between the two code pages through the characters
// they stand for; the equivalents of the platform's CharToOemA and OemToCharA.
std::string CharToOem(std::string_view ansi);
std::string OemToChar(std::string_view oem);

// True when the bytes are well-formed UTF-8: no stray or missing continuation
// bytes, overlong forms or surrogates.
bool IsValidUtf8(std::string_view text);

// A lone surrogate in UTF-16 input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
