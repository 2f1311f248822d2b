#include "io/ozr_io_csv_file.h"

#include <algorithm>

#include "platform/codepages.h"
#include "platform/exception.h"

namespace {

// Large enough that reading costs few calls, small enough to stay in the cache.
constexpr std::size_t kPieceSize = 256 * 1024;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEBom = "\xFF\xFE";
constexpr std::string_view kUtf16BEBom = "\xFE\xFF";

// Where the bytes stop holding whole UTF-8 sequences: a sequence that the end
// of a piece cuts is judged together with the next piece.
std::size_t WholeUtf8End(std::string_view bytes)
{
    const std::size_t end = bytes.size();
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, end); ++back) {
        if ((static_cast<unsigned char>(bytes[end - back]) & 0xC0) == 0x80)
            continue;
        return Utf8Length(bytes[end - back]) > back ? end - back : end;
    }
    return end;
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}

const char* LineEnd(const char* from, const char* end)
{
    while (from != end && *from != '\n' && *from != '\r')
        ++from;
    return from;
}

}  // namespace

std::size_t Utf8Length(char lead)
{
    const auto byte = static_cast<unsigned char>(lead);
    return byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
}

TTextFile::TTextFile(const std::string& fileName)
    : fileName_(fileName), file_(std::fopen(fileName.c_str(), "rb"))
{
    if (!file_)
        throw Exception("Cannot open the file \"" + fileName + "\"");
    // Pieces are read straight into the text; a buffer of the stream would copy them once more.
    std::setvbuf(file_.get(), nullptr, _IONBF, 0);
    encoding_ = DetectEncoding();
}

TTextFile::TEncoding TTextFile::DetectEncoding()
{
    char head[kUtf8Bom.size()];
    const std::string_view start(head, Read(head, sizeof head));
    const auto textFrom = [this](std::size_t offset) {
        if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0)
            throw Exception("Cannot read the file \"" + fileName_ + "\"");
    };
    if (start.starts_with(kUtf8Bom)) {
        textFrom(kUtf8Bom.size());
        return TEncoding::Utf8;
    }
    if (start.starts_with(kUtf16LEBom) || start.starts_with(kUtf16BEBom)) {
        textFrom(kUtf16LEBom.size());
        return start.starts_with(kUtf16LEBom) ? TEncoding::Utf16LE : TEncoding::Utf16BE;
    }
    textFrom(0);
    const bool utf8 = RestIsUtf8();
    textFrom(0);
    return utf8 ? TEncoding::Utf8 : TEncoding::Ansi;
}

bool TTextFile::RestIsUtf8()
{
    std::string piece(kPieceSize, '\0');
    std::size_t carried = 0;
    while (true) {
        const std::size_t got = Read(piece.data() + carried, piece.size() - carried);
        const std::string_view bytes(piece.data(), carried + got);
        if (got == 0)
            return IsValidUtf8(bytes);
        const std::size_t whole = WholeUtf8End(bytes);
        if (!IsValidUtf8(bytes.substr(0, whole)))
            return false;
        carried = bytes.size() - whole;
        std::copy(bytes.end() - static_cast<std::ptrdiff_t>(carried), bytes.end(), piece.begin());
    }
}

std::size_t TTextFile::Read(char* to, std::size_t size)
{
    const std::size_t got = std::fread(to, 1, size, file_.get());
    if (got < size && std::ferror(file_.get()))
        throw Exception("Cannot read the file \"" + fileName_ + "\"");
    return got;
}

bool TTextFile::NextLine(std::string_view& line)
{
    while (true) {
        const char* const begin = text_.data() + start_;
        const char* const end = text_.data() + text_.size();
        const char* const stop = LineEnd(begin, end);
        // A CR that ends the text read so far may be the first half of a CR LF.
        const bool complete = stop != end && (*stop == '\n' || stop + 1 != end || ended_);
        if (complete || (ended_ && begin != end)) {
            line = std::string_view(begin, static_cast<std::size_t>(stop - begin));
            const bool crlf = complete && *stop == '\r' && stop + 1 != end && stop[1] == '\n';
            start_ =
                static_cast<std::size_t>(stop - text_.data()) + (complete ? 1 : 0) + (crlf ? 1 : 0);
            return true;
        }
        if (ended_)
            return false;
        ReadPiece();
    }
}

void TTextFile::ReadPiece()
{
    text_.erase(0, start_);
    start_ = 0;
    // A line longer than a piece doubles what is read next, so that searching
    // it for its end again after each piece costs no more than twice its length.
    const std::size_t size = std::max(kPieceSize, text_.size());
    std::string& bytes = encoding_ == TEncoding::Utf8 ? text_ : raw_;
    const std::size_t before = bytes.size();
    bytes.resize(before + size);
    const std::size_t got = Read(bytes.data() + before, size);
    bytes.resize(before + got);
    ended_ = got == 0;
    if (encoding_ != TEncoding::Utf8)
        Decode();
}

void TTextFile::Decode()
{
    if (encoding_ == TEncoding::Ansi) {
        text_ += AnsiToUtf8(raw_);
        raw_.clear();
        return;
    }
    const bool bigEndian = encoding_ == TEncoding::Utf16BE;
    std::u16string units(raw_.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(raw_[2 * i]);
        const auto second = static_cast<unsigned char>(raw_[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    // The first half of a surrogate pair waits for its second half, unless the file ends here.
    if (!ended_ && !units.empty() && IsHighSurrogate(units.back()))
        units.pop_back();
    text_ += Utf16ToUtf8(units);
    // An odd byte at the end of the file is no character.
    raw_.erase(0, ended_ ? raw_.size() : 2 * units.size());
}
