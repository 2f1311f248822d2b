// Split sets whose central directory runs over several volumes: no record
// straddles a volume boundary, the end records name the volume where the
// directory starts, and 7-Zip tests the set; the Zip64 records of a set of
// more than 65535 items included.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "tests/zip/error_codes.h"
#include "tests/zip/volumes_test_support.h"
#include "zip/ZAFileSystem.h"
#include "zip/ZARecords.h"

namespace {

using wqtest::ReadFileBytes;
using wqtest::TempFolder;
using zatest::ErrorCodeOf;
using zatest::TestArchiver;
using zatest::Volumes;

// Where the directory starts and how much of it there is, from the end
// records of the last volume (the Zip64 ones where the others are saturated).
struct DirectoryPlace {
    std::uint32_t disk = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t entries = 0;
    bool zip64 = false;
};

DirectoryPlace PlaceOfDirectory(const za::Bytes& last)
{
    DirectoryPlace place;
    const std::size_t endAt = last.size() - TZAEndRecord::Size;
    const auto end = TZAEndRecord::Read(TZAByteSpan(last).subspan(endAt));
    EXPECT_TRUE(end);
    if (!end) {
        return place;
    }
    place = {end->DirectoryDisk, end->DirectoryOffset, end->DirectorySize, end->TotalEntries};
    const std::size_t locatorAt = endAt - TZAZip64Locator::Size;
    const auto locator = TZAZip64Locator::Read(TZAByteSpan(last).subspan(locatorAt));
    if (locator && locator->Signature == ZAStandardSignatures.Zip64Locator) {
        const auto record =
            TZAZip64EndRecord::Read(TZAByteSpan(last).subspan(locatorAt - TZAZip64EndRecord::Size));
        EXPECT_TRUE(record);
        if (!record) {
            return place;
        }
        // Both end records agree on where the directory starts.
        if (end->DirectoryDisk != ZAZip64Marker16) {
            EXPECT_EQ(record->DirectoryDisk, end->DirectoryDisk);
        }
        place = {record->DirectoryDisk, record->DirectoryOffset, record->DirectorySize,
                 record->TotalEntries, true};
    }
    return place;
}

// Walks the directory from the volume it starts on: every record lies whole
// on one volume, and the records are as many as the end records say. Returns
// the number of volumes the directory covers.
std::size_t ExpectWholeRecords(const std::vector<std::string>& volumes)
{
    const DirectoryPlace place = PlaceOfDirectory(ReadFileBytes(volumes.back()));
    std::uint64_t records = 0;
    std::uint64_t bytes = 0;
    std::size_t disk = place.disk;
    std::size_t at = place.offset;
    za::Bytes volume = ReadFileBytes(volumes.at(disk));
    while (bytes < place.size) {
        if (at == volume.size()) {
            volume = ReadFileBytes(volumes.at(++disk));
            at = 0;
            continue;
        }
        const auto header = TZACentralHeader::Read(TZAByteSpan(volume).subspan(at));
        if (!header || header->Signature != ZAStandardSignatures.CentralHeader) {
            ADD_FAILURE() << "no central header at " << at << " of volume " << disk;
            break;
        }
        const std::size_t size = TZACentralHeader::Size + header->FileNameLength +
                                 header->ExtraFieldLength + header->FileCommentLength;
        if (at + size > volume.size()) {
            ADD_FAILURE() << "record " << records << " runs into the next volume";
            break;
        }
        at += size;
        bytes += size;
        ++records;
    }
    EXPECT_EQ(records, place.entries);
    EXPECT_EQ(bytes, place.size);
    return disk - place.disk + 1;
}

void ExpectSevenZipTests(const std::string& archive, std::size_t entries)
{
    const std::string tool = wqtest::SevenZipProgram();
    if (tool.empty()) {
        GTEST_SKIP() << "no 7-Zip on this machine";
    }
    const auto test = wqtest::RunWithOutput(tool + " t " + wqtest::Quoted(archive));
    EXPECT_EQ(test.exitCode, 0) << test.output;
    EXPECT_NE(test.output.find("Files: " + std::to_string(entries)), std::string::npos)
        << test.output;
    EXPECT_EQ(test.output.find("Warnings"), std::string::npos) << test.output;
}

void SplitInto(TestArchiver& zip, const TempFolder& folder, std::int64_t volumeSize)
{
    zip.SetFileName(folder / "data.zip");
    zip.SetTempDir(folder.Path());
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions().VolumeSize = vsCustom;
    zip.SpanningOptions().SetCustomVolumeSize(volumeSize);
}

TEST(SplitDirectoryTest, ADirectoryOverSeveralVolumesKeepsEachRecordWhole)
{
    TempFolder folder;
    const std::string sources = folder / "src";
    std::filesystem::create_directories(sources);
    // Long names make large records, so that few files fill several volumes.
    constexpr int kFiles = 300;
    const std::string longName(190, 'n');
    for (int i = 0; i < kFiles; ++i) {
        wqtest::WriteTextFile(sources + "/" + longName + std::to_string(i) + ".txt",
                              std::to_string(i));
    }
    TestArchiver zip;
    SplitInto(zip, folder, 65536);
    zip.SetBaseDir(sources);
    zip.OpenArchive(ZAModeCreate);
    zip.AddFiles(sources + "/*");
    zip.CloseArchive();

    const auto volumes = Volumes(folder.Path(), "data.z", "");
    EXPECT_GE(ExpectWholeRecords(volumes), 3u);
    const DirectoryPlace place = PlaceOfDirectory(ReadFileBytes(volumes.back()));
    EXPECT_FALSE(place.zip64);
    EXPECT_LT(place.disk + 1, volumes.size());
    ExpectSevenZipTests(folder / "data.zip", kFiles);

    // Read back strictly, volume after volume, without a rebuild.
    TestArchiver reader;
    reader.SetFileName(folder / "data.zip");
    reader.SetTolerateDamage(false);
    reader.OpenArchive();
    EXPECT_EQ(reader.SpanningMode(), smSplitting);
    EXPECT_EQ(reader.DirManager()->Items().Count(), kFiles);
    EXPECT_FALSE(reader.DirManager()->Rebuilt());
    EXPECT_EQ(reader.VolumeFileName(), folder / "data.zip");
    reader.CloseArchive();

    // The last volume alone asks for the disk where the directory starts;
    // a cancel ends the open at the first request.
    TempFolder alone;
    std::filesystem::copy_file(folder / "data.zip", alone / "data.zip");
    TScriptedDialogs dialogs;
    ScopedDialogs scoped(dialogs);
    dialogs.Answer(mrCancel);
    TestArchiver single;
    single.SetFileName(alone / "data.zip");
    EXPECT_EQ(ErrorCodeOf([&] { single.OpenArchive(); }), 45);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].Text, "Please insert disk #" + std::to_string(place.disk + 1));
}

// 65536 empty entries, their local headers written straight through the
// volume writer, so that the set needs its Zip64 end records without as many
// files on the disk.
TEST(SplitDirectoryTest, AZip64SetNamesTheVolumeWhereItsDirectoryStarts)
{
    TempFolder folder;
    TestArchiver zip;
    SplitInto(zip, folder, 1 << 20);
    zip.SetUnicodeFilenames(false);
    zip.OpenArchive(ZAModeCreate);
    constexpr int kItems = 65536;
    const TZADosDateTime now = DosDateTimeNow();
    TZADirArray& items = zip.DirManager()->Items();
    items.SetCount(kItems);
    for (int i = 0; i < kItems; ++i) {
        TDirItem item;
        item.FileName = "f" + std::to_string(i);
        item.Header.VersionMadeBy = 20;
        item.Header.VersionNeeded = 20;
        item.Header.LastModTime = now.Time;
        item.Header.LastModDate = now.Date;
        item.Header.ExternalAttributes = faArchive;
        TZALocalHeader header;
        header.VersionNeeded = 20;
        header.LastModTime = now.Time;
        header.LastModDate = now.Date;
        header.FileNameLength = static_cast<std::uint16_t>(item.FileName.size());
        za::Bytes local;
        header.Write(local);
        za::PutBytes(local, item.FileName.data(), item.FileName.size());
        const TZAVolumePosition at =
            zip.WriteRecordsToVolumes(*zip.ArchiveStream(), local, {local.size()});
        item.SetDiskNumberStart(static_cast<std::uint32_t>(at.Volume));
        item.Header.LocalHeaderOffset = static_cast<std::uint32_t>(at.Offset);
        items.SetItem(i, item);
    }
    zip.DirManager()->WriteDirectory(true);
    zip.CloseArchive();

    const auto volumes = Volumes(folder.Path(), "data.z", "");
    const DirectoryPlace place = PlaceOfDirectory(ReadFileBytes(volumes.back()));
    EXPECT_TRUE(place.zip64);
    EXPECT_EQ(place.entries, std::uint64_t{kItems});
    EXPECT_GE(ExpectWholeRecords(volumes), 3u);
    ExpectSevenZipTests(folder / "data.zip", kItems);

    TestArchiver reader;
    reader.SetFileName(folder / "data.zip");
    reader.OpenArchive();
    EXPECT_EQ(reader.DirManager()->Items().Count(), kItems);
}

}  // namespace
