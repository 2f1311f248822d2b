#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "io/atomic_file.h"
#include "platform/exception.h"
#include "tests/io/io_save_fixture.h"
#include "tests/support/file_size_limit.h"

namespace {

using wqtest::FilesIn;
using wqtest::ReadFileText;
using wqtest::ScopedFileSizeLimit;
using wqtest::WriteTextFile;

using SaveSafety = SaveTest;

template <typename Action>
std::string ErrorOf(Action action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.what();
    }
    return "no exception";
}

TEST_F(SaveSafety, WithoutCountryNothingIsWritten)
{
    TSession fresh;
    Session = &fresh;
    const std::string existing = folder_ / "old.wqd";
    WriteTextFile(existing, "old content");
    EXPECT_EQ(ErrorOf([&] { SaveDataFile(existing); }),
              "The data file \"" + existing + "\" was not written: no country has been chosen.");
    EXPECT_EQ(ReadFileText(existing), "old content");
    EXPECT_THROW(SaveDataFile(folder_ / "new.wqd"), Exception);
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"old.wqd"}));
    Session = &session();
}

TEST_F(SaveSafety, ReplacesAnExistingFileAndKeepsItsMode)
{
    const std::string path = folder_ / "data.wqd";
    WriteTextFile(path, "old content");
    chmod(path.c_str(), 0640);
    SaveDataFile(path);
    EXPECT_EQ(ReadFileText(path).substr(0, 3), "\xEF\xBB\xBF");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"data.wqd"}));
}

int refusal = 0;

int RefuseChangeOfMode(int, mode_t)
{
    errno = refusal;
    return -1;
}

// A memory stick's FAT keeps no modes, and its drivers refuse a change with
// EPERM, ENOSYS or ENOTSUP; any other failure still fails the save.
TEST_F(SaveSafety, OnlyAFileSystemWithoutModesSavesWithoutSettingOne)
{
    const std::string path = folder_ / "data.wqd";
    const ScopedChangeMode refusing(RefuseChangeOfMode);
    const std::string failure = "Cannot write the file \"" + path + "\": Input/output error";
    for (const auto& [error, outcome] : {std::pair<int, std::string>{EPERM, "no exception"},
                                         {ENOSYS, "no exception"},
                                         {ENOTSUP, "no exception"},
                                         {EIO, failure}}) {
        refusal = error;
        WriteTextFile(path, "old content");
        EXPECT_EQ(ErrorOf([&] { SaveDataFile(path); }), outcome);
        EXPECT_EQ(ReadFileText(path).substr(0, 3), error == EIO ? "old" : "\xEF\xBB\xBF");
        EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"data.wqd"}));
    }
}

TEST_F(SaveSafety, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const std::string path = folder_ / "data.wqd";
    WriteTextFile(path, "old content");
    new TWell(NewRegion(rtRBD, "GR01"), std::string(4096, 'w'));
    std::string error;
    {
        ScopedFileSizeLimit limit(1024);
        error = ErrorOf([&] { SaveDataFile(path); });
    }
    EXPECT_EQ(error, "Cannot write the file \"" + path + "\": File too large");
    EXPECT_EQ(ReadFileText(path), "old content");
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"data.wqd"}));
}

// The file is written while it is produced, so the failure comes long before
// the end: what was written so far must not replace the old file.
TEST_F(SaveSafety, AFailureHalfwayThroughALargeFileKeepsTheOldFile)
{
    const std::string path = folder_ / "data.wqd";
    WriteTextFile(path, "old content");
    TRegion* region = NewRegion(rtRBD, "GR01");
    for (int i = 0; i < 100; ++i)
        (new TStreamFlow(region, "F" + std::to_string(i)))->FDailyData.fill(1.5);
    std::string error;
    {
        ScopedFileSizeLimit limit(1500000);
        error = ErrorOf([&] { SaveDataFile(path); });
    }
    EXPECT_EQ(error, "Cannot write the file \"" + path + "\": File too large");
    EXPECT_EQ(ReadFileText(path), "old content");
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"data.wqd"}));
    SaveDataFile(path);
    EXPECT_GT(ReadFileText(path).size(), 3000000u);
}

TEST_F(SaveSafety, AnAtomicFileTakesEffectOnlyOnCommit)
{
    const std::string path = folder_ / "pieces.txt";
    WriteTextFile(path, "old content");
    try {
        TAtomicFile file(path);
        file.Write("new ");
        throw std::runtime_error("the producer failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadFileText(path), "old content");
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"pieces.txt"}));

    TAtomicFile file(path);
    file.Write("new ");
    file.Write("");
    file.Write(std::string(20u << 20, 'c'));
    EXPECT_EQ(ReadFileText(path), "old content");
    file.Commit();
    EXPECT_EQ(ReadFileText(path), "new " + std::string(20u << 20, 'c'));
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"pieces.txt"}));
    EXPECT_THROW(file.Write("late"), EFileWriteError);
    EXPECT_THROW(file.Commit(), EFileWriteError);
}

TEST_F(SaveSafety, AFolderInTheWayOfTheFileIsLeftAlone)
{
    const std::string path = folder_ / "taken.wqd";
    std::filesystem::create_directory(path);
    WriteTextFile(path + "/inside", "x");
    EXPECT_EQ(ErrorOf([&] { SaveDataFile(path); }),
              "Cannot write the file \"" + path + "\": Is a directory");
    EXPECT_EQ(ReadFileText(path + "/inside"), "x");
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"taken.wqd"}));
}

TEST_F(SaveSafety, AMissingFolderIsNamedWithTheReason)
{
    const std::string path = folder_ / "no/such/folder/data.wqd";
    EXPECT_EQ(ErrorOf([&] { SaveDataFile(path); }),
              "Cannot write the file \"" + path + "\": No such file or directory");
    EXPECT_TRUE(FilesIn(folder_.Path()).empty());
}

TEST_F(SaveSafety, AReadOnlyFolderKeepsTheOldFile)
{
    const std::string path = folder_ / "data.wqd";
    WriteTextFile(path, "old content");
    chmod(folder_.Path().c_str(), 0555);
    if (access(folder_.Path().c_str(), W_OK) == 0) {
        chmod(folder_.Path().c_str(), 0755);
        GTEST_SKIP() << "permissions do not bind this user";
    }
    const std::string error = ErrorOf([&] { SaveDataFile(path); });
    chmod(folder_.Path().c_str(), 0755);
    EXPECT_EQ(error, "Cannot write the file \"" + path + "\": Permission denied");
    EXPECT_EQ(ReadFileText(path), "old content");
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"data.wqd"}));
}

TEST_F(SaveSafety, AtomicWriteOfARelativeNameAndOfNothing)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder_.Path());
    WriteFileAtomically("plain.txt", "");
    WriteFileAtomically("plain.txt", std::string(100000, 'a'));
    std::filesystem::current_path(previous);
    EXPECT_EQ(ReadFileText(folder_ / "plain.txt"), std::string(100000, 'a'));
    EXPECT_EQ(FilesIn(folder_.Path()), (std::vector<std::string>{"plain.txt"}));
}

}  // namespace
