#include "platform/version_info.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/exception.h"

namespace {

[[noreturn]] void RaiseVersionError(int code)
{
    throw Exception("System error in function GetFileVersionInfoSize. Error code: " +
                    std::to_string(code));
}

// Reads byte ranges of a file; a range beyond the end means the file is not
// the ELF file its headers claim, so it has no version record.
class TFileBytes {
public:
    explicit TFileBytes(const std::string& fileName) : stream_(fileName, std::ios::binary)
    {
        if (!stream_)
            RaiseVersionError(errno != 0 ? errno : ENOENT);
        stream_.seekg(0, std::ios::end);
        size_ = static_cast<std::uint64_t>(stream_.tellg());
    }

    std::vector<unsigned char> Read(std::uint64_t offset, std::uint64_t count)
    {
        if (offset > size_ || count > size_ - offset)
            RaiseVersionError(ENODATA);
        std::vector<unsigned char> bytes(static_cast<std::size_t>(count));
        stream_.seekg(static_cast<std::streamoff>(offset));
        stream_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
        if (!stream_)
            RaiseVersionError(EIO);
        return bytes;
    }

private:
    std::ifstream stream_;
    std::uint64_t size_ = 0;
};

// Field access in the byte order and word size the ELF identification names.
class TElfLayout {
public:
    TElfLayout(bool is64, bool bigEndian) : is64_(is64), bigEndian_(bigEndian) {}

    std::uint64_t Get(const std::vector<unsigned char>& bytes, std::size_t offset,
                      std::size_t width) const
    {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t index = bigEndian_ ? offset + i : offset + width - 1 - i;
            value = (value << 8) | bytes.at(index);
        }
        return value;
    }
    std::uint64_t Word(const std::vector<unsigned char>& bytes, std::size_t offset32,
                       std::size_t offset64) const
    {
        return is64_ ? Get(bytes, offset64, 8) : Get(bytes, offset32, 4);
    }
    bool Is64() const { return is64_; }

private:
    bool is64_;
    bool bigEndian_;
};

struct TSectionHeader {
    std::uint32_t Name = 0;
    std::uint32_t Type = 0;
    std::uint32_t Link = 0;
    std::uint64_t Offset = 0;
    std::uint64_t Size = 0;
};

constexpr std::uint32_t kSectionNoBits = 8;
constexpr std::uint64_t kMaxSections = 65536;

class TElfSections {
public:
    explicit TElfSections(TFileBytes& file) : file_(file), layout_(ReadLayout())
    {
        const auto header = file_.Read(0, layout_.Is64() ? 64 : 52);
        tableOffset_ = layout_.Word(header, 0x20, 0x28);
        entrySize_ = layout_.Get(header, layout_.Is64() ? 0x3A : 0x2E, 2);
        count_ = layout_.Get(header, layout_.Is64() ? 0x3C : 0x30, 2);
        std::uint64_t namesIndex = layout_.Get(header, layout_.Is64() ? 0x3E : 0x32, 2);
        if (entrySize_ < (layout_.Is64() ? 64u : 40u) || tableOffset_ == 0)
            RaiseVersionError(ENODATA);
        // Large tables keep their real count and name index in section 0.
        if (count_ == 0)
            count_ = Section(0).Size;
        if (namesIndex == 0xFFFF)
            namesIndex = Section(0).Link;
        if (count_ > kMaxSections || namesIndex >= count_)
            RaiseVersionError(ENODATA);
        names_ = Contents(Section(namesIndex));
    }

    std::optional<TSectionHeader> Find(std::string_view name)
    {
        for (std::uint64_t index = 1; index < count_; ++index) {
            const TSectionHeader section = Section(index);
            if (NameAt(section.Name) == name)
                return section;
        }
        return std::nullopt;
    }

    std::vector<unsigned char> Contents(const TSectionHeader& section)
    {
        if (section.Type == kSectionNoBits)
            RaiseVersionError(ENODATA);
        return file_.Read(section.Offset, section.Size);
    }

private:
    TElfLayout ReadLayout()
    {
        const auto ident = file_.Read(0, 16);
        const bool isElf =
            ident[0] == 0x7F && ident[1] == 'E' && ident[2] == 'L' && ident[3] == 'F';
        if (!isElf || ident[4] < 1 || ident[4] > 2 || ident[5] < 1 || ident[5] > 2)
            RaiseVersionError(ENODATA);
        return TElfLayout(ident[4] == 2, ident[5] == 2);
    }

    TSectionHeader Section(std::uint64_t index)
    {
        const auto bytes = file_.Read(tableOffset_ + index * entrySize_, entrySize_);
        TSectionHeader section;
        section.Name = static_cast<std::uint32_t>(layout_.Get(bytes, 0, 4));
        section.Type = static_cast<std::uint32_t>(layout_.Get(bytes, 4, 4));
        section.Offset = layout_.Word(bytes, 0x10, 0x18);
        section.Size = layout_.Word(bytes, 0x14, 0x20);
        section.Link =
            static_cast<std::uint32_t>(layout_.Get(bytes, layout_.Is64() ? 0x28 : 0x18, 4));
        return section;
    }

    std::string_view NameAt(std::uint32_t offset) const
    {
        if (offset >= names_.size())
            return {};
        const char* start = reinterpret_cast<const char*>(names_.data()) + offset;
        return std::string_view(start, strnlen(start, names_.size() - offset));
    }

    TFileBytes& file_;
    TElfLayout layout_;
    std::uint64_t tableOffset_ = 0;
    std::uint64_t entrySize_ = 0;
    std::uint64_t count_ = 0;
    std::vector<unsigned char> names_;
};

std::uint16_t RecordNumber(const std::vector<unsigned char>& record, std::size_t index)
{
    const std::size_t offset = kVersionMagicSize + 2 * index;
    return static_cast<std::uint16_t>(record[offset] | (record[offset + 1] << 8));
}

}  // namespace

TFileVersion ReadFileVersion(const std::string& fileName)
{
    TFileBytes file(fileName);
    TElfSections sections(file);
    const std::optional<TSectionHeader> section = sections.Find(kVersionSectionName);
    if (!section)
        RaiseVersionError(ENODATA);
    const std::vector<unsigned char> record = sections.Contents(*section);
    if (record.size() < kVersionRecordSize ||
        std::memcmp(record.data(), kVersionMagic.data(), kVersionMagicSize) != 0)
        RaiseVersionError(ENODATA);
    return {RecordNumber(record, 0), RecordNumber(record, 1), RecordNumber(record, 2),
            RecordNumber(record, 3)};
}

std::string FormatFileVersion(const TFileVersion& version, int parts)
{
    const std::string majorMinor =
        std::to_string(version.Major) + "." + std::to_string(version.Minor);
    const std::string release = "." + std::to_string(version.Release);
    switch (parts) {
        case 0: return majorMinor;
        case 1: return majorMinor + release;
        case 2: return majorMinor + release + "." + std::to_string(version.Build);
        case 3: return majorMinor + release + " (." + std::to_string(version.Build) + ")";
    }
    throw Exception("Assertion failed: version parts must be 0 to 3, not " + std::to_string(parts));
}
