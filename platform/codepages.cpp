#include "platform/codepages.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Characters of bytes 0x80-0x9F of Windows-1252; the five bytes the code page
// leaves undefined map to the control characters of the same number, as the
// platform's own conversion does. Bytes 0xA0-0xFF are Latin-1.
constexpr std::array<char16_t, 32> kAnsiHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Characters of bytes 0x80-0xFF of code page 850.
constexpr std::array<char16_t, 128> kOemHigh = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// A single-byte code page: the character of each byte and the way back.
class CodePage {
public:
    explicit CodePage(const std::array<char32_t, 256>& chars) : chars_(chars)
    {
        for (std::size_t b = 0; b < chars.size(); ++b)
            bytes_.emplace(chars[b], static_cast<char>(b));
    }

    char32_t CharOf(unsigned char byte) const { return chars_[byte]; }

    char ByteOf(char32_t c) const
    {
        const auto found = bytes_.find(c);
        return found == bytes_.end() ? '?' : found->second;
    }

private:
    std::array<char32_t, 256> chars_;
    std::unordered_map<char32_t, char> bytes_;
};

template <std::size_t N>
std::array<char32_t, 256> ExtendAscii(const std::array<char16_t, N>& high)
{
    std::array<char32_t, 256> chars{};
    for (std::size_t b = 0; b < chars.size(); ++b)
        chars[b] = static_cast<char32_t>(b);
    for (std::size_t i = 0; i < N; ++i)
        chars[0x80 + i] = high[i];
    return chars;
}

const CodePage& Ansi()
{
    static const CodePage page(ExtendAscii(kAnsiHigh));
    return page;
}

const CodePage& Oem()
{
    static const CodePage page(ExtendAscii(kOemHigh));
    return page;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the character at text[pos] and advances pos past it.
char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int length = 0;
    char32_t c = 0;
    if (lead < 0x80)
        return lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 2;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 3;
        c = lead & 0x07;
    } else {
        return kReplacement;
    }
    if (pos + static_cast<std::size_t>(length) > text.size())
        return kReplacement;
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if (!IsContinuation(byte))
            return kReplacement;
        c = (c << 6) | (byte & 0x3F);
    }
    const bool overlong = (length == 2 && c < 0x800) || (length == 3 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kReplacement;
    pos += static_cast<std::size_t>(length);
    return c;
}

// Past the ASCII from pos on: long runs a block of 32 bytes at a time, the
// rest a word at a time, the first byte above 0x7F found by its bit.
std::size_t PastAscii(std::string_view text, std::size_t pos)
{
    constexpr std::size_t kBlock = 32;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::uint64_t words[kBlock / sizeof(std::uint64_t)];
    for (; text.size() - pos >= kBlock; pos += kBlock) {
        std::memcpy(words, text.data() + pos, kBlock);
        if (((words[0] | words[1] | words[2] | words[3]) & kHighBits) != 0)
            break;
    }
    for (; text.size() - pos >= sizeof words[0]; pos += sizeof words[0]) {
        std::memcpy(words, text.data() + pos, sizeof words[0]);
        if (const std::uint64_t high = words[0] & kHighBits; high != 0) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(high)
                                                                       : std::countl_zero(high);
            return pos + static_cast<std::size_t>(bit) / 8;
        }
    }
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80)
        ++pos;
    return pos;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string EncodeUtf8(std::string_view utf8, const CodePage& page)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        out += page.ByteOf(NextCodePoint(utf8, pos));
    return out;
}

std::string DecodeToUtf8(std::string_view bytes, const CodePage& page)
{
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes)
        AppendUtf8(out, page.CharOf(static_cast<unsigned char>(byte)));
    return out;
}

std::string Recode(std::string_view bytes, const CodePage& from, const CodePage& to)
{
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes)
        out += to.ByteOf(from.CharOf(static_cast<unsigned char>(byte)));
    return out;
}

bool IsHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8)
{
    return EncodeUtf8(utf8, Ansi());
}
std::string AnsiToUtf8(std::string_view ansi)
{
    return DecodeToUtf8(ansi, Ansi());
}
std::string Utf8ToOem(std::string_view utf8)
{
    return EncodeUtf8(utf8, Oem());
}
std::string OemToUtf8(std::string_view oem)
{
    return DecodeToUtf8(oem, Oem());
}
std::string CharToOem(std::string_view ansi)
{
    return Recode(ansi, Ansi(), Oem());
}
std::string OemToChar(std::string_view oem)
{
    return Recode(oem, Oem(), Ansi());
}

bool IsValidUtf8(std::string_view text)
{
    return FirstInvalidUtf8(text) == text.size();
}

std::size_t FirstInvalidUtf8(std::string_view text)
{
    for (std::size_t pos = PastAscii(text, 0); pos < text.size(); pos = PastAscii(text, pos)) {
        const std::size_t start = pos;
        // A bad sequence decodes as the replacement character and consumes one
        // byte; the replacement character itself takes three.
        if (NextCodePoint(text, pos) == kReplacement && pos - start == 1)
            return start;
    }
    return text.size();
}

void TUtf8Checker::Check(std::string_view Text, bool Complete)
{
    if (firstInvalid_ != std::string_view::npos)
        return;
    const std::size_t at = checked_ + FirstInvalidUtf8(Text.substr(checked_));
    // No sequence is longer than four bytes: a fault closer to the end may be
    // a sequence that the next piece completes.
    if (at < Text.size() && (Complete || Text.size() - at >= 4))
        firstInvalid_ = at;
    else
        checked_ = at;
}

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, pos);
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        char32_t c = u;
        if (IsHighSurrogate(u) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            c = 0x10000 + ((char32_t{u} - 0xD800) << 10) + (char32_t{utf16[i + 1]} - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}
