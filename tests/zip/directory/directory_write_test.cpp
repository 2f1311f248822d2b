#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_stream.h"
#include "tests/zip/error_codes.h"
#include "zip/archiver/ZipArchiver.h"

namespace {

using wqtest::TTestStream;
using zatest::ErrorCodeOf;

TDirItem FileItem(const std::string& name, std::uint32_t size, std::uint32_t offset)
{
    TDirItem item;
    item.SetFileName(name);
    item.Header.VersionMadeBy = 20;
    item.Header.VersionNeeded = 20;
    item.Header.CompressedSize = size;
    item.Header.UncompressedSize = size;
    item.Header.ExternalAttributes = 0x20;
    item.Header.LocalHeaderOffset = offset;
    return item;
}

// Fills a new directory with count items and writes it to the stream.
void WriteItems(TZABaseArchiver& archiver, TStream& stream, int count)
{
    TZADirManager manager(archiver, &stream, true);
    manager.Items().SetCount(count);
    for (int i = 0; i < count; ++i) {
        manager.Items().SetItem(i, FileItem("f" + std::to_string(i), 0, 0));
    }
    manager.WriteDirectory(true);
}

std::unique_ptr<TZADirManager> ReadBack(TZABaseArchiver& archiver, TStream& stream)
{
    archiver.SetTolerateDamage(false);
    auto manager = std::make_unique<TZADirManager>(archiver, &stream, false);
    EXPECT_TRUE(manager->ReadDirectory());
    return manager;
}

TEST(DirectoryWriteTest, ItemsComeBackWithNamesExtraFieldsAndComments)
{
    TZipArchiver zip;
    TMemoryStream stream;
    {
        TZADirManager manager(zip, &stream, true);
        manager.Items().SetCount(2);
        TDirItem first =
            FileItem("Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC/\xE4\xB8\x96.txt", 10, 0);  // "Grüß€/世.txt"
        za::Bytes extra;
        MakeUnicodeNameField(first.FileName()).Write(extra);
        TZAExtraField{0x5455, {1, 2, 3, 4, 5}}.Write(extra);
        // A Zip64 field kept from a local header is not repeated while no
        // field of the header is saturated.
        MakeLocalZip64Field(10, 10).Write(extra);
        first.SetExtraFields(extra);
        first.SetComment("first");
        manager.Items().SetItem(0, first);
        manager.Items().SetItem(1, FileItem("b.txt", 20, 100));
        manager.SetArchiveComment("made here");
        manager.WriteDirectory(true);
    }
    const auto& bytes = stream.Memory();
    const auto end = *TZAEndRecord::Read(TZAByteSpan(bytes).subspan(bytes.size() - 31));
    EXPECT_EQ(end.TotalEntries, 2);
    EXPECT_EQ(end.DirectoryOffset, 0u);
    EXPECT_EQ(end.CommentLength, 9);
    const auto central = *TZACentralHeader::Read(bytes);
    const std::size_t unicodeField = 2 * 11 + 12;  // 11 UTF-16 units
    EXPECT_EQ(central.ExtraFieldLength, unicodeField + 9);
    // The code page lacks the CJK character: the name goes in UTF-8.
    EXPECT_EQ(central.FileNameLength, 17);
    EXPECT_EQ(central.Flags, ZAFlagUtf8Name);

    const auto manager = ReadBack(zip, stream);
    ASSERT_EQ(manager->Items().Count(), 2);
    const TDirItem& item = manager->Items().ItemPtr(0);
    EXPECT_EQ(item.FileName(), "Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC/\xE4\xB8\x96.txt");
    const auto fields = ReadExtraFields(item.ExtraArea());
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[1].Data, (za::Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(item.Comment(), "first");
    EXPECT_FALSE(item.Zip64);
    EXPECT_EQ(manager->Items().ItemPtr(1).LocalHeaderOffset(), 100u);
    EXPECT_EQ(manager->ArchiveComment(), "made here");
    int index = -1;
    EXPECT_TRUE(
        manager->Items().FindName("GR\xC3\xBC\xC3\x9F\xE2\x82\xAC/\xE4\xB8\x96.TXT", index));
}

TEST(DirectoryWriteTest, SaturatedFieldsTravelInTheZip64Field)
{
    TZipArchiver zip;
    TMemoryStream stream;
    {
        TZADirManager manager(zip, &stream, true);
        manager.Items().SetCount(1);
        TDirItem item = FileItem("big.bin", 0, 0);
        item.Header.CompressedSize = ZAZip64Marker;
        item.Header.LocalHeaderOffset = ZAZip64Marker;
        item.Zip64Values.CompressedSize = 5000000000ull;
        item.Zip64Values.LocalHeaderOffset = 6000000000ull;
        item.SetDiskNumberStart(65535);  // from here on in 32 bits
        manager.Items().SetItem(0, item);
        manager.WriteDirectory(true);
    }
    const auto central = *TZACentralHeader::Read(stream.Memory());
    EXPECT_EQ(central.ExtraFieldLength, 4 + 20);  // compressed size, offset and disk only
    zip.SetTolerateDamage(true);                  // the sizes do not fit this small stream
    TZADirManager manager(zip, &stream, false);
    ASSERT_TRUE(manager.ReadDirectory());
    const TDirItem& item = manager.Items().ItemPtr(0);
    EXPECT_TRUE(item.Zip64);
    EXPECT_EQ(item.CompressedSize(), 5000000000ull);
    EXPECT_EQ(item.LocalHeaderOffset(), 6000000000ull);
    EXPECT_EQ(item.UncompressedSize(), 0u);
    EXPECT_EQ(item.Header.DiskNumberStart, 0xFFFF);
    EXPECT_EQ(item.Zip64Values.DiskNumber, 65535u);
}

TEST(DirectoryWriteTest, Zip64EndRecordsStartAt65535Items)
{
    TZipArchiver zip;
    TMemoryStream below;
    WriteItems(zip, below, 65534);
    const auto& small = below.Memory();
    auto end = *TZAEndRecord::Read(TZAByteSpan(small).subspan(small.size() - 22));
    EXPECT_EQ(end.TotalEntries, 65534);
    EXPECT_EQ(end.DirectorySize, small.size() - 22);

    TMemoryStream at;
    WriteItems(zip, at, 65535);
    const auto& bytes = at.Memory();
    end = *TZAEndRecord::Read(TZAByteSpan(bytes).subspan(bytes.size() - 22));
    EXPECT_EQ(end.TotalEntries, 0xFFFF);
    EXPECT_EQ(end.EntriesOnDisk, 0xFFFF);
    const auto locator = *TZAZip64Locator::Read(TZAByteSpan(bytes).subspan(bytes.size() - 42));
    EXPECT_EQ(locator.Signature, ZAStandardSignatures.Zip64Locator);
    EXPECT_EQ(locator.Zip64EndOffset, end.DirectorySize);
    EXPECT_EQ(locator.TotalDisks, 1u);
    const auto record = *TZAZip64EndRecord::Read(TZAByteSpan(bytes).subspan(bytes.size() - 98));
    EXPECT_EQ(record.TotalEntries, 65535u);
    EXPECT_EQ(record.DirectoryOffset, 0u);

    const auto manager = ReadBack(zip, at);
    EXPECT_TRUE(manager->Zip64Present());
    EXPECT_EQ(manager->Items().Count(), 65535);
    EXPECT_EQ(manager->Items().ItemPtr(65534).FileName(), "f65534");
}

TEST(DirectoryWriteTest, RewritingReplacesTheOldDirectoryAndItsZip64Records)
{
    TZipArchiver zip;
    TMemoryStream stream;
    WriteItems(zip, stream, 65535);
    const za::Bytes first = stream.Memory();
    const auto manager = ReadBack(zip, stream);
    manager->WriteDirectory(false);
    EXPECT_EQ(stream.Memory(), first);

    manager->Items().Delete(0);
    manager->WriteDirectory(false);
    const auto smaller = ReadBack(zip, stream);
    EXPECT_EQ(smaller->Items().Count(), 65534);
    EXPECT_FALSE(smaller->Zip64Present());
}

TEST(DirectoryWriteTest, ShortWriteRaises46AndWritesNoEndRecord)
{
    TZipArchiver zip;
    TTestStream stream;
    stream.SetWriteLimit(100);
    TZADirManager manager(zip, &stream, true);
    manager.Items().SetCount(5);
    for (int i = 0; i < 5; ++i) {
        manager.Items().SetItem(i, FileItem("name" + std::to_string(i), 1, 0));
    }
    EXPECT_EQ(ErrorCodeOf([&] { manager.WriteDirectory(true); }), 46);
    EXPECT_EQ(stream.Size(), 100);
}

// The base archiver writes its own signature set, which only it reads.
TEST(DirectoryWriteTest, AlternateSignatureSetIsFoundOnlyByTheBaseArchiver)
{
    TZABaseArchiver base;
    TMemoryStream stream;
    WriteItems(base, stream, 3);
    const auto& bytes = stream.Memory();
    EXPECT_EQ(za::GetU32(&bytes[bytes.size() - 22]), ZAAlternateSignatures.EndRecord);
    EXPECT_EQ(za::GetU32(&bytes[0]), ZAAlternateSignatures.CentralHeader);
    EXPECT_EQ(ReadBack(base, stream)->Items().Count(), 3);

    TZipArchiver zip;
    zip.SetTolerateDamage(false);
    TZADirManager manager(zip, &stream, false);
    EXPECT_FALSE(manager.ReadDirectory());
}

TEST(DirectoryWriteTest, StubGoesInFrontOfANewArchive)
{
    wqtest::TempFolder folder;
    const std::string stub = folder / "stub.bin";
    wqtest::WriteTextFile(stub, std::string(70000, 'S'));
    TZipArchiver zip;
    zip.SetSFXStub(stub);
    zip.SetFileName(folder / "a.zip");
    zip.OpenArchive(ZAModeCreate);
    EXPECT_EQ(zip.DirManager()->DataOffset(), 70000);
    zip.CloseArchive();
    const auto bytes = wqtest::ReadFileBytes(folder / "a.zip");
    ASSERT_EQ(bytes.size(), 70000u + 22);
    EXPECT_EQ(za::GetU32(&bytes[70000]), ZAStandardSignatures.EndRecord);

    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions().VolumeSize = vsCustom;
    zip.SpanningOptions().SetCustomVolumeSize(65536);
    zip.SetFileName(folder / "b.zip");
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(ZAModeCreate); }), 47);
}

}  // namespace
