#include "platform/version_info.h"

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct ElfSection {
    std::string Name;
    Bytes Data;
    std::uint32_t Type = 1;  // program data
};

// A minimal ELF file: header, section contents, name table, section headers.
class ElfImage {
public:
    ElfImage(bool is64, bool bigEndian) : is64_(is64), bigEndian_(bigEndian) {}

    Bytes Build(std::vector<ElfSection> sections) const
    {
        const std::size_t headerSize = is64_ ? 64 : 52;
        const std::size_t entrySize = is64_ ? 64 : 40;
        Bytes names{0};
        std::vector<std::pair<std::uint32_t, std::size_t>> placed;  // name offset, data offset
        Bytes body;
        sections.push_back({".shstrtab", {}, 3});
        for (const ElfSection& section : sections) {
            placed.emplace_back(static_cast<std::uint32_t>(names.size()), headerSize + body.size());
            names.insert(names.end(), section.Name.begin(), section.Name.end());
            names.push_back(0);
            if (&section != &sections.back())
                body.insert(body.end(), section.Data.begin(), section.Data.end());
        }
        sections.back().Data = names;
        body.insert(body.end(), names.begin(), names.end());
        Bytes file(headerSize, 0);
        const unsigned char ident[] = {0x7F,
                                       'E',
                                       'L',
                                       'F',
                                       static_cast<unsigned char>(is64_ ? 2 : 1),
                                       static_cast<unsigned char>(bigEndian_ ? 2 : 1),
                                       1};
        std::copy(std::begin(ident), std::end(ident), file.begin());
        const std::size_t tableOffset = headerSize + body.size();
        Put(file, is64_ ? 0x28 : 0x20, is64_ ? 8 : 4, tableOffset);
        Put(file, is64_ ? 0x3A : 0x2E, 2, entrySize);
        Put(file, is64_ ? 0x3C : 0x30, 2, sections.size() + 1);
        Put(file, is64_ ? 0x3E : 0x32, 2, sections.size());
        file.insert(file.end(), body.begin(), body.end());
        file.resize(file.size() + entrySize, 0);  // the null section
        for (std::size_t i = 0; i < sections.size(); ++i) {
            Bytes entry(entrySize, 0);
            Put(entry, 0, 4, placed[i].first);
            Put(entry, 4, 4, sections[i].Type);
            Put(entry, is64_ ? 0x18 : 0x10, is64_ ? 8 : 4, placed[i].second);
            Put(entry, is64_ ? 0x20 : 0x14, is64_ ? 8 : 4, sections[i].Data.size());
            file.insert(file.end(), entry.begin(), entry.end());
        }
        return file;
    }

private:
    void Put(Bytes& bytes, std::size_t offset, std::size_t width, std::uint64_t value) const
    {
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t index = bigEndian_ ? offset + width - 1 - i : offset + i;
            bytes[index] = static_cast<unsigned char>(value >> (8 * i));
        }
    }

    bool is64_;
    bool bigEndian_;
};

Bytes RecordBytes(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                  std::uint16_t build)
{
    const TVersionRecord record = MakeVersionRecord(major, minor, release, build);
    return Bytes(record.begin(), record.end());
}

class VersionInfoTest : public ::testing::Test {
protected:
    std::string Write(const Bytes& bytes) { return wqtest::WriteFileBytes(path_, bytes); }

    std::string ErrorOf(const std::string& fileName)
    {
        try {
            ReadFileVersion(fileName);
        } catch (const Exception& error) {
            return error.what();
        }
        return "no error";
    }

    static std::string Expected(int code)
    {
        return "System error in function GetFileVersionInfoSize. Error code: " +
               std::to_string(code);
    }

    wqtest::TempFolder folder_;
    std::string path_ = folder_ / "version.bin";
};

TEST_F(VersionInfoTest, FormatsTheFourPartCounts)
{
    const TFileVersion version{1, 0, 1, 1};
    EXPECT_EQ(FormatFileVersion(version, 0), "1.0");
    EXPECT_EQ(FormatFileVersion(version, 1), "1.0.1");
    EXPECT_EQ(FormatFileVersion(version, 2), "1.0.1.1");
    EXPECT_EQ(FormatFileVersion(version, 3), "1.0.1 (.1)");
    EXPECT_THROW(FormatFileVersion(version, 4), Exception);
    EXPECT_THROW(FormatFileVersion(version, -1), Exception);
}

TEST_F(VersionInfoTest, ReadsTheRecordFromEveryElfFlavour)
{
    for (const bool is64 : {true, false}) {
        for (const bool bigEndian : {false, true}) {
            const ElfImage image(is64, bigEndian);
            const Bytes file = image.Build({{".text", Bytes(37, 0x90)},
                                            {".wq_version", RecordBytes(2, 5, 300, 65535)},
                                            {".data", Bytes(5, 1)}});
            const TFileVersion version = ReadFileVersion(Write(file));
            EXPECT_EQ(FormatFileVersion(version, 2), "2.5.300.65535") << is64 << bigEndian;
        }
    }
}

TEST_F(VersionInfoTest, FileWithoutVersionInformationRaisesTheSystemError)
{
    const ElfImage image(true, false);
    const Bytes otherMagic = [] {
        Bytes record = RecordBytes(1, 0, 0, 0);
        record[0] = 'X';
        return record;
    }();
    Bytes shortRecord = RecordBytes(1, 0, 0, 0);
    shortRecord.resize(10);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"plain text", Bytes{'h', 'e', 'l', 'l', 'o'}},
        {"empty file", Bytes{}},
        {"ELF without the section", image.Build({{".text", Bytes(16, 0)}})},
        {"foreign record", image.Build({{".wq_version", otherMagic}})},
        {"short record", image.Build({{".wq_version", shortRecord}})},
        {"section without contents", image.Build({{".wq_version", RecordBytes(1, 0, 0, 0), 8}})},
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_EQ(ErrorOf(Write(bytes)), Expected(ENODATA)) << what;
}

TEST_F(VersionInfoTest, TruncatedElfFileRaisesInsteadOfReadingBeyondTheEnd)
{
    Bytes file = ElfImage(true, false).Build({{".wq_version", RecordBytes(1, 0, 0, 0)}});
    file.resize(file.size() - 30);
    EXPECT_EQ(ErrorOf(Write(file)), Expected(ENODATA));
}

TEST_F(VersionInfoTest, MissingFileReportsTheSystemErrorCode)
{
    EXPECT_EQ(ErrorOf("/nonexistent/wq/program"), Expected(ENOENT));
}

TEST_F(VersionInfoTest, UnstampedExecutableHasNoVersion)
{
    EXPECT_EQ(ErrorOf("/proc/self/exe"), Expected(ENODATA));
}

}  // namespace
