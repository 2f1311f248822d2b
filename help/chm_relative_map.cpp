// Build step of the help file: makes its context map name topics inside the file.
//
// chmcmd writes the targets of the project's [ALIAS] section into #STRINGS as
// absolute paths of the folder it ran in ("/home/x/build/help/topics/a.htm"),
// whatever folder it is started from, so a viewer that looks up a context number
// finds no topic. The map has to name "topics/a.htm", as #URLSTR does. #STRINGS
// lies in the LZX-compressed section, so this tool reads that section through
// chmlib, shortens each map target in place (the offsets of every string stay as
// they were), and stores the whole section anew as LZX blocks of the uncompressed
// kind, one per 32 KiB frame. The container keeps its layout: only the section's
// length in the directory, the reset table and the file size change.
//
// Usage: wq_chm_relative_map <file.chm> <folder of the project file chmcmd compiled>

#include <algorithm>
#include <chm_lib.h>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<unsigned char>;

constexpr std::uint64_t kFrameSize = 0x8000;
constexpr const char* kContent = "::DataSpace/Storage/MSCompressed/Content";
constexpr const char* kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
constexpr const char* kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
    "InstanceData/ResetTable";

class EHelpFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::uint64_t GetLE(const TBytes& bytes, std::uint64_t at, int size)
{
    if (at + size > bytes.size())
        throw EHelpFile("the file ends inside a header");
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

void PutLE(TBytes& bytes, std::uint64_t at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i, value >>= 8)
        bytes[at + i] = static_cast<unsigned char>(value & 0xFF);
}

TBytes ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EHelpFile("cannot read " + path);
    return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One entry of the directory, with the place of its length field in the file.
struct TDirEntry {
    std::string name;
    std::uint64_t section = 0, offset = 0, length = 0;
    std::uint64_t lengthAt = 0;
    int lengthSize = 0;
};

// Directory numbers are big-endian, seven bits a byte, the high bit saying "more".
std::uint64_t ReadEncInt(const TBytes& bytes, std::uint64_t& at)
{
    std::uint64_t value = 0;
    for (;;) {
        const unsigned char byte = bytes.at(at++);
        value = value << 7 | (byte & 0x7F);
        if (byte < 0x80)
            return value;
    }
}

// Writes value into exactly size bytes; leading bytes 0x80 add nothing.
void WriteEncInt(TBytes& bytes, std::uint64_t at, int size, std::uint64_t value)
{
    for (int i = size - 1; i >= 0; --i, value >>= 7)
        bytes[at + i] = static_cast<unsigned char>((value & 0x7F) | (i == size - 1 ? 0 : 0x80));
    if (value != 0)
        throw EHelpFile("the new section length does not fit its directory entry");
}

struct TContainer {
    std::uint64_t sizeFieldAt = 0;  // file size in header section 0
    std::uint64_t dataOffset = 0;   // start of content section 0
    std::vector<TDirEntry> entries;

    const TDirEntry& Entry(const std::string& name) const
    {
        for (const TDirEntry& entry : entries)
            if (entry.name == name)
                return entry;
        throw EHelpFile("the file has no " + name);
    }
    std::uint64_t At(const std::string& name) const { return dataOffset + Entry(name).offset; }
};

void ReadChunkEntries(const TBytes& file, std::uint64_t chunk, std::uint64_t chunkSize,
                      std::vector<TDirEntry>& entries)
{
    if (GetLE(file, chunk, 4) != 0x4C474D50)  // "PMGL"; index chunks name nothing new
        return;
    const std::uint64_t end = chunk + chunkSize - GetLE(file, chunk + 4, 4);
    for (std::uint64_t at = chunk + 0x14; at < end;) {
        TDirEntry entry;
        const std::uint64_t nameLength = ReadEncInt(file, at);
        entry.name.assign(file.begin() + at, file.begin() + at + nameLength);
        at += nameLength;
        entry.section = ReadEncInt(file, at);
        entry.offset = ReadEncInt(file, at);
        entry.lengthAt = at;
        entry.length = ReadEncInt(file, at);
        entry.lengthSize = static_cast<int>(at - entry.lengthAt);
        entries.push_back(entry);
    }
}

TContainer ReadContainer(const TBytes& file)
{
    if (GetLE(file, 0, 4) != 0x46535449)  // "ITSF"
        throw EHelpFile("not a compiled help file");
    TContainer container;
    const std::uint64_t headerLength = GetLE(file, 8, 4);
    container.sizeFieldAt = GetLE(file, 0x38, 8) + 8;
    const std::uint64_t directory = GetLE(file, 0x48, 8);
    container.dataOffset =
        headerLength >= 0x60 ? GetLE(file, 0x58, 8) : directory + GetLE(file, 0x50, 8);
    const std::uint64_t chunkSize = GetLE(file, directory + 0x10, 4);
    const std::uint64_t chunkCount = GetLE(file, directory + 0x2C, 4);
    const std::uint64_t firstChunk = directory + GetLE(file, directory + 8, 4);
    for (std::uint64_t i = 0; i < chunkCount; ++i)
        ReadChunkEntries(file, firstChunk + i * chunkSize, chunkSize, container.entries);
    return container;
}

// LZX reads 16-bit little-endian words, each from its highest bit down.
class TBitWriter {
public:
    explicit TBitWriter(TBytes& out) : out_(out) {}
    void Put(std::uint32_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            PutBit((value >> i) & 1);
    }
    // An uncompressed block starts after 1 to 16 pad bits.
    void Align()
    {
        do
            PutBit(0);
        while (used_ != 0);
    }

private:
    void PutBit(std::uint32_t bit)
    {
        word_ = static_cast<std::uint16_t>(word_ << 1 | bit);
        if (++used_ == 16) {
            out_.push_back(static_cast<unsigned char>(word_ & 0xFF));
            out_.push_back(static_cast<unsigned char>(word_ >> 8));
            word_ = 0;
            used_ = 0;
        }
    }
    TBytes& out_;
    std::uint16_t word_ = 0;
    int used_ = 0;
};

// The section as LZX: every frame one uncompressed block; a frame that starts a
// reset interval first says that no E8 translation is used. Readers decode whole
// frames, so the last one is filled up with zeros.
TBytes StoreAsLzx(const TBytes& plain, std::uint64_t framesPerReset,
                  std::vector<std::uint64_t>& frameStarts)
{
    TBytes out;
    for (std::uint64_t at = 0, frame = 0; at < plain.size(); at += kFrameSize, ++frame) {
        const std::uint64_t length = std::min<std::uint64_t>(kFrameSize, plain.size() - at);
        frameStarts.push_back(out.size());
        TBitWriter bits(out);
        if (frame % framesPerReset == 0)
            bits.Put(0, 1);
        bits.Put(3, 3);
        bits.Put(static_cast<std::uint32_t>(kFrameSize), 24);
        bits.Align();
        for (int repeated = 0; repeated < 3; ++repeated)
            out.insert(out.end(), {1, 0, 0, 0});
        out.insert(out.end(), plain.begin() + at, plain.begin() + at + length);
        out.resize(out.size() + kFrameSize - length, 0);
    }
    return out;
}

// Frames between two resets of the decoder, as readers of the format count them.
std::uint64_t FramesPerReset(const TBytes& file, std::uint64_t control)
{
    if (GetLE(file, control + 4, 4) != 0x43585A4C)  // "LZXC"
        throw EHelpFile("unknown compression of the help file");
    std::uint64_t resetInterval = GetLE(file, control + 0xC, 4);
    std::uint64_t windowSize = GetLE(file, control + 0x10, 4);
    if (GetLE(file, control + 8, 4) == 2) {
        resetInterval *= kFrameSize;
        windowSize *= kFrameSize;
    }
    const std::uint64_t frames = resetInterval / (windowSize / 2) * GetLE(file, control + 0x14, 4);
    if (frames == 0)
        throw EHelpFile("the reset interval of the help file is zero");
    return frames;
}

using TChmHandle = std::unique_ptr<chmFile, decltype(&chm_close)>;

TChmHandle OpenChm(const std::string& path)
{
    TChmHandle chm(chm_open(path.c_str()), &chm_close);
    if (!chm)
        throw EHelpFile("chmlib cannot open " + path);
    return chm;
}

chmUnitInfo Resolve(chmFile* chm, const std::string& path)
{
    chmUnitInfo unit{};
    if (chm_resolve_object(chm, path.c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        throw EHelpFile("the help file holds no " + path);
    return unit;
}

TBytes ReadCompressedSection(chmFile* chm, std::uint64_t length)
{
    chmUnitInfo whole{};
    whole.space = CHM_COMPRESSED;
    whole.length = length;
    TBytes plain(length);
    const auto read =
        chm_retrieve_object(chm, &whole, plain.data(), 0, static_cast<LONGINT64>(length));
    if (read != static_cast<LONGINT64>(length))
        throw EHelpFile("chmlib cannot read the compressed section");
    return plain;
}

// The folder as chmcmd writes it: the path given, or the same without links.
std::vector<std::string> FolderPrefixes(const std::string& folder)
{
    const std::filesystem::path given(folder);
    return {(given / "").string(), (std::filesystem::canonical(given) / "").string()};
}

bool StripPrefix(std::string& target, const std::vector<std::string>& prefixes)
{
    for (const std::string& prefix : prefixes)
        if (target.starts_with(prefix)) {
            target.erase(0, prefix.size());
            return true;
        }
    return false;
}

// Shortens every map target that starts with the folder to the topic's path in
// the file; true when anything changed.
bool RelativeMapTargets(chmFile* chm, TBytes& plain, const std::string& folder)
{
    const std::vector<std::string> prefixes = FolderPrefixes(folder);
    const chmUnitInfo ivb = Resolve(chm, "/#IVB");
    const chmUnitInfo strings = Resolve(chm, "/#STRINGS");
    bool changed = false;
    const std::uint64_t pairs = GetLE(plain, ivb.start, 4) / 8;
    for (std::uint64_t i = 0; i < pairs; ++i) {
        const std::uint64_t offset = GetLE(plain, ivb.start + 4 + 8 * i + 4, 4);
        if (offset >= strings.length)
            throw EHelpFile("the context map points outside #STRINGS");
        const auto begin = plain.begin() + strings.start + offset;
        const auto end = std::find(begin, plain.begin() + strings.start + strings.length, 0);
        std::string target(begin, end);
        if (StripPrefix(target, prefixes)) {
            std::fill(begin, end, 0);
            std::copy(target.begin(), target.end(), begin);
            changed = true;
        }
        Resolve(chm, "/" + target);
    }
    return changed;
}

// The reset table gives where each frame starts in the section; entries past
// the last frame hold the section's length.
void UpdateResetTable(TBytes& file, std::uint64_t table,
                      const std::vector<std::uint64_t>& frameStarts, std::uint64_t length)
{
    if (GetLE(file, table + 8, 4) != 8 || GetLE(file, table + 0x20, 8) != kFrameSize)
        throw EHelpFile("unknown reset table in the help file");
    PutLE(file, table + 0x18, length, 8);
    const std::uint64_t first = table + GetLE(file, table + 0xC, 4);
    for (std::uint64_t i = 0; i < GetLE(file, table + 4, 4); ++i)
        PutLE(file, first + 8 * i, i < frameStarts.size() ? frameStarts[i] : length, 8);
}

void RewriteSection(TBytes& file, const TBytes& plain, const TContainer& container)
{
    const TDirEntry& content = container.Entry(kContent);
    if (content.section != 0 || container.At(kContent) + content.length != file.size())
        throw EHelpFile("the compressed section is not the end of the help file");
    std::vector<std::uint64_t> frameStarts;
    const TBytes stored =
        StoreAsLzx(plain, FramesPerReset(file, container.At(kControlData)), frameStarts);
    file.resize(container.At(kContent));
    file.insert(file.end(), stored.begin(), stored.end());
    UpdateResetTable(file, container.At(kResetTable), frameStarts, stored.size());
    WriteEncInt(file, content.lengthAt, content.lengthSize, stored.size());
    PutLE(file, container.sizeFieldAt, file.size(), 8);
}

void WriteWholeFile(const std::string& path, const TBytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw EHelpFile("cannot write " + path);
}

// The new file replaces the old one only when chmlib reads the same section back.
void ReplaceChecked(const std::string& path, const TBytes& file, const TBytes& plain)
{
    const std::string temporary = path + ".tmp";
    WriteWholeFile(temporary, file);
    TChmHandle chm = OpenChm(temporary);
    if (ReadCompressedSection(chm.get(), plain.size()) != plain)
        throw EHelpFile("the rewritten section does not read back");
    std::filesystem::rename(temporary, path);
}

void MakeMapRelative(const std::string& path, const std::string& folder)
{
    TBytes file = ReadWholeFile(path);
    const TContainer container = ReadContainer(file);
    TBytes plain;
    {
        TChmHandle chm = OpenChm(path);
        const std::uint64_t table = container.At(kResetTable);
        plain = ReadCompressedSection(chm.get(), GetLE(file, table + 0x10, 8));
        if (!RelativeMapTargets(chm.get(), plain, folder))
            return;
    }
    RewriteSection(file, plain, container);
    ReplaceChecked(path, file, plain);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " <file.chm> <folder of the project file>\n";
        return 2;
    }
    try {
        MakeMapRelative(argv[1], argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << '\n';
        return 1;
    }
}
