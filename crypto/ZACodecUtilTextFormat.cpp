// The text encodings of the cipher library and their registry.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "crypto/ZACodecUtil.h"

namespace {

constexpr std::string_view kHexTable = "0123456789ABCDEFX$ abcdefhHx()[]{},;:-_/\\*+\"'\t\n\r";
constexpr std::string_view kHexLowerTable = "0123456789abcdefX$ ABCDEFhHx()[]{},;:-_/\\*+\"'\t\n\r";
constexpr std::string_view kMime64Table =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/= $()[]{},;:-_\\*\"'\t\n\r";
constexpr std::string_view kUuTable =
    "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_ \t\n\r";
constexpr std::string_view kXxTable =
    "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz \"()[]'\t\n\r";

constexpr std::size_t kDigits64 = 64;
constexpr std::size_t kUuPieceBytes = 45;
constexpr int kNotFound = -1;

char Upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Index of c among the first count characters of the table, letters compared
// in capitals; kNotFound when absent.
int FindDigit(std::string_view table, std::size_t count, char c, bool ignoreCase)
{
    for (std::size_t i = 0; i < count && i < table.size(); ++i) {
        if (table[i] == c || (ignoreCase && Upper(table[i]) == Upper(c))) {
            return static_cast<int>(i);
        }
    }
    return kNotFound;
}

bool InTable(std::string_view table, char c)
{
    return table.find(c) != std::string_view::npos;
}

bool AllInTable(std::string_view table, std::string_view data)
{
    return std::all_of(data.begin(), data.end(), [&](char c) { return InTable(table, c); });
}

// Packs 6-bit digits of the table, most significant first, into bytes.
class SixBitReader {
public:
    void Add(unsigned digit, std::string& out)
    {
        bits_ = (bits_ << 6) | digit;
        count_ += 6;
        if (count_ >= 8) {
            count_ -= 8;
            out.push_back(static_cast<char>((bits_ >> count_) & 0xFF));
        }
    }

private:
    unsigned bits_ = 0;
    int count_ = 0;
};

// Four digits of the table for each three bytes, the last group padded with zero bits.
void AppendSixBitGroups(std::string_view table, std::string_view bytes, std::string& out)
{
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned group = 0;
        for (std::size_t j = 0; j < 3; ++j) {
            const std::size_t k = i + j;
            group = (group << 8) | (k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0u);
        }
        for (int shift = 18; shift >= 0; shift -= 6) {
            out.push_back(table[(group >> shift) & 0x3F]);
        }
    }
}

std::vector<const TTextFormat*>& Registry()
{
    static const TTextFormat base;
    static const TTextFormat_HEX hex;
    static const TTextFormat_HEXL hexLower;
    static const TTextFormat_MIME64 mime64;
    static const TTextFormat_UU uu;
    static const TTextFormat_XX xx;
    static std::vector<const TTextFormat*> formats{&base, &hex, &hexLower, &mime64, &uu, &xx};
    return formats;
}

std::string_view ByteView(const char* data, int length)
{
    if (data == nullptr) {
        return {};
    }
    return {data, length < 0 ? std::strlen(data) : static_cast<std::size_t>(length)};
}

const TTextFormat& RequireFormat(int id)
{
    const TTextFormat* format = FindTextFormat(id);
    if (format == nullptr) {
        throw ETextFormat("String Format \"" + std::to_string(id) + "\" not exists.");
    }
    return *format;
}

}  // namespace

std::string TTextFormat::TextToBytes(std::string_view text) const
{
    return std::string(text);
}
std::string TTextFormat::BytesToText(std::string_view bytes) const
{
    return std::string(bytes);
}
std::string TTextFormat::FormatName() const
{
    return "copy Input to Output";
}
int TTextFormat::FormatId() const
{
    return 1;
}
bool TTextFormat::IsValidInput(std::string_view, bool) const
{
    return true;
}

std::string TTextFormat_HEX::TextToBytes(std::string_view text) const
{
    const std::string_view table = CharTable();
    std::string bytes;
    int high = kNotFound;
    bool prefixSeen = false;
    for (char c : text) {
        const int index = FindDigit(table, 18, c, true);
        if (index >= 16 && !prefixSeen) {
            prefixSeen = true;
            bytes.clear();
            high = kNotFound;
        } else if (index >= 0 && index < 16) {
            if (high == kNotFound) {
                high = index;
            } else {
                bytes.push_back(static_cast<char>(high << 4 | index));
                high = kNotFound;
            }
        }
    }
    return bytes;
}

std::string TTextFormat_HEX::BytesToText(std::string_view bytes) const
{
    const std::string_view table = CharTable();
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.push_back(table[byte >> 4]);
        text.push_back(table[byte & 0x0F]);
    }
    return text;
}

std::string TTextFormat_HEX::FormatName() const
{
    return "Hexadecimal";
}
int TTextFormat_HEX::FormatId() const
{
    return 16;
}

bool TTextFormat_HEX::IsValidInput(std::string_view data, bool decoding) const
{
    const std::string_view table = CharTable();
    return !decoding || std::all_of(data.begin(), data.end(), [&](char c) {
        return FindDigit(table, 18, c, true) != kNotFound || InTable(table, c);
    });
}

std::string_view TTextFormat_HEX::CharTable() const
{
    return kHexTable;
}

std::string TTextFormat_HEXL::FormatName() const
{
    return "Hexadecimal lowercase";
}
int TTextFormat_HEXL::FormatId() const
{
    return 1016;
}
std::string_view TTextFormat_HEXL::CharTable() const
{
    return kHexLowerTable;
}

std::string TTextFormat_MIME64::TextToBytes(std::string_view text) const
{
    const std::string_view table = CharTable();
    std::string bytes;
    SixBitReader reader;
    for (char c : text) {
        const int digit = FindDigit(table, kDigits64 + 1, c, false);
        if (digit == static_cast<int>(kDigits64)) {
            break;  // the pad ends the data
        }
        if (digit != kNotFound) {
            reader.Add(static_cast<unsigned>(digit), bytes);
        }
    }
    return bytes;
}

std::string TTextFormat_MIME64::BytesToText(std::string_view bytes) const
{
    std::string text;
    AppendSixBitGroups(CharTable(), bytes, text);
    const std::size_t padding = (3 - bytes.size() % 3) % 3;
    text.replace(text.size() - padding, padding, padding, CharTable()[kDigits64]);
    return text;
}

std::string TTextFormat_MIME64::FormatName() const
{
    return "MIME Base 64";
}
int TTextFormat_MIME64::FormatId() const
{
    return 4196;
}

bool TTextFormat_MIME64::IsValidInput(std::string_view data, bool decoding) const
{
    return !decoding || AllInTable(CharTable(), data);
}

std::string_view TTextFormat_MIME64::CharTable() const
{
    return kMime64Table;
}

std::string TTextFormat_UU::TextToBytes(std::string_view text) const
{
    std::string bytes;
    if (!Decode(text, &bytes)) {
        throw ETextFormat("Input is not an valid " + FormatName() + " Format.");
    }
    return bytes;
}

std::string TTextFormat_UU::BytesToText(std::string_view bytes) const
{
    const std::string_view table = CharTable();
    std::string text;
    for (std::size_t start = 0; start < bytes.size(); start += kUuPieceBytes) {
        const std::string_view piece = bytes.substr(start, kUuPieceBytes);
        text.push_back(table[piece.size()]);
        AppendSixBitGroups(table, piece, text);
    }
    return text;
}

std::string TTextFormat_UU::FormatName() const
{
    return "UU Coding";
}
int TTextFormat_UU::FormatId() const
{
    return 21845;
}

bool TTextFormat_UU::IsValidInput(std::string_view data, bool decoding) const
{
    return !decoding || Decode(data, nullptr);
}

std::string_view TTextFormat_UU::CharTable() const
{
    return kUuTable;
}

// Each piece: a count digit, then four digits per three bytes; the skipped
// characters may stand anywhere. Returns false for anything else.
bool TTextFormat_UU::Decode(std::string_view text, std::string* bytes) const
{
    const std::string_view table = CharTable();
    std::string out;
    std::size_t i = 0;
    auto nextDigit = [&](int& digit) {
        for (; i < text.size(); ++i) {
            digit = FindDigit(table, kDigits64, text[i], false);
            if (digit != kNotFound) {
                ++i;
                return true;
            }
            if (!InTable(table, text[i])) {
                return false;
            }
        }
        return false;
    };
    int count = 0;
    while (nextDigit(count)) {
        if (count > static_cast<int>(kUuPieceBytes)) {
            return false;
        }
        std::string piece;
        SixBitReader reader;
        for (int d = 0; d < (count + 2) / 3 * 4; ++d) {
            int digit = 0;
            if (!nextDigit(digit)) {
                return false;
            }
            reader.Add(static_cast<unsigned>(digit), piece);
        }
        out.append(piece, 0, static_cast<std::size_t>(count));
    }
    if (i < text.size()) {
        return false;
    }
    if (bytes != nullptr) {
        *bytes = std::move(out);
    }
    return true;
}

std::string TTextFormat_XX::FormatName() const
{
    return "XX Coding";
}
int TTextFormat_XX::FormatId() const
{
    return 22616;
}
std::string_view TTextFormat_XX::CharTable() const
{
    return kXxTable;
}

void RegisterTextFormat(const TTextFormat* format)
{
    if (format == nullptr) {
        return;
    }
    auto& formats = Registry();
    const auto same = std::find_if(formats.begin(), formats.end(), [&](const TTextFormat* f) {
        return f->FormatId() == format->FormatId();
    });
    if (same != formats.end()) {
        *same = format;
    } else {
        formats.push_back(format);
    }
}

const TTextFormat* FindTextFormat(int id)
{
    if (id == -1) {
        id = kDefaultTextFormat;
    }
    for (const TTextFormat* format : Registry()) {
        if (format->FormatId() == id) {
            return format;
        }
    }
    return nullptr;
}

std::string BytesToFormat(const char* bytes, int length, int id)
{
    const std::string_view data = ByteView(bytes, length);
    if (data.empty() || id == 0) {
        return {};
    }
    const TTextFormat& format = RequireFormat(id);
    if (!format.IsValidInput(data, false)) {
        throw ETextFormat("Input can not be convert to " + format.FormatName() + " Format.");
    }
    return format.BytesToText(data);
}

std::string FormatToBytes(const char* text, int length, int id)
{
    const std::string_view data = ByteView(text, length);
    if (data.empty() || id == 0) {
        return {};
    }
    const TTextFormat& format = RequireFormat(id);
    if (!format.IsValidInput(data, true)) {
        throw ETextFormat("Input is not an valid " + format.FormatName() + " Format.");
    }
    return format.TextToBytes(data);
}
