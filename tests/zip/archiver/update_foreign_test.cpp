// Updating archives that other programs wrote, odd or damaged: the peers read
// every item that was whole before one file was added, and the new one; or
// the update is refused and the file stays as it was.

#include <sys/stat.h>

#include "tests/zip/error_codes.h"
#include "tests/zip/write_test_support.h"
#include "tests/zip/zip_builder.h"

namespace {

using namespace writetest;
using wqtest::RunWithOutput;

// A descriptor's signature with sizes, as stored data may hold one.
std::string FakeDescriptor(std::uint32_t size)
{
    za::Bytes bytes;
    for (const std::uint32_t value : {ZADataDescriptorSignature, 0x12345678u, size, size}) {
        za::PutU32(bytes, value);
    }
    return {bytes.begin(), bytes.end()};
}

class ForeignUpdateTest : public ::testing::Test {
protected:
    void AddNewFile()
    {
        setup_.AddSource("new.txt", ToBytes("added later\n"));
        TZipArchiver zip;
        setup_.Prepare(zip, ZAModeReadWrite);
        zip.AddFiles("new.txt");
        zip.CloseArchive();
    }
    // 7-Zip warns about a stub in front, which is no fault here.
    void AddNewFileForThePeers()
    {
        AddNewFile();
        ExpectPythonReadsBack(setup_.archive, setup_.source);
        ExpectUnzipAccepts(setup_.archive);
        if (const std::string sevenZip = wqtest::SevenZipProgram(); !sevenZip.empty()) {
            const auto result = RunWithOutput(sevenZip + " t " + Quoted(setup_.archive));
            EXPECT_EQ(result.exitCode, 0) << result.output;
        }
    }
    void ExpectRefusedWith(int code)
    {
        const za::Bytes before = ReadFileBytes(setup_.archive);
        EXPECT_EQ(zatest::ErrorCodeOf([&] { AddNewFile(); }), code);
        EXPECT_TRUE(ReadFileBytes(setup_.archive) == before) << "the archive changed";
    }
    int InSources(const std::string& command)
    {
        return wqtest::Run("cd " + Quoted(setup_.source) + " && (" + command + ") >/dev/null");
    }
    ArchiveSetup setup_;
};

TEST_F(ForeignUpdateTest, StubThatNoOffsetCountsBeforeOneEmptyFile)
{
    setup_.AddSource("empty.txt", {});
    zatest::BuildOptions options;
    options.Prefix = std::string(20, 's');
    WriteFileBytes(setup_.archive, zatest::BuildZip({{"empty.txt", "", false, ""}}, options));
    AddNewFileForThePeers();

    // Bytes between two items: neither the moved nor the recorded offsets
    // lead to both headers.
    za::Bytes bytes = zatest::BuildZip({{"a.txt", "a", false, ""}, {"b.txt", "b", false, ""}});
    bytes.insert(bytes.begin() + 30 + 5 + 1, 3, 'j');
    WriteFileBytes(setup_.archive, bytes);
    ExpectRefusedWith(48);
}

// Bytes between the last item and the directory: the headers stand where
// their offsets say.
TEST_F(ForeignUpdateTest, BytesInFrontOfTheDirectoryAloneLeaveTheOffsetsAsRecorded)
{
    setup_.AddSource("a.txt", ToBytes("a"));
    setup_.AddSource("b.txt", ToBytes("bb"));
    za::Bytes bytes = zatest::BuildZip({{"a.txt", "a", false, ""}, {"b.txt", "bb", false, ""}});
    bytes.insert(bytes.begin() + 2 * (30 + 5) + 3, 3, 'j');
    WriteFileBytes(setup_.archive, bytes);
    AddNewFileForThePeers();
}

// Info-ZIP's Zip64 records with a stub in front that neither their locator
// nor the directory's offsets count.
TEST_F(ForeignUpdateTest, StubThatNoOffsetCountsBeforeZip64Records)
{
    setup_.AddSource("a.txt", ToBytes("hello\n"));
    setup_.AddSource("empty.txt", {});
    if (InSources("zip -q -fz ../stubless.zip a.txt empty.txt") != 0) {
        GTEST_SKIP() << "Info-ZIP zip is not installed";
    }
    za::Bytes bytes = ReadFileBytes(setup_.folder / "stubless.zip");
    bytes.insert(bytes.begin(), 20, 's');
    WriteFileBytes(setup_.archive, bytes);
    AddNewFileForThePeers();
}

// The first signature claims more than the file holds, the second ends within
// the file but not where it stands. The end record is cut, so the items come
// from the local headers.
TEST_F(ForeignUpdateTest, DescriptorSignaturesInsideStoredData)
{
    const std::string data = "a" + FakeDescriptor(0xB0000000) + "b" + FakeDescriptor(4) + "c";
    setup_.AddSource("stored.bin", ToBytes(data));
    za::Bytes bytes = zatest::BuildZip({{"stored.bin", data, true, ""}});
    bytes.pop_back();
    WriteFileBytes(setup_.archive, bytes);
    AddNewFileForThePeers();

    // After a local Zip64 field the sizes have 64 bits: 3 in 32 would fit.
    // Python writes to a pipe with descriptors.
    setup_.AddSource("stored.bin", ToBytes("abc" + FakeDescriptor(3)));
    const std::string script =
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.stdout.buffer, 'w') as z, "
        "z.open('stored.bin', 'w', force_zip64=True) as o:\n"
        "    o.write(open('stored.bin', 'rb').read())\n";
    ASSERT_EQ(
        InSources("python3 -c " + Quoted(script) + " | head -c -1 > " + Quoted(setup_.archive)), 0);
    ASSERT_FALSE(ReadFileBytes(setup_.archive).empty()) << "Python wrote no archive";
    AddNewFileForThePeers();
}

// Python streams with Zip64 fields in the local headers only, and so with
// descriptors of 64-bit sizes; replacing the first item moves the second,
// which a reader of the stream then still finds whole.
TEST_F(ForeignUpdateTest, StreamedZip64DescriptorsMoveWhole)
{
    if (!wqtest::HasProgram("bsdtar")) {
        GTEST_SKIP() << "bsdtar reads the archive as a stream";
    }
    setup_.AddSource("a.txt", ToBytes("first\n"));
    setup_.AddSource("b.txt", ToBytes(XmlLikeText(3000)));
    const std::string script =
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.stdout.buffer, 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    for name in ('a.txt', 'b.txt'):\n"
        "        with z.open(name, 'w', force_zip64=True) as o:\n"
        "            o.write(open(name, 'rb').read())\n";
    ASSERT_EQ(InSources("python3 -c " + Quoted(script) + " | cat > " + Quoted(setup_.archive)), 0);
    const za::Bytes before = ReadFileBytes(setup_.archive);
    const WrittenEntry oldB = ReadEntries(before).back();
    ASSERT_EQ(oldB.centralExtra.size(), 0u) << "no Zip64 field in the central record";

    setup_.AddSource("a.txt", ToBytes("first, replaced\n"));
    TZipArchiver zip;
    setup_.Prepare(zip, ZAModeReadWrite);
    zip.AddFiles("a.txt");
    zip.CloseArchive();

    const za::Bytes after = ReadFileBytes(setup_.archive);
    const WrittenEntry newB = ReadEntries(after).back();
    const std::size_t descriptorEnd = oldB.dataEnd + 24;
    EXPECT_TRUE(std::equal(before.begin() + oldB.localOffset, before.begin() + descriptorEnd,
                           after.begin() + newB.localOffset));
    const auto streamed = RunWithOutput("cat " + Quoted(setup_.archive) + " | bsdtar -xOf -");
    EXPECT_EQ(streamed.exitCode, 0) << streamed.output;
    EXPECT_TRUE(streamed.output == "first, replaced\n" + XmlLikeText(3000));
}

TEST_F(ForeignUpdateTest, ZeroPaddingThatBsdtarWritesToAPipe)
{
    if (!wqtest::HasProgram("bsdtar")) {
        GTEST_SKIP() << "bsdtar is not installed";
    }
    ::chmod(setup_.AddSource("a.txt", ToBytes("padded\n")).c_str(), 0640);
    ASSERT_EQ(InSources("bsdtar --format zip -cf - a.txt | cat > " + Quoted(setup_.archive)), 0);
    const za::Bytes padded = ReadFileBytes(setup_.archive);
    ASSERT_TRUE(!padded.empty() && padded.back() == 0);
    AddNewFileForThePeers();
    const TZACentralHeader before = ReadEntries(padded).front().central;
    const TZACentralHeader after = ReadEntries(ReadFileBytes(setup_.archive)).front().central;
    EXPECT_EQ(after.ExternalAttributes, before.ExternalAttributes);
    EXPECT_EQ(after.VersionMadeBy, before.VersionMadeBy);
}

// A cut item claims bytes beyond the end of the file; new data go after them.
TEST_F(ForeignUpdateTest, TruncatedAesArchiveGainsAFileAfterItsCutItem)
{
    const std::string sevenZip = wqtest::SevenZipProgram();
    if (sevenZip.empty() || !wqtest::HasProgram("unzip")) {
        GTEST_SKIP() << "7-Zip and unzip judge the result";
    }
    setup_.AddSource("a.bin", NoiseBytes(3000, 1));
    setup_.AddSource("b.bin", NoiseBytes(8000, 2));
    ASSERT_EQ(InSources(sevenZip + " a -tzip -mem=AES256 -pSecret " + Quoted(setup_.archive) +
                        " a.bin b.bin"),
              0);
    const za::Bytes whole = ReadFileBytes(setup_.archive);
    const std::size_t claimedEnd = ReadEntries(whole).back().dataEnd;
    WriteFileBytes(setup_.archive, za::Bytes(whole.begin(), whole.begin() + claimedEnd - 3000));
    AddNewFile();
    const WrittenEntry added = ReadEntries(ReadFileBytes(setup_.archive)).back();
    EXPECT_EQ(added.name, "new.txt");
    EXPECT_GE(added.localOffset, claimedEnd);
    const std::string archive = Quoted(setup_.archive);
    const auto aes = RunWithOutput(sevenZip + " t -pSecret " + archive + " a.bin new.txt");
    EXPECT_EQ(aes.exitCode, 0) << aes.output;
    EXPECT_EQ(RunWithOutput("unzip -p " + archive + " new.txt").output, "added later\n");

    // Sizes far beyond what filler could stand for are damage.
    za::Bytes claims = zatest::BuildZip({{"a.txt", "a", false, ""}});
    claims[30 + 5 + 1 + 20 + 3] = 0x7F;  // the central compressed size's top byte
    WriteFileBytes(setup_.archive, claims);
    ExpectRefusedWith(57);
}

}  // namespace
