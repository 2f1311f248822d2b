// The bytes the item writer lays down: local header patched with the final
// CRC and sizes, raw deflate data with a flush point per buffer, encryption
// headers, the Unicode-name, AES and Zip64 fields.

#include "platform/codepages.h"
#include "tests/zip/write_test_support.h"
#include "zip/codec/ZAPkzipCrypt.h"
#include "zip/codec/ZAZlib.h"
#include "zip/format/ZACrc32.h"

namespace {

using namespace writetest;

// Writes the given sources, relative to src, into a new archive and returns
// its records.
std::vector<WrittenEntry> WriteArchive(ArchiveSetup& setup, TZipArchiver& zip,
                                       const std::string& mask = "*")
{
    setup.Prepare(zip);
    zip.AddFiles(mask);
    zip.CloseArchive();
    return ReadEntries(ReadFileBytes(setup.archive));
}

// What the writer emits for a first chunk: deflated up to a sync flush.
za::Bytes RawDeflateWithSyncFlush(const za::Bytes& data, int level)
{
    TZADeflateStream stream(level);
    za::Bytes out(TZADeflateStream::OutputBound(data.size()));
    out.resize(stream.Deflate(data.data(), data.size(), out.data(), out.size(), Z_SYNC_FLUSH));
    return out;
}

std::uint32_t CrcOf(const za::Bytes& bytes)
{
    return Crc32Of(bytes.data(), bytes.size());
}

TEST(WriteItemTest, DeflatedEntryHoldsRawDeflateAndFinalHeader)
{
    ArchiveSetup setup;
    const za::Bytes text = ToBytes(XmlLikeText(100));
    setup.AddSource("data.wqd", text);
    TZipArchiver zip;
    const auto entries = WriteArchive(setup, zip);
    ASSERT_EQ(entries.size(), 1u);
    const WrittenEntry& e = entries[0];
    EXPECT_EQ(e.local.Method, ZAMethodDeflate);
    EXPECT_EQ(e.local.VersionNeeded, 20);
    EXPECT_EQ(e.central.VersionMadeBy, 20);
    EXPECT_EQ(e.local.Crc32, CrcOf(text));
    EXPECT_EQ(e.central.Crc32, CrcOf(text));
    EXPECT_EQ(e.local.UncompressedSize, text.size());
    EXPECT_EQ(e.local.CompressedSize, e.data.size());
    // No zlib header (0x78 ..) in front: the data inflate as raw deflate.
    EXPECT_EQ(Inflate(e.data), text);
    EXPECT_EQ(e.local.Flags, 0);
    EXPECT_EQ(e.central.ExternalAttributes & faArchive, faArchive);
}

TEST(WriteItemTest, TheZipCopyOfADataFile)
{
    ArchiveSetup setup;
    const za::Bytes text = ToBytes(XmlLikeText(50000));
    const std::string dataFile = setup.AddSource("DE_2008_5_17.wqd", text);
    TZipArchiver zip;
    zip.SetFileName(setup.archive);
    zip.OpenArchive(ZAModeCreate);
    zip.SetBaseDir(setup.source);
    zip.SetEncryptionMethod(caPkzipClassic);
    zip.SetPassword("");
    zip.AddFiles(dataFile, 10431, "");
    zip.CloseArchive();
    const za::Bytes archive = ReadFileBytes(setup.archive);
    const auto entries = ReadEntries(archive);
    ASSERT_EQ(entries.size(), 1u);
    const WrittenEntry& e = entries[0];
    EXPECT_EQ(e.localOffset, 0u);
    EXPECT_EQ(e.name, "DE_2008_5_17.wqd");
    EXPECT_EQ(e.local.Flags, 0);
    EXPECT_EQ(e.central.Flags, 0);
    EXPECT_EQ(e.central.VersionMadeBy, 20);
    EXPECT_EQ(e.central.VersionNeeded, 20);
    EXPECT_EQ(e.local.Method, ZAMethodDeflate);
    EXPECT_NE(FindField(e.localExtra, ZAUnicodeNameFieldId), nullptr);
    EXPECT_EQ(FindField(e.centralExtra, ZAZip64FieldId), nullptr);
    // The central directory follows the data; one end record, no comment.
    EXPECT_EQ(archive.size(), e.dataEnd + TZACentralHeader::Size + e.name.size() +
                                  e.central.ExtraFieldLength + TZAEndRecord::Size);
    EXPECT_EQ(Inflate(e.data), text);
}

TEST(WriteItemTest, VersionWithoutOemNamesAndStoredModeZero)
{
    ArchiveSetup setup;
    const za::Bytes text = ToBytes(XmlLikeText(5000));
    setup.AddSource("a.txt", text);
    TZipArchiver zip;
    zip.Options().OEMFileNames = false;
    zip.SetCompressionMode(0);
    const auto entries = WriteArchive(setup, zip);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].local.VersionNeeded, 0x0B14);
    EXPECT_EQ(entries[0].central.VersionMadeBy, 0x0B14);
    EXPECT_EQ(entries[0].local.Method, ZAMethodStored);
    EXPECT_EQ(entries[0].data, text);
}

TEST(WriteItemTest, LargeSourceIsDeflatedInSyncFlushedChunks)
{
    ArchiveSetup setup;
    const za::Bytes text = ToBytes(XmlLikeText(600000));
    setup.AddSource("big.xml", text);
    TZipArchiver zip;
    zip.SetCompressionMode(1);
    const auto entries = WriteArchive(setup, zip);
    ASSERT_EQ(entries.size(), 1u);
    // The first 524288-byte chunk ends in a sync flush: an empty stored block.
    za::Bytes firstPart(text.begin(), text.begin() + 524288);
    const za::Bytes raw = RawDeflateWithSyncFlush(firstPart, 1);
    ASSERT_GE(entries[0].data.size(), raw.size());
    EXPECT_TRUE(std::equal(raw.begin(), raw.end(), entries[0].data.begin()));
    const za::Bytes marker = {0x00, 0x00, 0xFF, 0xFF};
    EXPECT_TRUE(std::equal(marker.begin(), marker.end(), raw.end() - 4));
    EXPECT_EQ(Inflate(entries[0].data), text);
    EXPECT_EQ(entries[0].local.CompressedSize, entries[0].data.size());
}

TEST(WriteItemTest, WithoutTheZipFlavourOnlyTheRecordsAreWritten)
{
    ArchiveSetup setup;
    setup.AddSource("data.wqd", ToBytes(XmlLikeText(5000)));
    TZABaseArchiver base;
    base.SetFileName(setup.archive);
    base.OpenArchive(ZAModeCreate);
    base.SetBaseDir(setup.source);
    base.AddFiles("data.wqd");
    base.CloseArchive();
    const za::Bytes bytes = ReadFileBytes(setup.archive);
    const auto local = TZALocalHeader::Read(bytes).value();
    EXPECT_EQ(local.Signature, ZAAlternateSignatures.LocalHeader);
    EXPECT_EQ(local.Method, 0xFFFF);
    EXPECT_EQ(local.UncompressedSize, 5000u);
    // No data: the central directory follows the local header at once.
    const std::size_t central =
        TZALocalHeader::Size + local.FileNameLength + local.ExtraFieldLength;
    ASSERT_LE(central + 4, bytes.size());
    EXPECT_EQ(za::GetU32(&bytes[central]), ZAAlternateSignatures.CentralHeader);
}

TEST(WriteItemTest, EmptyFileIsStoredWithZeroCrcAndSizes)
{
    ArchiveSetup setup;
    setup.AddSource("empty.txt", {});
    TZipArchiver zip;
    const auto entries = WriteArchive(setup, zip);
    ASSERT_EQ(entries.size(), 1u);
    for (const std::uint16_t method : {entries[0].local.Method, entries[0].central.Method}) {
        EXPECT_EQ(method, ZAMethodStored);
    }
    EXPECT_EQ(entries[0].central.Crc32, 0u);
    EXPECT_EQ(entries[0].local.Crc32, 0u);
    EXPECT_EQ(entries[0].central.CompressedSize, 0u);
    EXPECT_EQ(entries[0].central.UncompressedSize, 0u);
}

TEST(WriteItemTest, TraditionalHeaderEndsWithTheTopByteOfTheCrc)
{
    ArchiveSetup setup;
    const za::Bytes text = ToBytes(XmlLikeText(3000));
    setup.AddSource("secret.txt", text);
    TZipArchiver zip;
    zip.SetPassword("s3cret");
    const auto entries = WriteArchive(setup, zip);
    ASSERT_EQ(entries.size(), 1u);
    const WrittenEntry& e = entries[0];
    EXPECT_EQ(e.local.Flags & ZAFlagEncrypted, ZAFlagEncrypted);
    EXPECT_EQ(e.local.Crc32, CrcOf(text));
    TZAPkzipKeys keys;
    InitKeys("s3cret", keys);
    za::Bytes plain = e.data;
    for (auto& b : plain) {
        b = static_cast<std::uint8_t>(b ^ KeyStreamByte(keys));
        UpdateKeys(keys, b);
    }
    EXPECT_EQ(plain[11], static_cast<std::uint8_t>(CrcOf(text) >> 24));
    EXPECT_EQ(Inflate(za::Bytes(plain.begin() + 12, plain.end())), text);
}

TEST(WriteItemTest, AesEntriesCarryMethod99AndTheirField)
{
    const struct {
        TZACryptoAlgorithm method;
        std::uint8_t strength;
        std::size_t header;
    } cases[] = {{caAES_128, 1, 10}, {caAES_192, 2, 14}, {caAES_256, 3, 18}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.strength));
        ArchiveSetup setup;
        const za::Bytes text = ToBytes(XmlLikeText(2000));
        setup.AddSource("a.txt", text);
        setup.AddSource("empty.txt", {});
        TZipArchiver zip;
        zip.SetPassword("pass word");
        zip.SetEncryptionMethod(c.method);
        const auto entries = WriteArchive(setup, zip);
        ASSERT_EQ(entries.size(), 2u);
        for (const WrittenEntry& e : entries) {
            const bool empty = e.central.UncompressedSize == 0;
            EXPECT_EQ(e.local.Method, ZAMethodAes);
            EXPECT_EQ(e.central.Method, ZAMethodAes);
            EXPECT_EQ(e.local.Flags & ZAFlagEncrypted, ZAFlagEncrypted);
            const auto* local = FindField(e.localExtra, ZAAesFieldId);
            const auto* central = FindField(e.centralExtra, ZAAesFieldId);
            ASSERT_NE(local, nullptr);
            ASSERT_NE(central, nullptr);
            EXPECT_EQ(local->Data, central->Data);
            const auto field = TZAAesField::Read(local->Data);
            EXPECT_EQ(field->VendorVersion, 2);
            EXPECT_EQ(field->KeyStrength, c.strength);
            // An empty file is stored inside its encryption.
            EXPECT_EQ(field->ActualMethod, empty ? ZAMethodStored : ZAMethodDeflate);
            const std::size_t overhead = c.header + 10;
            EXPECT_EQ(e.central.CompressedSize, e.data.size());
            EXPECT_EQ(empty, e.data.size() == overhead);
        }
    }
}

TEST(WriteItemTest, AesWithoutPasswordWritesPlainEntry)
{
    ArchiveSetup setup;
    const za::Bytes text = ToBytes(XmlLikeText(2000));
    setup.AddSource("a.txt", text);
    TZipArchiver zip;
    zip.SetEncryptionMethod(caAES_256);
    const auto entries = WriteArchive(setup, zip);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].local.Method, ZAMethodDeflate);
    EXPECT_EQ(entries[0].local.Flags & ZAFlagEncrypted, 0);
    EXPECT_EQ(FindField(entries[0].localExtra, ZAAesFieldId), nullptr);
    EXPECT_EQ(FindField(entries[0].centralExtra, ZAAesFieldId), nullptr);
    EXPECT_EQ(Inflate(entries[0].data), text);
}

TEST(WriteItemTest, AlwaysZip64SaturatesFieldsAndRecordsTheValues)
{
    ArchiveSetup setup;
    const za::Bytes text = ToBytes(XmlLikeText(4000));
    setup.AddSource("a.txt", text);
    setup.AddSource("b.txt", text);
    TZipArchiver zip;
    zip.SetZip64Mode(zmAlways);
    const auto entries = WriteArchive(setup, zip);
    ASSERT_EQ(entries.size(), 2u);
    for (const WrittenEntry& e : entries) {
        EXPECT_EQ(e.local.VersionNeeded, 45);
        EXPECT_EQ(e.central.VersionMadeBy, 45);
        EXPECT_EQ(e.local.CompressedSize, ZAZip64Marker);
        EXPECT_EQ(e.local.UncompressedSize, ZAZip64Marker);
        EXPECT_EQ(e.central.LocalHeaderOffset, ZAZip64Marker);
        const auto* local = FindField(e.localExtra, ZAZip64FieldId);
        ASSERT_NE(local, nullptr);
        EXPECT_EQ(za::GetU64(local->Data.data()), text.size());
        EXPECT_EQ(za::GetU64(local->Data.data() + 8), e.data.size());
        EXPECT_EQ(Inflate(e.data), text);
    }
}

TEST(WriteItemTest, NamesOutsideTheOemPageKeepTheirExactFormInTheUnicodeField)
{
    // Names outside the code page go in UTF-8 with flag bit 11, the Greek ones
    // kept apart though the page would make "???.txt" of both.
    const std::string page = "Grüße.txt";
    const std::string names[] = {"αβγ.txt", "δεζ_日本.txt", page};
    ArchiveSetup setup;
    for (const std::string& name : names) {
        setup.AddSource(name, ToBytes(name));
    }
    TZipArchiver zip;
    for (const WrittenEntry& e : WriteArchive(setup, zip)) {
        const bool inPage = e.name == EncodeStoredName(page, true);
        EXPECT_EQ(e.central.Flags, inPage ? 0 : ZAFlagUtf8Name) << e.name;
        EXPECT_EQ(e.local.Flags, e.central.Flags) << e.name;
        for (const auto* fields : {&e.localExtra, &e.centralExtra}) {
            const auto* field = FindField(*fields, ZAUnicodeNameFieldId);
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(ReadUnicodeNameField(field->Data), inPage ? page : e.name);
        }
    }
    ExpectPythonReadsBack(setup.archive, setup.source);
    // unzip and 7-Zip read a code-page name in a page of their own choosing.
    for (const std::string& extract :
         {"LC_ALL=C.UTF-8 unzip -q " + Quoted(setup.archive) + " -d",
          wqtest::SevenZipProgram() + " x " + Quoted(setup.archive) + " -o"}) {
        TempFolder out;
        EXPECT_EQ(wqtest::Run(extract + Quoted(out.Path()) + " >/dev/null && diff -r -x 'Gr*' " +
                              Quoted(out.Path()) + " " + Quoted(setup.source)),
                  0)
            << extract;
    }
}

// Every failure the writer reports, by its native error code; each is answered
// with Ignore, which leaves the item out of an otherwise valid archive.
struct FailureLog {
    std::vector<int> codes;
    void Attach(TZipArchiver& zip)
    {
        zip.OnProcessFileFailure = [this](TObject*, const std::string&, TZAProcessOperation,
                                          int nativeError, int, const std::string&,
                                          TZAAction& action) {
            codes.push_back(nativeError);
            action = fxaIgnore;
        };
    }
};

// Paths of the desktop's length limit are common here; only what the file
// system cannot hold is refused.
TEST(WriteItemFailureTest, SourceNamesAreRefusedOnlyBeyondTheFileSystemsLimits)
{
    ArchiveSetup setup;
    const std::string deepName = std::string(200, 'f') + "/" + std::string(251, 'x') + ".txt";
    ASSERT_GT(setup.Source(deepName).size(), 259u);
    setup.AddSource(deepName, ToBytes("deep"));
    setup.AddSource("a.txt", ToBytes("a"));
    setup.AddSource("b.txt", ToBytes("b"));
    TZipArchiver zip;
    FailureLog log;
    log.Attach(zip);
    setup.Prepare(zip);
    zip.BeginUpdate();
    zip.AddFiles("*.txt");
    TZADirArray& items = zip.DirManager()->Items();
    ASSERT_EQ(items.Count(), 3);
    std::string tooLongPath(4096, 'p');
    for (std::size_t i = 0; i < tooLongPath.size(); i += 100)
        tooLongPath[i] = '/';
    for (int i = 0; i < items.Count(); ++i) {
        TDirItem& item = items.ItemPtr(i);
        if (item.FileName() == "a.txt")
            item.EditSource().SourceFileName = tooLongPath;
        if (item.FileName() == "b.txt")
            item.EditSource().SourceFileName = setup.Source(std::string(256, 'n'));
    }
    zip.EndUpdate();
    zip.CloseArchive();
    EXPECT_EQ(log.codes, (std::vector<int>{61, 61}));
    const auto entries = ReadEntries(ReadFileBytes(setup.archive));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, deepName);
    ExpectUnzipAccepts(setup.archive);
}

TEST(WriteItemFailureTest, SizesFromFourGibibytesOnNeedZip64)
{
    ArchiveSetup setup;
    // Sparse files: their size is all that matters here.
    for (const auto& [name, size] :
         {std::pair<std::string, std::uint64_t>{"below.bin", 0xFFFFFFFEull},
          {"limit.bin", 0xFFFFFFFFull}}) {
        setup.AddSource(name, {});
        std::filesystem::resize_file(setup.Source(name), size);
    }
    TZipArchiver zip;
    FailureLog log;
    log.Attach(zip);
    setup.Prepare(zip);
    zip.BeginUpdate();
    zip.AddFiles("*.bin");
    TZADirArray& items = zip.DirManager()->Items();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_FALSE(items.ItemPtr(0).Zip64);
    EXPECT_EQ(items.ItemPtr(0).Header.UncompressedSize, 0xFFFFFFFEu);
    EXPECT_TRUE(items.ItemPtr(1).Zip64);
    EXPECT_EQ(items.ItemPtr(1).Header.UncompressedSize, ZAZip64Marker);
    EXPECT_EQ(items.ItemPtr(1).UncompressedSize(), 0xFFFFFFFFull);
    // Only the Zip64 one is refused before any of its data is read; the
    // other is left out here so that the test reads no 4 GiB.
    items.Delete(0);
    zip.EndUpdate();
    zip.CloseArchive();
    EXPECT_EQ(log.codes, std::vector<int>{43});
    EXPECT_EQ(ReadFileBytes(setup.archive).size(), TZAEndRecord::Size);
}

}  // namespace
