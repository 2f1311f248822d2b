// Archives laid out from our records are judged by Python's zipfile, Info-ZIP
// unzip and 7-Zip; archives those peers write are read back by our readers.

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "tests/zip/records_test_support.h"

namespace {

using za::Bytes;
using namespace wqtest;
using namespace ziptest;

// Lists every entry as "name|crc|size|content-ok" with the password given.
constexpr const char* kPythonLister = R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    if len(sys.argv) > 2:
        z.setpassword(sys.argv[2].encode())
    print("comment|" + z.comment.decode("latin-1"))
    for i in z.infolist():
        data = z.read(i)
        print("%s|%08x|%d|%d" % (i.filename, i.CRC, i.file_size, len(data) == i.file_size))
)";

std::string PythonList(const TempFolder& folder, const std::string& archive,
                       const std::string& password = "")
{
    const std::string script = WriteTextFile(folder / "list.py", kPythonLister);
    const CommandResult result = RunWithOutput("python3 " + script + " " + archive +
                                               (password.empty() ? "" : " " + password));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
}

void ExpectPeersAccept(const std::string& archive, const std::string& password = "")
{
    const CommandResult unzip =
        RunWithOutput("unzip -t " + (password.empty() ? "" : "-P " + password + " ") + archive);
    EXPECT_EQ(unzip.exitCode, 0) << unzip.output;
    const std::string sevenZip = SevenZipProgram();
    ASSERT_FALSE(sevenZip.empty());
    const CommandResult seven =
        RunWithOutput(sevenZip + " t " + (password.empty() ? "" : "-p" + password + " ") + archive);
    EXPECT_EQ(seven.exitCode, 0) << seven.output;
}

std::vector<TestEntry> SampleEntries()
{
    Bytes text;
    for (int i = 0; i < 3000; ++i)
        for (char c : std::string("<value year=\"2008\">12.5</value>\n"))
            text.push_back(static_cast<std::uint8_t>(c));
    std::vector<TestEntry> entries(5);
    entries[0].name = "data.wqd";
    entries[0].data = text;
    entries[1].name = "stored.txt";
    entries[1].data = ToBytes("kept as it is");
    entries[1].deflate = false;
    entries[2].name = "empty.txt";
    entries[3].name = "sub/";
    entries[3].deflate = false;
    entries[3].attributes = 0x10;
    entries[4].name = "sub/caf\xC3\xA9.txt";
    entries[4].data = ToBytes("caf\xC3\xA9");
    return entries;
}

TEST(RecordPeers, PeersAcceptOurArchive)
{
    TempFolder folder;
    ArchiveOptions options;
    options.comment = "made by the tests";
    const std::string archive =
        WriteFileBytes(folder / "plain.zip", BuildArchive(SampleEntries(), options));
    ExpectPeersAccept(archive);
    const std::string listing = PythonList(folder, archive);
    EXPECT_NE(listing.find("comment|made by the tests"), std::string::npos);
    EXPECT_NE(listing.find("data.wqd|"), std::string::npos);
    EXPECT_NE(listing.find("empty.txt|00000000|0|1"), std::string::npos);
    EXPECT_NE(listing.find("sub/|00000000|0|1"), std::string::npos);
    // OEM name bytes: "é" is 0x82 in both code page 850 and Python's cp437.
    EXPECT_NE(listing.find("sub/caf\xC3\xA9.txt|"), std::string::npos);
}

TEST(RecordPeers, PeersAcceptZip64FieldsOnSmallEntries)
{
    std::vector<TestEntry> entries = SampleEntries();
    for (TestEntry& e : entries)
        e.zip64 = true;
    TempFolder folder;
    const std::string archive = WriteFileBytes(folder / "zip64.zip", BuildArchive(entries));
    ExpectPeersAccept(archive);
    EXPECT_NE(PythonList(folder, archive).find("stored.txt|"), std::string::npos);
}

TEST(RecordPeers, PeersAcceptTheZip64EndRecordOf65535Entries)
{
    std::vector<TestEntry> entries(65535);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].name = "f" + std::to_string(i);
        entries[i].deflate = false;
    }
    ArchiveOptions options;
    options.unicodeNames = false;
    const Bytes bytes = BuildArchive(entries, options);
    const auto end = TZAEndRecord::Read(TZAByteSpan(bytes).last(TZAEndRecord::Size));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->TotalEntries, 0xFFFF);
    const auto locator = TZAZip64Locator::Read(
        TZAByteSpan(bytes).subspan(bytes.size() - TZAEndRecord::Size - TZAZip64Locator::Size));
    ASSERT_TRUE(locator);
    EXPECT_EQ(locator->Signature, ZAStandardSignatures.Zip64Locator);
    TempFolder folder;
    const std::string archive = WriteFileBytes(folder / "many.zip", bytes);
    const CommandResult python = RunWithOutput(
        "python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); "
        "print(len(z.infolist()), z.testzip())\" " +
        archive);
    EXPECT_EQ(python.output, "65535 None\n");
}

TEST(RecordPeers, PeersDecryptTraditionalEncryption)
{
    std::vector<TestEntry> entries = SampleEntries();
    for (TestEntry& e : entries)
        if (e.attributes != 0x10)
            e.password = "s3cret";
    TempFolder folder;
    const std::string archive = WriteFileBytes(folder / "secret.zip", BuildArchive(entries));
    ExpectPeersAccept(archive, "s3cret");
    const std::string listing = PythonList(folder, archive, "s3cret");
    EXPECT_NE(listing.find("stored.txt|"), std::string::npos);
    EXPECT_EQ(RunWithOutput("unzip -t -P wrong " + archive).exitCode == 0, false);
}

TEST(RecordPeers, AnsiNamesCarryTheirVersion)
{
    ArchiveOptions options;
    options.oemFileNames = false;
    TempFolder folder;
    const Bytes bytes = BuildArchive(SampleEntries(), options);
    EXPECT_EQ(za::GetU16(bytes.data() + 4), 0x0B14);
    const std::string archive = WriteFileBytes(folder / "ansi.zip", bytes);
    ExpectPeersAccept(archive);
}

// The central directory of an archive, read with our readers only.
struct ParsedEntry {
    TZACentralHeader header;
    std::string name;
    TZAZip64Values zip64;
    std::optional<TZALocalHeader> local;
};

std::vector<ParsedEntry> ParseDirectory(const Bytes& archive)
{
    std::vector<ParsedEntry> entries;
    std::size_t endPos = archive.size() - TZAEndRecord::Size;
    while (za::GetU32(archive.data() + endPos) != ZAStandardSignatures.EndRecord)
        --endPos;
    const auto end = TZAEndRecord::Read(TZAByteSpan(archive).subspan(endPos));
    std::uint64_t count = end->TotalEntries;
    std::uint64_t pos = end->DirectoryOffset;
    if (const auto locator =
            TZAZip64Locator::Read(TZAByteSpan(archive).subspan(endPos - TZAZip64Locator::Size));
        locator && locator->Signature == ZAStandardSignatures.Zip64Locator) {
        const auto zip64End =
            TZAZip64EndRecord::Read(TZAByteSpan(archive).subspan(locator->Zip64EndOffset));
        count = zip64End->TotalEntries;
        pos = zip64End->DirectoryOffset;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        ParsedEntry e;
        e.header = *TZACentralHeader::Read(TZAByteSpan(archive).subspan(pos));
        pos += TZACentralHeader::Size;
        e.name.assign(archive.begin() + static_cast<std::ptrdiff_t>(pos),
                      archive.begin() + static_cast<std::ptrdiff_t>(pos + e.header.FileNameLength));
        pos += e.header.FileNameLength;
        for (const TZAExtraField& field :
             ReadExtraFields(TZAByteSpan(archive).subspan(pos, e.header.ExtraFieldLength)))
            if (field.HeaderID == ZAZip64FieldId)
                ReadZip64Field(e.header, field.Data, e.zip64);
        pos += e.header.ExtraFieldLength + e.header.FileCommentLength;
        const std::uint64_t offset = e.header.LocalHeaderOffset == ZAZip64Marker
                                         ? e.zip64.LocalHeaderOffset
                                         : e.header.LocalHeaderOffset;
        e.local = TZALocalHeader::Read(TZAByteSpan(archive).subspan(offset));
        entries.push_back(std::move(e));
    }
    return entries;
}

TEST(RecordPeers, ReadersParseWhatPythonWrites)
{
    TempFolder folder;
    const std::string archive = folder / "python.zip";
    const CommandResult made = RunWithOutput(
        "python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED); "
        "z.comment=b'note'; z.writestr('a.txt', b'alpha'*100); "
        "z.writestr('dir/b.bin', bytes(range(256))); z.close()\" " +
        archive);
    ASSERT_EQ(made.exitCode, 0) << made.output;
    const auto entries = ParseDirectory(ReadFileBytes(archive));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "a.txt");
    EXPECT_EQ(entries[0].header.Method, ZAMethodDeflate);
    EXPECT_EQ(entries[0].header.UncompressedSize, 500u);
    Bytes alpha;
    for (int i = 0; i < 100; ++i)
        for (char c : std::string("alpha"))
            alpha.push_back(static_cast<std::uint8_t>(c));
    EXPECT_EQ(entries[0].header.Crc32, Crc32Of(alpha.data(), alpha.size()));
    EXPECT_EQ(entries[1].name, "dir/b.bin");
    ASSERT_TRUE(entries[1].local);
    EXPECT_EQ(entries[1].local->Signature, ZAStandardSignatures.LocalHeader);
    EXPECT_EQ(entries[1].local->Crc32, entries[1].header.Crc32);
}

TEST(RecordPeers, ReadersParseInfoZipZip64Records)
{
    TempFolder folder;
    WriteTextFile(folder / "one.txt", "first file");
    WriteTextFile(folder / "two.txt", "second file, a little longer");
    const CommandResult made = RunWithOutput(
        "cd " + folder.Path() + " && printf 'one.txt\\ntwo.txt\\n' | zip -q -fz out.zip -@");
    ASSERT_EQ(made.exitCode, 0) << made.output;
    const auto entries = ParseDirectory(ReadFileBytes(folder / "out.zip"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "one.txt");
    EXPECT_EQ(entries[1].name, "two.txt");
    for (const ParsedEntry& e : entries) {
        ASSERT_TRUE(e.local);
        EXPECT_EQ(e.local->VersionNeeded, 45);
        const std::uint64_t size = e.header.UncompressedSize == ZAZip64Marker
                                       ? e.zip64.UncompressedSize
                                       : e.header.UncompressedSize;
        EXPECT_EQ(size, e.name == "one.txt" ? 10u : 28u);
    }
}

}  // namespace
