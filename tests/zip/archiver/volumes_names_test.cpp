#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/zip/volumes_test_support.h"
#include "zip/files/ZAFileSystem.h"

namespace {

using wqtest::TempFolder;
using zatest::TestArchiver;

std::string NameOf(TestArchiver& zip, const std::string& name, std::uint32_t volume,
                   bool probe = false)
{
    return zip.VolumeName(name, volume, probe);
}

TEST(VolumeNamesTest, SplitVolumesAreNumberedAndTheLastKeepsTheArchiveName)
{
    TestArchiver zip;
    zip.SetSpanningMode(smSplitting);
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 0), "/d/data.z01");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 1), "/d/data.z02");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 98), "/d/data.z99");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 99), "/d/data.z100");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", ZALastVolume), "/d/data.zip");
    // A name without extension still gets numbered volumes.
    EXPECT_EQ(NameOf(zip, "/d/data", 2), "/d/data.z03");

    zip.SpanningOptions().AdvancedNaming = true;
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 0), "/d/data_001.zip");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 1), "/d/data_002.zip");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 999), "/d/data_1000.zip");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", ZALastVolume), "/d/data.zip");
}

TEST(VolumeNamesTest, SelfExtractingSetsStartWithTheExeAndEndWithZip)
{
    TestArchiver zip;
    zip.SetSpanningMode(smSplitting);
    EXPECT_EQ(NameOf(zip, "/d/setup.EXE", 0), "/d/setup.exe");
    EXPECT_EQ(NameOf(zip, "/d/setup.EXE", 1), "/d/setup.z02");
    EXPECT_EQ(NameOf(zip, "/d/setup.EXE", ZALastVolume), "/d/setup.zip");
    // A stub named for the archive counts as well.
    zip.SetSFXStub("/d/stub.bin");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 0), "/d/data.exe");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", ZALastVolume), "/d/data.zip");

    zip.SetSpanningMode(smSpanning);
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 3), "/d/data.exe");
    zip.SpanningOptions().AdvancedNaming = true;
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 3), "/d/data_004.exe");
    // Only split sets rename their last volume.
    EXPECT_EQ(NameOf(zip, "/d/data.zip", ZALastVolume), "/d/data.zip");
}

TEST(VolumeNamesTest, SpannedDisksHoldTheSameNameUnlessNumbered)
{
    TestArchiver zip;
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 5), "/d/data.zip");
    zip.SetSpanningMode(smSpanning);
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 0), "/d/data.zip");
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 5), "/d/data.zip");
    zip.SpanningOptions().AdvancedNaming = true;
    EXPECT_EQ(NameOf(zip, "/d/data.zip", 5), "/d/data_006.zip");
}

TEST(VolumeNamesTest, ProbingFallsBackToTheOtherNamingOnlyWhenThatFileExists)
{
    TempFolder folder;
    const std::string archive = folder / "data.zip";
    TestArchiver zip;
    zip.SetSpanningMode(smSplitting);
    EXPECT_EQ(NameOf(zip, archive, 0, true), folder / "data.z01");
    wqtest::WriteTextFile(folder / "data_001.zip", "x");
    EXPECT_EQ(NameOf(zip, archive, 0, true), folder / "data_001.zip");
    EXPECT_EQ(NameOf(zip, archive, 0, false), folder / "data.z01");
    wqtest::WriteTextFile(folder / "data.Z01", "x");
    EXPECT_EQ(NameOf(zip, archive, 0, true), folder / "data.Z01");
    // Found in either case, but a new set takes the names as formed.
    zip.SetFileName(archive);
    zip.OpenArchive(ZAModeCreate);
    EXPECT_EQ(NameOf(zip, archive, 0), folder / "data.z01");
    zip.CloseArchive();
}

TEST(TempFileTest, TemporaryFilesAreNewEmptyAndPrefixedInTheChosenFolder)
{
    TempFolder folder;
    TestArchiver zip;
    zip.SetTempDir(folder.Path());
    const std::string first = zip.MakeTempFileName();
    const std::string second = zip.MakeTempFileName();
    EXPECT_NE(first, second);
    EXPECT_EQ(ExtractFilePath(first), folder.Path() + "/");
    EXPECT_EQ(ExtractFileName(first).substr(0, 2), "FC");
    EXPECT_EQ(ExtractFileExt(first), ".tmp");
    EXPECT_TRUE(FileExists(first));
    EXPECT_TRUE(wqtest::ReadFileBytes(first).empty());

    // Without a folder of its own the archiver takes $TMPDIR.
    TempFolder environment;
    const char* saved = std::getenv("TMPDIR");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("TMPDIR", environment.Path().c_str(), 1);
    zip.SetTempDir("");
    const std::string fromEnvironment = zip.MakeTempFileName();
    EXPECT_EQ(ExtractFilePath(fromEnvironment), environment.Path() + "/");
    if (saved != nullptr) {
        setenv("TMPDIR", previous.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }

    zip.SetTempDir(folder / "missing");
    EXPECT_THROW(zip.MakeTempFileName(), EFOpenError);
}

TEST(VolumeOpenTest, AFirstSpannedDiskIsLabelledAndACancelledRequestLeavesNoFile)
{
    TempFolder folder;
    zatest::DiskDrives drives;
    ScopedDriveLayer layer(drives);
    TScriptedDialogs dialogs;
    ScopedDialogs scoped(dialogs);

    TestArchiver zip;
    zip.SetFileName(folder / "data.zip");
    zip.SetSpanningMode(smSpanning);
    dialogs.Answer(mrCancel);
    int code = -1;
    try {
        zip.OpenArchive(ZAModeCreate);
    } catch (const EZAException& e) {
        code = e.ErrorCode();
    }
    EXPECT_EQ(code, 45);
    EXPECT_FALSE(zip.Active());
    EXPECT_TRUE(wqtest::FilesIn(folder.Path()).empty());
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].Text, "Please insert a blank disk #1");
    EXPECT_EQ(dialogs.Messages()[0].Buttons, mbOKCancel);
    EXPECT_EQ(dialogs.Messages()[0].Type, TMsgDlgType::mtConfirmation);

    dialogs.Answer(mrOk);
    zip.OpenArchive(ZAModeCreate);
    EXPECT_EQ(zip.VolumeFileName(), folder / "data.zip");
    EXPECT_EQ(drives.Labels[folder.Path() + "/"], "pkback# 001");
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST(VolumeOpenTest, AFullDiskIsReportedUntilTheUserCancelsOrMakesRoom)
{
    TempFolder folder;
    zatest::DiskDrives drives;
    drives.Capacity = 100000;
    ScopedDriveLayer layer(drives);
    TScriptedDialogs dialogs;
    ScopedDialogs scoped(dialogs);
    wqtest::WriteTextFile(folder / "old.bin", std::string(60000, 'o'));

    TestArchiver zip;
    zip.SetFileName(folder / "data.zip");
    zip.SetSpanningMode(smSpanning);
    zip.SpanningOptions().VolumeSize = vs1_44MB;
    // The disk has 40000 bytes free: too little for a volume of any size.
    dialogs.Answer(mrOk);
    dialogs.Answer(mrCancel);
    EXPECT_THROW(zip.OpenArchive(ZAModeCreate), EZAException);
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[1].Text,
              "Disk is full. Required free space: 1457664 bytes, but available only: 40000 "
              "bytes. Clean the disk or find another blank disk");
    EXPECT_EQ(dialogs.Messages()[1].Buttons, mbOKCancel);

    // The user cleans the disk and tries again; a larger disk takes the volume.
    dialogs.Clear();
    bool cleaned = false;
    zip.OnDiskFull = [&](TObject*, int volume, const std::string&, bool& cancel) {
        EXPECT_EQ(volume, 1);
        DeleteFile(folder / "old.bin");
        drives.Capacity = 2000000;
        cleaned = true;
        cancel = false;
    };
    dialogs.Answer(mrOk);
    dialogs.Answer(mrOk);
    zip.OpenArchive(ZAModeCreate);
    EXPECT_TRUE(cleaned);
    EXPECT_TRUE(zip.Active());
    EXPECT_EQ(dialogs.Messages().size(), 2u);
}

TEST(VolumeOpenTest, ArchivesOnRemovableDrivesOpenAsSpannedDisks)
{
    TempFolder folder;
    zatest::DiskDrives drives;
    ScopedDriveLayer layer(drives);
    TScriptedDialogs dialogs;
    ScopedDialogs scoped(dialogs);
    {
        TestArchiver zip;
        zip.SetFileName(folder / "data.zip");
        zip.OpenArchive(ZAModeCreate);
    }
    TestArchiver zip;
    zip.SetFileName(folder / "data.zip");
    zip.OpenArchive();
    EXPECT_EQ(zip.SpanningMode(), smSpanning);
    EXPECT_TRUE(dialogs.Messages().empty());

    // A disk without the archive is asked for as the last disk.
    zip.SetActive(false);
    zip.SetFileName(folder / "missing.zip");
    dialogs.Answer(mrCancel);
    int code = -1;
    try {
        zip.OpenArchive(ZAModeReadWrite);
    } catch (const EZAException& e) {
        code = e.ErrorCode();
    }
    EXPECT_EQ(code, 45);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].Text, "Please insert the last disk");
}

}  // namespace
