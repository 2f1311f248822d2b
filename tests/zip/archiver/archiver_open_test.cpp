#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "tests/zip/error_codes.h"
#include "zip/archiver/ZipArchiver.h"

namespace {

using wqtest::ReadFileBytes;
using wqtest::TempFolder;
using zatest::ErrorCodeOf;

const std::vector<std::uint8_t> kEmptyZip = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 0, 0, 0,
                                             0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0};

std::string MessageOf(const std::function<void()>& action, int& code)
{
    code = -1;
    try {
        action();
    } catch (const EZAException& e) {
        code = e.ErrorCode();
        return e.what();
    }
    return "";
}

TEST(ArchiverOpenTest, CreatingOverAFileTruncatesItAndClosingLeavesTheEmptyZip)
{
    TempFolder folder;
    const std::string name = folder / "data.zip";
    wqtest::WriteTextFile(name, std::string(5000, 'x'));
    TZipArchiver zip;
    zip.SetFileName(name);
    zip.OpenArchive(ZAModeCreate);
    EXPECT_TRUE(zip.Active());
    EXPECT_EQ(zip.OpenMode(), ZAModeCreate);
    EXPECT_EQ(zip.VolumeFileName(), name);
    EXPECT_EQ(ReadFileBytes(name).size(), 0u);
    zip.CloseArchive();
    EXPECT_FALSE(zip.Active());
    EXPECT_EQ(zip.DirManager(), nullptr);
    EXPECT_EQ(ReadFileBytes(name), kEmptyZip);
    if (wqtest::HasProgram("python3")) {
        EXPECT_EQ(wqtest::Run("python3 -c \"import sys,zipfile; "
                              "sys.exit(len(zipfile.ZipFile(sys.argv[1]).namelist()))\" " +
                              wqtest::Quoted(name)),
                  0);
    }
}

TEST(ArchiverOpenTest, FreeingAnOpenArchiveClosesItWithItsEndRecords)
{
    TempFolder folder;
    {
        TZipArchiver zip;
        zip.SetFileName(folder / "a.zip");
        zip.OpenArchive();
    }
    EXPECT_EQ(ReadFileBytes(folder / "a.zip"), kEmptyZip);
}

TEST(ArchiverOpenTest, ModeIsChosenFromTheFileAndTheEmptyZipReadsBack)
{
    TempFolder folder;
    const std::string name = folder / "a.zip";
    TZipArchiver zip;
    zip.SetFileName(name);
    zip.SetActive(true);  // missing: created
    EXPECT_EQ(zip.OpenMode(), ZAModeCreate);
    zip.SetActive(false);

    zip.OpenArchive();  // present and writable
    EXPECT_EQ(zip.OpenMode(), ZAModeReadWrite);
    EXPECT_EQ(zip.DirManager()->Items().Count(), 0);
    EXPECT_FALSE(zip.DirManager()->Rebuilt());
    zip.CloseArchive();
    EXPECT_EQ(ReadFileBytes(name), kEmptyZip);

    chmod(name.c_str(), 0444);
    if (geteuid() != 0) {
        zip.OpenArchive();  // present, not writable: read-only
        EXPECT_EQ(zip.OpenMode(), ZAModeReadOnly);
        zip.CloseArchive();
    }
    EXPECT_EQ(ReadFileBytes(name), kEmptyZip);
}

TEST(ArchiverOpenTest, NamesAndModesThatCannotOpenGiveTheirCodes)
{
    TempFolder folder;
    TZipArchiver zip;
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(); }), 9);
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(ZAModeCreate); }), 10);
    zip.SetFileName(folder.Path() + "/");
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(); }), 9);

    const std::string missing = folder / "missing.zip";
    zip.SetFileName(missing);
    int code = 0;
    const std::string message = MessageOf([&] { zip.OpenArchive(ZAModeReadWrite); }, code);
    EXPECT_EQ(code, 12);
    EXPECT_EQ(message, "File \"" + missing + "\" not found - Native error: 00012");
    // Drive A: counts as removable: a missing file there is no reason to
    // refuse before the disk has been asked for.
    TScriptedDialogs dialogs;
    ScopedDialogs scoped(dialogs);
    TZipArchiver floppy;
    floppy.SetFileName("A:\\data.zip");
    floppy.OnRequestFirstVolume = [](TObject*, std::string&, bool& cancel) { cancel = true; };
    floppy.OnRequestLastVolume = floppy.OnRequestFirstVolume;
    EXPECT_NE(ErrorCodeOf([&] {
                  try {
                      floppy.OpenArchive(ZAModeReadWrite);
                  } catch (const EFOpenError&) {
                  }
              }),
              12);

    zip.SetFileName(folder / "a.zip");
    zip.OpenArchive(ZAModeCreate);
    zip.CloseArchive();
    zip.SetInMemory(true);
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(ZAModeReadOnly); }), 28);
    EXPECT_EQ(ErrorCodeOf([&] { zip.CheckActive(); }), 13);
}

TEST(ArchiverOpenTest, FailedChecksLeaveTheOpenArchiveOpen)
{
    TempFolder folder;
    TZipArchiver zip;
    zip.SetFileName(folder / "a.zip");
    zip.OpenArchive();
    zip.SetFileName(folder / "missing.zip");
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(ZAModeReadWrite); }), 12);
    EXPECT_TRUE(zip.Active());
    EXPECT_EQ(zip.VolumeFileName(), folder / "a.zip");

    try {
        zip.SetSpanningMode(smSplitting);
        FAIL() << "spanning mode changed on an open archive";
    } catch (const EZAException&) {
        FAIL() << "the refusal is a plain exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot set spanning mode on open archive");
    }
    EXPECT_EQ(zip.SpanningMode(), smNone);
}

TEST(ArchiverOpenTest, NotAnArchiveFailsByTheDamageTolerance)
{
    TempFolder folder;
    const std::string name = folder / "zeros.zip";
    wqtest::WriteFileBytes(name, std::vector<std::uint8_t>(4096, 0));
    TZipArchiver zip;
    zip.SetFileName(name);
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(ZAModeReadOnly); }), 35);
    EXPECT_FALSE(zip.Active());
    zip.SetTolerateDamage(false);
    EXPECT_EQ(ErrorCodeOf([&] { zip.OpenArchive(ZAModeReadOnly); }), 48);
    EXPECT_FALSE(zip.Active());
    EXPECT_EQ(zip.ArchiveStream(), nullptr);
    EXPECT_EQ(ReadFileBytes(name).size(), 4096u);
}

TEST(ArchiverOpenTest, AfterOpenFiresWithTheComponent)
{
    TempFolder folder;
    TZipArchiver zip;
    zip.SetFileName(folder / "a.zip");
    TObject* sender = nullptr;
    zip.AfterOpen = [&](TObject* s) { sender = s; };
    zip.OpenArchive();
    EXPECT_EQ(sender, &zip);
}

TEST(ArchiverOpenTest, InMemoryArchivesMoveToAFileAndBack)
{
    TempFolder folder;
    TZipArchiver zip;
    zip.SetInMemory(true);
    zip.OpenArchive();
    EXPECT_EQ(zip.OpenMode(), ZAModeCreate);
    ASSERT_NE(dynamic_cast<TMemoryStream*>(zip.ArchiveStream()), nullptr);
    EXPECT_EQ(ErrorCodeOf([&] { zip.SetInMemory(false); }), 29);
    EXPECT_TRUE(zip.InMemory());
    EXPECT_TRUE(zip.Active());

    const std::string name = folder / "saved.zip";
    zip.SetFileName(name);
    zip.SetInMemory(false);
    EXPECT_FALSE(zip.InMemory());
    EXPECT_TRUE(zip.Active());
    EXPECT_EQ(zip.OpenMode(), ZAModeReadWrite);
    EXPECT_EQ(ReadFileBytes(name), kEmptyZip);

    zip.SetInMemory(true);  // the file's entries are not carried over
    EXPECT_TRUE(zip.Active());
    EXPECT_EQ(zip.ArchiveStream()->Size(), 0);
    zip.CloseArchive();
    EXPECT_EQ(ReadFileBytes(name), kEmptyZip);
}

TEST(ArchiverOpenTest, SpannedArchivesWithItemsAreModifiableOnlyInsideAnUpdate)
{
    TempFolder folder;
    TZipArchiver zip;
    zip.SetFileName(folder / "a.zip");
    zip.OpenArchive();
    zip.DirManager()->Items().SetCount(1);
    EXPECT_NO_THROW(zip.CheckModifiable());
    zip.CloseArchive();

    zip.SetSpanningMode(smSplitting);
    zip.SetFileName(folder / "b.zip");
    zip.OpenArchive(ZAModeCreate);
    EXPECT_NO_THROW(zip.CheckModifiable());
    zip.DirManager()->Items().SetCount(1);
    EXPECT_EQ(ErrorCodeOf([&] { zip.CheckModifiable(); }), 52);
}

}  // namespace
