#include "xml/xml_document.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/codepages.h"
#include "xml/xml_error.h"
#include "xml/xml_writer.h"

namespace {

// Indentation between elements is no text; a text of blanks alone inside an
// element is. An element's leading text is kept as its value, which saves a
// node per simple value.
constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

[[noreturn]] void ThrowFileError(const char* what, const std::string& fileName, int error)
{
    throw EXMLDocError(std::string(what) + " \"" + fileName + "\". " + std::strerror(error));
}

// Leaves new elements uninitialised: a buffer that read() fills at once need
// not be cleared first, which for a large file costs as much as the read.
template <class T>
struct TUninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = TUninitialisedAllocator<U>;
    };
    template <class U>
    void construct(U* place)
    {
        ::new (static_cast<void*>(place)) U;
    }
};

using TFileBytes = std::vector<char, TUninitialisedAllocator<char>>;

struct TFileText {
    TFileBytes Bytes;
    std::size_t InvalidUtf8At;  // npos when every byte is UTF-8
};

TFileText ReadWholeFile(const std::string& fileName)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowFileError("Cannot open file", fileName, errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
        ::close(fd);
        ThrowFileError("Cannot read file", fileName, error);
    }
    // One byte more than the size lets the read see the end without growing the buffer.
    TFileBytes bytes(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)) + 1);
    TUtf8Checker checker;
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(bytes.size() + 65536);  // the file grew or reports no size
        const std::size_t piece = std::min(bytes.size() - done, TUtf8Checker::kPieceSize);
        const ssize_t got = ::read(fd, bytes.data() + done, piece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            const int error = errno;
            ::close(fd);
            if (got < 0)
                ThrowFileError("Cannot read file", fileName, error);
            break;
        }
        done += static_cast<std::size_t>(got);
        checker.Check({bytes.data(), done}, false);
    }
    bytes.resize(done);
    checker.Check({bytes.data(), done}, true);
    return {std::move(bytes), checker.FirstInvalid()};
}

struct TextPosition {
    std::size_t Line = 1;
    std::size_t Column = 1;
};

// Columns count characters, so a UTF-8 sequence counts once.
TextPosition PositionOf(const TFileBytes& bytes, std::size_t offset)
{
    TextPosition position;
    const std::size_t end = std::min(offset, bytes.size());
    const bool hasByteOrderMark =
        bytes.size() >= 3 && std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0;
    for (std::size_t i = hasByteOrderMark ? 3 : 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n') {
            ++position.Line;
            position.Column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++position.Column;
        }
    }
    return position;
}

[[noreturn]] void ThrowNotWellFormed(const std::string& fileName, std::ptrdiff_t offset,
                                     const std::string& reason)
{
    // The parse works in place, so the position is found in a fresh copy.
    const TextPosition position = PositionOf(ReadWholeFile(fileName).Bytes,
                                             offset < 0 ? 0 : static_cast<std::size_t>(offset));
    throw EXMLDocError("The file \"" + fileName + "\" is not well-formed XML: " + reason +
                       " (line " + std::to_string(position.Line) + ", column " +
                       std::to_string(position.Column) + ")");
}

// The parser takes any byte in UTF-8 text, but a document read as UTF-8 that
// holds a byte outside it is not well-formed: its faulty characters would
// come back as replacement characters, making two texts one. Such a byte is
// the fault reported unless the parser met another one before it.
bool InvalidUtf8ComesFirst(const pugi::xml_parse_result& parsed, std::size_t invalidAt)
{
    if (invalidAt == std::string_view::npos || parsed.encoding != pugi::encoding_utf8)
        return false;
    return parsed || parsed.status == pugi::status_no_document_element ||
           invalidAt < static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0));
}

}  // namespace

struct TXMLDocument::Storage {
    TFileBytes buffer;  // the parsed text lives here
    pugi::xml_document document;
};

TXMLDocument::TXMLDocument() : storage_(std::make_unique<Storage>()) {}
TXMLDocument::~TXMLDocument() = default;
TXMLDocument::TXMLDocument(TXMLDocument&&) noexcept = default;
TXMLDocument& TXMLDocument::operator=(TXMLDocument&&) noexcept = default;

TXMLDocument TXMLDocument::LoadFromFile(const std::string& fileName)
{
    TXMLDocument result;
    Storage& storage = *result.storage_;
    TFileText text = ReadWholeFile(fileName);
    storage.buffer = std::move(text.Bytes);
    const pugi::xml_parse_result parsed = storage.document.load_buffer_inplace(
        storage.buffer.data(), storage.buffer.size(), kParseOptions);
    if (InvalidUtf8ComesFirst(parsed, text.InvalidUtf8At))
        ThrowNotWellFormed(fileName, static_cast<std::ptrdiff_t>(text.InvalidUtf8At),
                           "Invalid UTF-8 byte sequence");
    if (parsed.status == pugi::status_no_document_element)
        throw EXMLDocError("The file \"" + fileName + "\" holds no XML document element");
    if (!parsed)
        ThrowNotWellFormed(fileName, parsed.offset, parsed.description());
    const pugi::xml_node root = storage.document.document_element();
    for (pugi::xml_node next = root.next_sibling(); next; next = next.next_sibling()) {
        if (next.type() == pugi::node_element)
            ThrowNotWellFormed(fileName, next.offset_debug(), "More than one document element");
    }
    return result;
}

TXMLNode TXMLDocument::DocumentElement() const
{
    return TXMLNode(storage_->document.document_element());
}

TXMLNode TXMLDocument::AddRoot(const char* tag)
{
    if (storage_->document.document_element())
        throw EXMLDocError("Only one top level element is allowed in an XML document");
    return TXMLNode(storage_->document.append_child(tag));
}

std::string TXMLDocument::SaveToString() const
{
    return WriteIndentedXml(storage_->document.document_element());
}
