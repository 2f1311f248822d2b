#include <numeric>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_stream.h"
#include "tests/zip/volumes_test_support.h"
#include "zip/files/ZAFileSystem.h"

namespace {

using wqtest::FilesIn;
using wqtest::ReadFileBytes;
using wqtest::TempFolder;
using wqtest::TTestStream;
using zatest::DiskDrives;
using zatest::TestArchiver;

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed = 0)
{
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), seed);
    return bytes;
}

std::int64_t SizeOf(const std::string& file)
{
    return static_cast<std::int64_t>(ReadFileBytes(file).size());
}

// A new split archive whose volumes hold at most 65536 bytes.
void OpenSplit(TestArchiver& zip, const std::string& name)
{
    zip.SetFileName(name);
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions().VolumeSize = vsCustom;
    zip.SpanningOptions().SetCustomVolumeSize(65536);
    zip.OpenArchive(ZAModeCreate);
}

TEST(VolumeWriteTest, SplitVolumesFillUpToTheirLimitInOrder)
{
    TempFolder folder;
    TestArchiver zip;
    OpenSplit(zip, folder / "data.zip");
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.z01");
    const auto bytes = Pattern(200000);
    TStream& archive = *zip.ArchiveStream();
    EXPECT_EQ(zip.WriteToVolumes(archive, bytes.data(), bytes.size()), bytes.size());
    EXPECT_EQ(zip.VolumeInfo().Number, 3);
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.z04");
    zip.CloseArchive();

    std::vector<std::uint8_t> joined;
    for (const char* name : {"data.z01", "data.z02", "data.z03", "data.z04"}) {
        const auto part = ReadFileBytes(folder / name);
        joined.insert(joined.end(), part.begin(), part.end());
    }
    EXPECT_EQ(SizeOf(folder / "data.z01"), 65536);
    EXPECT_EQ(SizeOf(folder / "data.z04"), 200000 - 3 * 65536);
    EXPECT_EQ(joined, bytes);
}

TEST(VolumeWriteTest, BytesKeptTogetherMoveWholeToTheNextVolume)
{
    TempFolder folder;
    TestArchiver zip;
    OpenSplit(zip, folder / "data.zip");
    TStream& archive = *zip.ArchiveStream();
    const auto filler = Pattern(65500);
    zip.WriteChecked(archive, filler.data(), filler.size());
    const auto header = Pattern(100, 7);
    EXPECT_EQ(zip.WriteToVolumes(archive, header.data(), header.size(), 0), header.size());
    EXPECT_EQ(SizeOf(folder / "data.z01"), 65500);
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.z02");
    EXPECT_EQ(archive.Position(), 100);

    // Bytes that fit stay; a promise of more that would not fit moves them on.
    const auto small = Pattern(30);
    EXPECT_EQ(zip.WriteToVolumes(archive, small.data(), small.size(), 65406), small.size());
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.z02");
    EXPECT_EQ(zip.WriteToVolumes(archive, small.data(), small.size(), 65407), small.size());
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.z03");

    // What no volume could hold goes on an empty one as far as it fits.
    const auto large = Pattern(70000);
    EXPECT_EQ(zip.WriteToVolumes(archive, large.data(), large.size(), 0), large.size());
    EXPECT_EQ(SizeOf(folder / "data.z03"), 30);
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.z05");
    zip.CloseArchive();
    EXPECT_EQ(SizeOf(folder / "data.z04"), 65536);
}

TEST(VolumeWriteTest, OtherStreamsThanTheArchiveAreWrittenWhole)
{
    TempFolder folder;
    TestArchiver zip;
    OpenSplit(zip, folder / "data.zip");
    TMemoryStream item;
    const auto bytes = Pattern(150000);
    zip.WriteChecked(item, bytes.data(), bytes.size());
    EXPECT_EQ(item.Size(), 150000);
    EXPECT_EQ(zip.VolumeInfo().Number, 0);
}

TEST(VolumeWriteTest, AFullDiskIsAskedAboutAndACancelEndsTheWrite)
{
    TempFolder folder;
    DiskDrives drives;
    drives.Removable = false;
    drives.Capacity = 200000;
    ScopedDriveLayer layer(drives);
    TestArchiver zip;
    zip.SetFileName(folder / "data.zip");
    zip.SetSpanningMode(smSplitting);
    zip.OpenArchive(ZAModeCreate);
    int asked = 0;
    zip.OnDiskFull = [&](TObject*, int volume, const std::string& name, bool& cancel) {
        ++asked;
        EXPECT_EQ(volume, 2);
        EXPECT_EQ(name, folder / "data.z02");
        drives.Capacity += 200000;
        cancel = false;
    };
    const auto bytes = Pattern(300000);
    TStream& archive = *zip.ArchiveStream();
    zip.WriteChecked(archive, bytes.data(), bytes.size());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(SizeOf(folder / "data.z01"), 200000);

    // Without a handler a split archive gives up at once.
    zip.OnDiskFull = nullptr;
    int code = -1;
    try {
        zip.WriteChecked(archive, bytes.data(), bytes.size());
    } catch (const EZAException& e) {
        code = e.ErrorCode();
    }
    EXPECT_EQ(code, 45);
    EXPECT_FALSE(FileExists(folder / "data.z03"));
}

TEST(VolumeWriteTest, ATemporaryItemFileIsCopiedWithItsHeaderOnOneVolume)
{
    TempFolder folder;
    TestArchiver zip;
    OpenSplit(zip, folder / "data.zip");
    std::vector<std::pair<TZAProgressPhase, double>> progress;
    zip.OnCopyTempFileProgress = [&](TObject*, double value, TZAProgressPhase phase, bool&) {
        progress.emplace_back(phase, value);
    };
    TStream& archive = *zip.ArchiveStream();
    const auto filler = Pattern(65500);
    zip.WriteChecked(archive, filler.data(), filler.size());
    TMemoryStream item;
    const auto bytes = Pattern(1500100, 3);
    item.Write(bytes.data(), bytes.size());

    const TZAVolumePosition header = zip.CopyToVolumes(item, 100);
    EXPECT_EQ(header.Volume, 1);
    EXPECT_EQ(header.Offset, 0);
    EXPECT_EQ(SizeOf(folder / "data.z01"), 65500);
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_EQ(progress[0], std::make_pair(ppStart, 0.0));
    EXPECT_EQ(progress[1].first, ppProcess);
    EXPECT_NEAR(progress[1].second, 1000000.0 / 1500000.0 * 100.0, 1e-9);
    EXPECT_EQ(progress[2], std::make_pair(ppProcess, 100.0));
    EXPECT_EQ(progress[3], std::make_pair(ppEnd, 100.0));
    EXPECT_FALSE(zip.Cancelled());
    zip.CloseArchive();
    std::int64_t copied = 0;
    for (const std::string& name : FilesIn(folder.Path())) {
        copied += name == "data.z01" ? 0 : SizeOf(folder / name);
    }
    EXPECT_EQ(copied, 1500100);
}

TEST(VolumeWriteTest, ACancelledCopyStopsAndSaysSo)
{
    TempFolder folder;
    TestArchiver zip;
    OpenSplit(zip, folder / "data.zip");
    TMemoryStream item;
    const auto bytes = Pattern(2000);
    item.Write(bytes.data(), bytes.size());
    zip.OnCopyTempFileProgress = [&](TObject*, double, TZAProgressPhase phase, bool& cancel) {
        cancel = phase == ppStart;
    };
    zip.CopyToVolumes(item, 100);
    EXPECT_TRUE(zip.Cancelled());
    EXPECT_EQ(zip.ArchiveStream()->Size(), 100);
}

TEST(VolumeWriteTest, TheLastSplitVolumeTakesTheArchiveName)
{
    TempFolder folder;
    wqtest::WriteTextFile(folder / "data.zip", "an older archive");
    TestArchiver zip;
    OpenSplit(zip, folder / "data.zip");
    const auto bytes = Pattern(70000);
    zip.WriteChecked(*zip.ArchiveStream(), bytes.data(), bytes.size());
    zip.NameLastVolume();
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.zip");
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"data.z01", "data.zip"}));
    EXPECT_EQ(SizeOf(folder / "data.zip"), 70000 - 65536);
    // The renamed volume is open again for reading and writing.
    const std::uint8_t more = 1;
    zip.ArchiveStream()->Seek(zip.ArchiveStream()->Size());
    zip.WriteChecked(*zip.ArchiveStream(), &more, 1);
    zip.CloseArchive();
    EXPECT_EQ(SizeOf(folder / "data.zip"), 70000 - 65536 + 1);
}

// Two items with bare names: a directory of 2 * (46 + 5) bytes.
void WriteDirectoryOfTwoItems(TestArchiver& zip)
{
    TZADirManager& manager = *zip.DirManager();
    manager.Items().SetCount(2);
    manager.Items().Rename(0, "a.txt");
    manager.Items().Rename(1, "b.txt");
    manager.WriteDirectory(true);
}

TEST(VolumeWriteTest, TheDirectoryIsRecordedWhereItsFirstByteLands)
{
    // A full volume: the directory starts the next one.
    {
        TempFolder folder;
        TestArchiver zip;
        OpenSplit(zip, folder / "data.zip");
        const auto filler = Pattern(65536);
        zip.WriteChecked(*zip.ArchiveStream(), filler.data(), filler.size());
        WriteDirectoryOfTwoItems(zip);
        const TZAEndRecord& end = zip.DirManager()->EndRecord();
        EXPECT_EQ(end.DiskNumber, 1);
        EXPECT_EQ(end.DirectoryDisk, 1);
        EXPECT_EQ(end.DirectoryOffset, 0u);
        EXPECT_EQ(end.DirectorySize, 102u);
        EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"data.z01", "data.zip"}));
        EXPECT_EQ(SizeOf(folder / "data.z01"), 65536);
        const auto last = ReadFileBytes(folder / "data.zip");
        ASSERT_GE(last.size(), 4u);
        EXPECT_EQ(za::GetU32(last.data()), ZAStandardSignatures.CentralHeader);
        zip.CloseArchive();
        TestArchiver reader;
        reader.SetFileName(folder / "data.zip");
        reader.SetTolerateDamage(false);
        reader.OpenArchive(ZAModeReadOnly);
        EXPECT_EQ(reader.SpanningMode(), smSplitting);
        EXPECT_EQ(reader.DirManager()->Items().Count(), 2);
    }
    // The record that does not fit the room left starts the next volume; the
    // directory counts all of its bytes.
    {
        TempFolder folder;
        TestArchiver zip;
        OpenSplit(zip, folder / "data.zip");
        const auto filler = Pattern(65476);
        zip.WriteChecked(*zip.ArchiveStream(), filler.data(), filler.size());
        WriteDirectoryOfTwoItems(zip);
        const TZAEndRecord& end = zip.DirManager()->EndRecord();
        EXPECT_EQ(end.DiskNumber, 1);
        EXPECT_EQ(end.DirectoryDisk, 0);
        EXPECT_EQ(end.DirectoryOffset, 65476u);
        EXPECT_EQ(end.DirectorySize, 102u);
        EXPECT_EQ(SizeOf(folder / "data.z01"), 65476 + 51);
        EXPECT_EQ(SizeOf(folder / "data.zip"), 51 + 22);
    }
}

TEST(VolumeWriteTest, AnEmptySplitArchiveClosesUnderItsOwnName)
{
    TempFolder folder;
    TestArchiver zip;
    OpenSplit(zip, folder / "data.zip");
    zip.CloseArchive();
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"data.zip"});
    EXPECT_EQ(SizeOf(folder / "data.zip"), 22);
}

TEST(RetriedWriteTest, AShortWriteIsRepeatedFromItsStartWhileTheUserRetries)
{
    TestArchiver zip;
    zip.SetFileName("data.zip");
    TTestStream stream;
    const auto head = Pattern(10, 100);
    stream.Write(head.data(), head.size());
    stream.SetWriteLimit(50);
    int asked = 0;
    zip.OnDiskFull = [&](TObject*, int volume, const std::string& name, bool& cancel) {
        EXPECT_EQ(volume, 0);
        EXPECT_EQ(name, "data.zip");
        if (++asked == 2) {
            stream.SetWriteLimit(-1);
        }
        cancel = false;
    };
    const auto bytes = Pattern(100);
    EXPECT_TRUE(zip.WriteWithRetry(stream, bytes.data(), bytes.size()));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(stream.Size(), 110);
    EXPECT_EQ(stream.Position(), 110);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), stream.Memory().begin() + 10));
    EXPECT_FALSE(zip.Cancelled());
}

TEST(RetriedWriteTest, GivingUpSetsCancelled)
{
    TestArchiver zip;
    TTestStream stream;
    stream.SetWriteLimit(5);
    const auto bytes = Pattern(100);
    // Without a handler a single file cannot be given another disk.
    EXPECT_FALSE(zip.WriteWithRetry(stream, bytes.data(), bytes.size()));
    EXPECT_TRUE(zip.Cancelled());
}

// Floppy drives are named by letter; the test plays them in a scratch folder.
class FloppyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = GetCurrentDir();
        ASSERT_EQ(chdir(folder_.Path().c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(chdir(previous_.c_str()), 0); }

    TempFolder folder_;
    std::string previous_;
};

TEST_F(FloppyTest, ASpannedFloppyVolumeReachesTheDiskInOnePiece)
{
    DiskDrives drives;
    drives.Capacity = 100000;
    ScopedDriveLayer layer(drives);
    TestArchiver zip;
    zip.SetFileName("A:\\data.zip");
    zip.SetSpanningMode(smSpanning);
    zip.SpanningOptions().AdvancedNaming = true;
    zip.OnRequestBlankVolume = [](TObject*, int, std::string&, bool& cancel) { cancel = false; };
    zip.OpenArchive(ZAModeCreate);
    EXPECT_EQ(drives.Labels["A:\\"], "pkback# 001");
    zip.StartVolumeGathering();
    TStream& archive = *zip.ArchiveStream();
    const auto bytes = Pattern(150000);
    zip.WriteChecked(archive, bytes.data(), 1000);
    EXPECT_EQ(SizeOf("A:\\data_001.zip"), 0);
    zip.WriteChecked(archive, bytes.data() + 1000, bytes.size() - 1000);
    EXPECT_EQ(drives.Labels["A:\\"], "pkback# 002");
    EXPECT_EQ(SizeOf("A:\\data_002.zip"), 0);
    zip.FinishVolumeGathering(true);

    auto joined = ReadFileBytes("A:\\data_001.zip");
    const auto second = ReadFileBytes("A:\\data_002.zip");
    joined.insert(joined.end(), second.begin(), second.end());
    EXPECT_EQ(joined, bytes);
}

TEST_F(FloppyTest, AnAbandonedFloppyVolumeIsNotWritten)
{
    TestArchiver zip;
    zip.SetFileName("B:\\data.zip");
    zip.SetSpanningMode(smSpanning);
    zip.OnRequestBlankVolume = [](TObject*, int, std::string&, bool& cancel) { cancel = false; };
    zip.OpenArchive(ZAModeCreate);
    zip.StartVolumeGathering();
    const auto bytes = Pattern(1000);
    zip.WriteChecked(*zip.ArchiveStream(), bytes.data(), bytes.size());
    zip.FinishVolumeGathering(false);
    EXPECT_EQ(SizeOf("B:\\data.zip"), 0);
}

}  // namespace
