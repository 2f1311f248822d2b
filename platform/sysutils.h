#pragma once

// The conversions and text helpers the rest of the program relies on, with the
// results of the desktop toolkit the data files were first written by.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// General format with 15 significant digits and the current decimal separator.
std::string FloatToStr(double value);
double StrToFloat(std::string_view text);
bool TryStrToFloat(std::string_view text, double& value);
// Most reals in the files are "[-]digits[separator digits]" with a few
// digits. Such a number is an integer of at most 15 digits, exact in a
// double, divided by a power of ten that is exact as well, and the one
// rounding of that division gives the double nearest to the number, as the
// full conversion does. Nothing for a text of any other form, which the full
// conversion reads.
std::optional<double> PlainDecimal(std::string_view text, char separator);

std::string IntToStr(std::int64_t value);
int StrToInt(std::string_view text);
bool TryStrToInt(std::string_view text, int& value);

// "-1" for true and "0" for false, as the data files store booleans.
std::string BoolToStr(bool value);

// Removes blanks and control characters (everything up to and including the
// space) at both ends.
std::string Trim(std::string_view text);
// What the trimming routines remove: the space and every character below it.
inline bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}
// Trim without a copy: the view points into text. Inline, as the readers of
// large files trim every field of every line.
inline std::string_view TrimmedView(std::string_view text)
{
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Lower/upper case of the ASCII letters only; other bytes stay as they are.
std::string AsciiLowerCase(std::string_view text);
std::string AsciiUpperCase(std::string_view text);
inline char AsciiLowerChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
// Equal texts when the case of the ASCII letters is ignored. Inline, as the
// readers of large files compare codes of every line.
inline bool AsciiSameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLowerChar(a[i]) != AsciiLowerChar(b[i]))
            return false;
    return true;
}
