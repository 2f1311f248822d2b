#include "io/ozr_io_csv_file.h"

#include <algorithm>
#include <cstring>

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
    if (start.starts_with(kUtf8Bom)) {
        TextFrom(kUtf8Bom.size());
        return TEncoding::Utf8;
    }
    if (start.starts_with(kUtf16LEBom) || start.starts_with(kUtf16BEBom)) {
        TextFrom(kUtf16LEBom.size());
        return start.starts_with(kUtf16LEBom) ? TEncoding::Utf16LE : TEncoding::Utf16BE;
    }
    TextFrom(0);
    verifying_ = true;
    return TEncoding::Utf8;
}

void TTextFile::TextFrom(std::size_t offset)
{
    if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0)
        throw Exception("Cannot read the file \"" + fileName_ + "\"");
}

// A sequence that the end of what was read cuts is judged with what follows.
bool TTextFile::ReadTextIsUtf8()
{
    const std::string_view unverified(buffer_.data() + verified_, end_ - verified_);
    const std::size_t whole = ended_ ? unverified.size() : WholeUtf8End(unverified);
    if (!IsValidUtf8(unverified.substr(0, whole)))
        return false;
    verified_ += whole;
    verifying_ = !ended_;
    return true;
}

void TTextFile::StartOverAsAnsi()
{
    TextFrom(0);
    encoding_ = TEncoding::Ansi;
    verifying_ = false;
    startedOver_ = handedOut_;
    handedOut_ = false;
    start_ = 0;
    end_ = 0;
    lf_ = std::string::npos;
    cr_ = std::string::npos;
    ended_ = false;
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
    startedOver_ = false;
    while (true) {
        const char* const begin = buffer_.data() + start_;
        const char* const end = buffer_.data() + end_;
        const char* const stop = LineEnd();
        // A CR that ends the text read so far may be the first half of a CR LF.
        const bool complete = stop != end && (*stop == '\n' || stop + 1 != end || ended_);
        if (complete || (ended_ && begin != end)) {
            line = std::string_view(begin, static_cast<std::size_t>(stop - begin));
            const bool crlf = complete && *stop == '\r' && stop + 1 != end && stop[1] == '\n';
            start_ = static_cast<std::size_t>(stop - buffer_.data()) + (complete ? 1 : 0) +
                     (crlf ? 1 : 0);
            handedOut_ = true;
            return true;
        }
        if (ended_)
            return false;
        ReadPiece();
        if (startedOver_)
            return false;
    }
}

// Each of LF and CR is looked for once for all the lines up to it, so that
// a file whose lines end at one of them alone is not searched to its end for
// the other at each line.
const char* TTextFile::LineEnd()
{
    const auto find = [this](std::size_t& found, char end) {
        if (found != std::string::npos && found >= start_)
            return;
        const void* at = std::memchr(buffer_.data() + start_, end, end_ - start_);
        found = at ? static_cast<std::size_t>(static_cast<const char*>(at) - buffer_.data()) : end_;
    };
    find(lf_, '\n');
    find(cr_, '\r');
    return buffer_.data() + std::min(lf_, cr_);
}

void TTextFile::ReadPiece()
{
    // A line longer than a piece doubles what is read next, so that searching
    // it for its end again after each piece costs no more than twice its length.
    const std::size_t size = std::max(kPieceSize, end_ - start_);
    lf_ = std::string::npos;
    cr_ = std::string::npos;
    if (encoding_ == TEncoding::Utf8) {
        const std::size_t got = Read(Room(size), size);
        end_ += got;
        ended_ = got == 0;
        if (verifying_ && !ReadTextIsUtf8())
            StartOverAsAnsi();
        return;
    }
    const std::size_t before = raw_.size();
    raw_.resize(before + size);
    const std::size_t got = Read(raw_.data() + before, size);
    raw_.resize(before + got);
    ended_ = got == 0;
    Decode();
}

char* TTextFile::Room(std::size_t size)
{
    if (start_ > 0) {
        std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(start_),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(end_), buffer_.begin());
        end_ -= start_;
        verified_ -= std::min(verified_, start_);
        start_ = 0;
    }
    if (buffer_.size() < end_ + size)
        buffer_.resize(end_ + size);
    return buffer_.data() + end_;
}

void TTextFile::Decode()
{
    const auto append = [this](std::string_view text) {
        std::copy(text.begin(), text.end(), Room(text.size()));
        end_ += text.size();
    };
    if (encoding_ == TEncoding::Ansi) {
        append(AnsiToUtf8(raw_));
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
    append(Utf16ToUtf8(units));
    // An odd byte at the end of the file is no character.
    raw_.erase(0, ended_ ? raw_.size() : 2 * units.size());
}
