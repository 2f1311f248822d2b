// A write of a new split archive that is cancelled or fails leaves the folder
// as it found it: the old archive byte for byte, none of the volumes the
// write created, and every file that was there before.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/files.h"
#include "tests/support/test_stream.h"
#include "tests/zip/error_codes.h"
#include "tests/zip/volumes_test_support.h"
#include "tests/zip/write_test_support.h"
#include "zip/files/ZAFileSystem.h"

namespace {

using namespace writetest;
using wqtest::FilesIn;
using wqtest::TTestStream;
using zatest::DiskDrives;
using zatest::ErrorCodeOf;
using zatest::TestArchiver;

const za::Bytes kOldArchive = ToBytes("the old archive");

// Three sources of 100,000 bytes that do not compress: several volumes of
// 65536 bytes each.
class FailedSplitWriteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFileBytes(setup_.archive, kOldArchive);
        for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
            setup_.AddSource(name, NoiseBytes(100000, static_cast<unsigned>(name[0])));
        }
        zip_.SetFileName(setup_.archive);
        zip_.SetTempDir(setup_.temp);
        zip_.SetSpanningMode(smSplitting);
    }

    void OpenWithVolumeLimit()
    {
        zip_.SpanningOptions().VolumeSize = vsCustom;
        zip_.SpanningOptions().SetCustomVolumeSize(65536);
        zip_.OpenArchive(ZAModeCreate);
        zip_.SetBaseDir(setup_.source);
    }

    // The folder holds what it held before the write, plus the given files.
    void ExpectFolderAsBefore(std::vector<std::string> kept = {})
    {
        kept.insert(kept.end(), {"out.zip", "src", "tmp"});
        std::sort(kept.begin(), kept.end());
        EXPECT_EQ(FilesIn(setup_.folder.Path()), kept);
        EXPECT_EQ(ReadFileBytes(setup_.archive), kOldArchive);
        EXPECT_TRUE(setup_.TempFolderEmpty());
    }

    ArchiveSetup setup_;
    TestArchiver zip_;
};

TEST_F(FailedSplitWriteTest, ACancelInTheMiddleRemovesOnlyTheVolumesItCreated)
{
    // A volume name that a set before left; the write takes it over, but it
    // was not the write's to create.
    WriteFileBytes(setup_.folder / "out.z02", ToBytes("an older volume"));
    OpenWithVolumeLimit();
    bool volumesWritten = false;
    int files = 0;
    zip_.OnFileProgress = [&](TObject*, const std::string&, double, TZAProcessOperation,
                              TZAProgressPhase phase, bool& cancel) {
        files += phase == ppStart ? 1 : 0;
        cancel = files == 3;
        volumesWritten = volumesWritten || FileExists(setup_.folder / "out.z04");
    };
    zip_.AddFiles("*");
    EXPECT_TRUE(volumesWritten);
    zip_.CloseArchive();
    ExpectFolderAsBefore({"out.z02"});
}

TEST_F(FailedSplitWriteTest, ACancelAtTheStartLeavesNoEmptyArchiveBehindAtClose)
{
    OpenWithVolumeLimit();
    EXPECT_TRUE(FileExists(setup_.folder / "out.z01"));
    zip_.OnOverallProgress = [](TObject*, double, TZAProcessOperation, TZAProgressPhase phase,
                                bool& cancel) { cancel = phase == ppStart; };
    zip_.AddFiles("*");
    zip_.CloseArchive();
    ExpectFolderAsBefore();
}

// A memory stream holds one archive, and a set is made of files.
TEST_F(FailedSplitWriteTest, AnArchiveInMemoryIsRefusedAsASet)
{
    zip_.SetInMemory(true);
    EXPECT_EQ(ErrorCodeOf([&] {
                  OpenWithVolumeLimit();
                  zip_.AddFiles("*");
              }),
              51);
    EXPECT_FALSE(zip_.Active());
    zip_.CloseArchive();
    ExpectFolderAsBefore();
}

TEST_F(FailedSplitWriteTest, ADiskFullAnsweredWithCancelRemovesTheVolumes)
{
    DiskDrives drives;
    drives.Removable = false;
    // Room for the first volume and a half of the sources.
    drives.Capacity = drives.Capacity - drives.FreeSpace(setup_.archive) + 150000;
    ScopedDriveLayer layer(drives);
    int asked = 0;
    zip_.OnDiskFull = [&](TObject*, int, const std::string&, bool& cancel) {
        ++asked;
        cancel = true;
    };
    zip_.OpenArchive(ZAModeCreate);
    zip_.SetBaseDir(setup_.source);
    try {
        zip_.AddFiles("*");
    } catch (const EZAException& e) {
        EXPECT_EQ(e.ErrorCode(), 45);
    }
    EXPECT_EQ(asked, 1);
    zip_.CloseArchive();
    ExpectFolderAsBefore();
}

TEST_F(FailedSplitWriteTest, AnItemThatItsTemporaryFileCannotTakeIsAskedAboutAndLeavesNoFile)
{
    // The item outgrows the memory with its second block, when the disk
    // takes only 20000 of the bytes held.
    setup_.AddSource("big.bin", NoiseBytes(1500000));
    OpenWithVolumeLimit();
    zip_.SetItemMemoryLimit(600000);
    int asked = 0;
    // The event numbers volumes from 1: 0 stands for no volume.
    zip_.OnDiskFull = [&](TObject*, int volume, const std::string&, bool& cancel) {
        EXPECT_EQ(volume, 0);
        EXPECT_TRUE(setup_.TempFolderEmpty());
        cancel = ++asked == 2;
    };
    {
        wqtest::ScopedFileSizeLimit limit(20000);
        zip_.AddFiles("big.bin");
    }
    EXPECT_EQ(asked, 2) << "asked again after a retry";
    EXPECT_TRUE(zip_.Cancelled());
    zip_.CloseArchive();
    ExpectFolderAsBefore();
}

TEST_F(FailedSplitWriteTest, AFailingSourceStreamRemovesTheVolumesAndANewSetCanFollow)
{
    OpenWithVolumeLimit();
    zip_.BeginUpdate();
    zip_.AddFiles("*");
    auto failing = std::make_shared<TTestStream>();
    const za::Bytes content = NoiseBytes(100000, 3);
    failing->LoadFromBytes(content.data(), content.size());
    // Reading the last item's data fails, with volumes written before it.
    failing->FailAfter(1);
    zip_.DirManager()->Items().ItemPtr(2).EditSource().SourceStream = failing;
    EXPECT_THROW(zip_.EndUpdate(), EStreamError);
    zip_.CloseArchive();
    ExpectFolderAsBefore();

    OpenWithVolumeLimit();
    zip_.AddFiles("*");
    zip_.CloseArchive();
    EXPECT_TRUE(FileExists(setup_.folder / "out.z04"));
    TZipArchiver set;
    set.SetFileName(setup_.archive);
    set.OpenArchive(ZAModeReadOnly);
    EXPECT_EQ(set.DirManager()->Items().Count(), 3);
}

}  // namespace
