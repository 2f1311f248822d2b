// What saves leave behind when they die part-way, with unnamed temporary
// files and with the named ones of file systems that have no unnamed files.

#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "io/atomic_file.h"
#include "io/temporary_files.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;
using wqtest::FilesIn;
using wqtest::ReadFileText;
using wqtest::WriteTextFile;

// Runs body in a child process and waits for it; body ends the process with
// _exit where a killed save would die, so that nothing is cleaned up.
template <typename Body>
void InChildProcess(Body body)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        body();
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

bool HasUnnamedFiles(const std::string& folder)
{
    const int handle = open(folder.c_str(), O_TMPFILE | O_RDWR, 0600);
    if (handle < 0)
        return false;
    close(handle);
    return true;
}

class DyingSaves : public ::testing::TestWithParam<bool> {
protected:
    DyingSaves()
    {
        if (GetParam())
            namedFiles_.emplace();
    }
    bool Named() const { return GetParam(); }

    wqtest::TempFolder folder_;
    const std::string data_ = WriteTextFile(folder_ / "data.wqd", "old content");
    std::optional<TScopedNamedTemporaryFiles> namedFiles_;
};

TEST_P(DyingSaves, LeaveNothingOrWhatTheNextSaveInTheFolderRemoves)
{
    if (!Named() && !HasUnnamedFiles(folder_.Path()))
        GTEST_SKIP() << "the file system has no unnamed files";
    InChildProcess([&] {
        TAtomicFile file(data_);
        file.Write(std::string(100000, 'p'));
        _exit(0);
    });
    const Lines left = FilesIn(folder_.Path());
    if (Named()) {
        ASSERT_EQ(left.size(), 2u);
        EXPECT_TRUE(left[0].starts_with(".wq-save-") && left[0].size() == 15) << left[0];
    } else {
        EXPECT_EQ(left, Lines{"data.wqd"});
    }
    WriteFileAtomically(folder_ / "other.txt", "other");
    EXPECT_EQ(FilesIn(folder_.Path()), (Lines{"data.wqd", "other.txt"}));
    EXPECT_EQ(ReadFileText(data_), "old content");
}

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, DyingSaves, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

// A save of another process that is still writing holds its file; names that
// only look alike, links and folders are not this program's files.
TEST(SweptTemporaryFiles, AreOnlyTheProgramsOwnThatNoSaveHolds)
{
    TScopedNamedTemporaryFiles named;
    wqtest::TempFolder folder;
    const std::string data = WriteTextFile(folder / "data.wqd", "old content");
    const Lines foreign = {".wq-save-ABC", ".wq-save-ABCDEF.bak", ".wq-save-AB-DEF", "x.tmp"};
    for (const std::string& name : foreign)
        WriteTextFile(folder / name, "not ours");
    std::filesystem::create_symlink("data.wqd", folder / ".wq-save-LINKED");
    std::filesystem::create_directory(folder / ".wq-save-FOLDER");

    int written[2];
    int goOn[2];
    ASSERT_EQ(pipe(written), 0);
    ASSERT_EQ(pipe(goOn), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TAtomicFile file(data);
        file.Write("new content");
        char signal = 0;
        const bool told = write(written[1], &signal, 1) == 1 && read(goOn[0], &signal, 1) == 1;
        if (told)
            file.Commit();
        _exit(told ? 0 : 1);
    }
    char signal = 0;
    ASSERT_EQ(read(written[0], &signal, 1), 1);
    const std::size_t entriesWhileWriting = FilesIn(folder.Path()).size();
    WriteFileAtomically(folder / "other.txt", "other");
    EXPECT_EQ(FilesIn(folder.Path()).size(), entriesWhileWriting + 1);
    ASSERT_EQ(write(goOn[1], &signal, 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFileText(data), "new content");

    Lines expected = foreign;
    expected.insert(expected.end(),
                    {".wq-save-FOLDER", ".wq-save-LINKED", "data.wqd", "other.txt"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(folder.Path()), expected);
    for (int fd : {written[0], written[1], goOn[0], goOn[1]})
        close(fd);
}

}  // namespace
