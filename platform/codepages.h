#pragma once

// The single-byte code pages of names inside zip archives and the UTF-16 form
// that some zip fields count in. Windows-1252 serves as the ANSI code page and
// code page 850 as the OEM code page; the rest of the program speaks UTF-8.
//
// A character that the target code page lacks becomes "?"; a byte sequence that
// is not valid UTF-8 counts as one U+FFFD per bad byte.

#include <cstddef>
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
// bytes, overlong forms, surrogates or code points beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);
// The offset of the first byte that breaks that rule, text.size() when none
// does. Runs of ASCII, the bulk of the program's files, cost little.
std::size_t FirstInvalidUtf8(std::string_view text);

// Checks a file's text for UTF-8 while it is read, piece by piece: a piece
// checked just after it was read is still in the cache, which makes the check
// cost a fraction of a pass over the whole text afterwards.
class TUtf8Checker {
public:
    // Pieces of this size stay in the cache.
    static constexpr std::size_t kPieceSize = 256 << 10;

    // Text holds every byte read so far, Complete when no more follow. A
    // sequence that the end of a piece cuts is checked with the next piece.
    void Check(std::string_view Text, bool Complete);
    // The offset of the first byte that is not UTF-8; npos while none is found.
    std::size_t FirstInvalid() const { return firstInvalid_; }

private:
    std::size_t checked_ = 0;
    std::size_t firstInvalid_ = std::string_view::npos;
};

// A lone surrogate in UTF-16 input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
