#include "io/regions_file_scanner.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/codepages.h"

namespace {

// Thrown at anything that the scanner leaves to the document layer.
struct TGiveUp {};

[[noreturn]] void GiveUp()
{
    throw TGiveUp{};
}

// Deep enough for the region tree and a few levels of other elements below it.
constexpr int kMaxDepth = 32;

constexpr const char* kDocumentTag = "OZR_WQ_Regions";

// What the scans need to know of a byte, one table look-up each.
enum TByteClass : unsigned char {
    kSpace = 1,
    kNameStart = 2,
    kNameChar = 4,
    kEndsMarkupText = 8,  // '<' and the NUL
    kEndsPlainText = 16,  // also '&' and CR, which a text decodes
};

constexpr std::array<unsigned char, 256> MakeByteClasses()
{
    std::array<unsigned char, 256> classes{};
    for (const unsigned char c : {' ', '\t', '\n', '\r'})
        classes[c] |= kSpace;
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (letter || c == '_' || c == ':')
            classes[c] |= kNameStart | kNameChar;
        if ((c >= '0' && c <= '9') || c == '-' || c == '.')
            classes[c] |= kNameChar;
    }
    for (const unsigned char c : {'<', '\0'})
        classes[c] |= kEndsMarkupText | kEndsPlainText;
    for (const unsigned char c : {'&', '\r'})
        classes[c] |= kEndsPlainText;
    return classes;
}

constexpr std::array<unsigned char, 256> kByteClasses = MakeByteClasses();

bool Is(char c, TByteClass byteClass)
{
    return (kByteClasses[static_cast<unsigned char>(c)] & byteClass) != 0;
}

// The first character from `at` on that is not of the class. A local pointer
// lets the compiler keep it in a register: stored through the scanner, every
// step would go to memory, as a char may alias the scanner itself.
char* Past(char* at, TByteClass byteClass)
{
    while (Is(*at, byteClass))
        ++at;
    return at;
}

// Past the white space from `at` on. The indentation of a large file is
// mostly long runs of blanks: eight of them are taken at a time.
char* PastSpace(char* at)
{
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020u;
    for (;;) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        if (word == kEightBlanks)
            at += sizeof word;
        else if (Is(*at, kSpace))
            ++at;
        else
            return at;
    }
}

// The first character from `at` on that is of the class.
char* UpTo(char* at, TByteClass byteClass)
{
    while (!Is(*at, byteClass))
        ++at;
    return at;
}

// "UTF-8" in any case.
bool IsUtf8Name(std::string_view encoding)
{
    if (encoding.size() != 5 || encoding[3] != '-' || encoding[4] != '8')
        return false;
    for (std::size_t i = 0; i < 3; ++i)
        if ((encoding[i] | 0x20) != "utf"[i])
            return false;
    return true;
}

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
        return (c | 0x20) - 'a' + 10;
    return -1;
}

char* AppendUtf8(char* out, unsigned long code)
{
    const auto byte = [](unsigned long bits) { return static_cast<char>(bits); };
    if (code < 0x80) {
        *out++ = byte(code);
    } else if (code < 0x800) {
        *out++ = byte(0xC0 | code >> 6);
        *out++ = byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = byte(0xE0 | code >> 12);
        *out++ = byte(0x80 | (code >> 6 & 0x3F));
        *out++ = byte(0x80 | (code & 0x3F));
    } else {
        *out++ = byte(0xF0 | code >> 18);
        *out++ = byte(0x80 | (code >> 12 & 0x3F));
        *out++ = byte(0x80 | (code >> 6 & 0x3F));
        *out++ = byte(0x80 | (code & 0x3F));
    }
    return out;
}

// The file's bytes with NULs after them. The first NUL stops every scan; one
// inside the file makes the scanner give up, as nothing in it accepts a NUL.
// The others let a scan read a word at a time up to the first.
class TFileText {
public:
    // False when the file cannot be read whole; the document layer says why.
    bool Read(const std::string& fileName)
    {
        const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool read = ReadOpen(fd);
        ::close(fd);
        return read;
    }

    char* Begin() const { return bytes_.get(); }
    const char* End() const { return bytes_.get() + size_; }
    bool IsUtf8() const { return isUtf8_; }

private:
    bool ReadOpen(int fd)
    {
        struct stat status {};
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
            return false;
        size_ = static_cast<std::size_t>(status.st_size);
        bytes_.reset(new char[size_ + kPadding]);  // left uninitialised: the read fills it
        TUtf8Checker checker;
        for (std::size_t done = 0; done < size_;) {
            const std::size_t piece = std::min(size_ - done, TUtf8Checker::kPieceSize);
            const ssize_t got = ::read(fd, bytes_.get() + done, piece);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            done += static_cast<std::size_t>(got);
            checker.Check({bytes_.get(), done}, done == size_);
        }
        isUtf8_ = checker.FirstInvalid() == std::string_view::npos;
        std::memset(bytes_.get() + size_, 0, kPadding);
        return true;
    }

    static constexpr std::size_t kPadding = sizeof(std::uint64_t);

    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
    bool isUtf8_ = false;
};

class TScanner {
public:
    TScanner(const TFileText& text, TRegionTreeBuilder& builder)
        : at_(text.Begin()), end_(text.End()), builder_(builder)
    {
    }

    void Document()
    {
        Skip("\xEF\xBB\xBF");
        if (Skip("<?xml"))
            Declaration();
        SkipMisc();
        Expect('<');
        const std::string_view tag = Name();
        if (tag != kDocumentTag)
            GiveUp();
        if (StartTag(true)) {
            Content(tag, [this](std::string_view child) {
                if (child == "Country")
                    Region(rtCountry, nullptr, child);
                else
                    SkipElement(child);
            });
        }
        SkipMisc();
        if (at_ != end_)
            GiveUp();
    }

private:
    // Counts the open elements while their content is read.
    class TLevel {
    public:
        explicit TLevel(int& depth) : depth_(depth)
        {
            if (++depth_ > kMaxDepth)
                GiveUp();
        }
        ~TLevel() { --depth_; }
        TLevel(const TLevel&) = delete;
        TLevel& operator=(const TLevel&) = delete;

    private:
        int& depth_;
    };

    // Compares byte by byte, so that the NUL at the end stops it in time.
    bool Skip(std::string_view literal)
    {
        std::size_t i = 0;
        while (i < literal.size() && at_[i] == literal[i])
            ++i;
        if (i < literal.size())
            return false;
        at_ += i;
        return true;
    }

    void Expect(char c)
    {
        if (*at_ != c)
            GiveUp();
        ++at_;
    }

    // True when there was any.
    bool SkipSpace()
    {
        char* const start = at_;
        at_ = PastSpace(at_);
        return at_ != start;
    }

    void SkipMisc()
    {
        for (;;) {
            SkipSpace();
            if (!Skip("<!--"))
                return;
            SkipComment();
        }
    }

    void SkipComment()
    {
        while (!(at_[0] == '-' && at_[1] == '-' && at_[2] == '>')) {
            if (*at_ == '\0')
                GiveUp();
            ++at_;
        }
        at_ += 3;
    }

    std::string_view Name()
    {
        const char* start = at_;
        if (!Is(*at_, kNameStart))
            GiveUp();
        at_ = Past(at_ + 1, kNameChar);
        return {start, static_cast<std::size_t>(at_ - start)};
    }

    // The quoted value of an attribute; a value that holds no NUL and not its quote.
    std::string_view Quoted()
    {
        const char quote = *at_;
        if (quote != '"' && quote != '\'')
            GiveUp();
        const char* start = ++at_;
        while (*at_ != quote) {
            if (*at_ == '\0')
                GiveUp();
            ++at_;
        }
        return {start, static_cast<std::size_t>(at_++ - start)};
    }

    struct TAttribute {
        std::string_view Name;
        std::string_view Value;
    };

    TAttribute Attribute()
    {
        const std::string_view name = Name();
        SkipSpace();
        Expect('=');
        SkipSpace();
        return {name, Quoted()};
    }

    // Version, encoding and standalone, with plain values only, so that the
    // encoding named is the one found here. Only UTF-8 is read here.
    void Declaration()
    {
        for (;;) {
            const bool spaced = SkipSpace();
            if (Skip("?>"))
                return;
            if (!spaced)
                GiveUp();
            const auto [name, value] = Attribute();
            for (const char c : value)
                if (!Is(c, kNameChar))
                    GiveUp();
            const bool known = name == "version" || name == "standalone" ||
                               (name == "encoding" && IsUtf8Name(value));
            if (!known)
                GiveUp();
        }
    }

    // After the tag's name: true when content and an end tag follow, false for
    // an empty-element tag.
    bool StartTag(bool withAttributes)
    {
        for (;;) {
            const bool spaced = SkipSpace();
            if (*at_ == '>') {
                ++at_;
                return true;
            }
            if (at_[0] == '/' && at_[1] == '>') {
                at_ += 2;
                return false;
            }
            if (!spaced || !withAttributes)
                GiveUp();
            Attribute();
        }
    }

    // After "</". Only blanks and '>' may follow the tag.
    void EndTag(std::string_view tag)
    {
        if (!Skip(tag))
            GiveUp();
        SkipSpace();
        Expect('>');
    }

    // Texts and comments between the child elements are passed over; each
    // child goes to onChild with its tag read.
    template <class OnChild>
    void Content(std::string_view tag, OnChild&& onChild)
    {
        const TLevel level(depth_);
        for (;;) {
            at_ = UpTo(PastSpace(at_), kEndsMarkupText);
            if (*at_++ != '<')
                GiveUp();
            if (*at_ == '/') {
                ++at_;
                EndTag(tag);
                return;
            }
            if (Skip("!--"))
                SkipComment();
            else
                onChild(Name());
        }
    }

    void SkipElement(std::string_view tag)
    {
        if (StartTag(false))
            Content(tag, [this](std::string_view child) { SkipElement(child); });
    }

    static std::optional<TRegionType> ChildRegionType(TRegionType type, std::string_view tag)
    {
        switch (type) {
            case rtCountry:
                if (tag == "NUTS1")
                    return rtNUTS1;
                if (tag == "RBD")
                    return rtRBD;
                if (tag == "RB")
                    return rtRB;
                return std::nullopt;
            case rtNUTS1: return tag == "NUTS2" ? std::optional(rtNUTS2) : std::nullopt;
            case rtNUTS2: return tag == "NUTS3" ? std::optional(rtNUTS3) : std::nullopt;
            case rtRBD: return tag == "SU" ? std::optional(rtSU) : std::nullopt;
            default: return std::nullopt;
        }
    }

    // The region is made at its first child region, or at its end. Its child
    // regions must come by type in the order in which the tree is made
    // (NUTS1, RBD, RB), and its Code and Name before them.
    void Region(TRegionType type, TRegion* parent, std::string_view tag)
    {
        std::optional<std::string_view> code;
        std::optional<std::string_view> name;
        std::optional<TRegion*> region;
        TRegionType lastChildType = type;
        const auto make = [&] {
            region = builder_.Take(type, parent, code.value_or(""), name.value_or(""));
        };
        if (StartTag(false)) {
            Content(tag, [&](std::string_view child) {
                if (child == "Code" && !code) {
                    code = Text(child);
                } else if (child == "Name" && !name) {
                    name = Text(child);
                } else if (const auto childType = ChildRegionType(type, child)) {
                    if (!code || !name || *childType < lastChildType)
                        GiveUp();
                    if (!region)
                        make();
                    lastChildType = *childType;
                    Region(*childType, *region, child);
                } else {
                    SkipElement(child);
                }
            });
        }
        if (!region)
            make();
    }

    // The text of a Code or Name, decoded where it stands: nothing but
    // characters and references may stand between its tags.
    std::string_view Text(std::string_view tag)
    {
        if (!StartTag(false))
            return {};
        char* const begin = at_;
        at_ = UpTo(at_, kEndsPlainText);
        char* const end = *at_ == '<' ? at_ : Decode(at_);
        if (at_[1] != '/')
            GiveUp();  // a comment or an element: no longer a single text
        at_ += 2;
        EndTag(tag);
        return {begin, static_cast<std::size_t>(end - begin)};
    }

    // From the first reference or CR on to the end of the text; returns the
    // end of the decoded text, which never outgrows the encoded one. Line
    // ends become LF as the document layer has them.
    char* Decode(char* out)
    {
        for (;;) {
            switch (*at_) {
                case '<': return out;
                case '\0': GiveUp();
                case '&': out = Reference(out); break;
                case '\r':
                    *out++ = '\n';
                    at_ += at_[1] == '\n' ? 2 : 1;
                    break;
                default: *out++ = *at_++;
            }
        }
    }

    char* Reference(char* out)
    {
        ++at_;
        if (*at_ == '#') {
            ++at_;
            return AppendUtf8(out, CharacterCode());
        }
        static constexpr std::pair<std::string_view, char> kEntities[] = {
            {"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}, {"quot;", '"'}, {"apos;", '\''}};
        for (const auto& [entity, character] : kEntities) {
            if (Skip(entity)) {
                *out++ = character;
                return out;
            }
        }
        GiveUp();
    }

    // The code point of "123;" or "x7B;"; NUL, surrogates and anything beyond
    // Unicode are left to the document layer.
    unsigned long CharacterCode()
    {
        const bool hex = Skip("x");
        const unsigned long base = hex ? 16 : 10;
        unsigned long code = 0;
        const char* start = at_;
        for (int digit; (digit = DigitValue(*at_, hex)) >= 0; ++at_) {
            code = code * base + static_cast<unsigned long>(digit);
            if (code > 0x10FFFF)
                GiveUp();
        }
        if (at_ == start || *at_ != ';' || code == 0 || (code >= 0xD800 && code <= 0xDFFF))
            GiveUp();
        ++at_;
        return code;
    }

    char* at_;
    const char* end_;
    TRegionTreeBuilder& builder_;
    int depth_ = 0;
};

}  // namespace

bool ScanRegionsFile(const std::string& FileName, TRegionTreeBuilder& Builder)
{
    TFileText text;
    if (!text.Read(FileName) || !text.IsUtf8())
        return false;
    try {
        TScanner(text, Builder).Document();
    } catch (const TGiveUp&) {
        return false;
    }
    return true;
}
