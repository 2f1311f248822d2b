// What saves leave behind when they die part-way, with unnamed temporary
// files and with the named ones of file systems that have no unnamed files.

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

// Runs body in a child process, which body ends with _exit(0) where a killed
// save would die, so that nothing is cleaned up; true when it got there.
template <typename Body>
bool RunInChild(Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

class TemporaryFiles : public ::testing::TestWithParam<bool> {
protected:
    TemporaryFiles()
    {
        if (GetParam())
            namedFiles_.emplace();
    }

    wqtest::TempFolder folder_;
    const std::string data_ = WriteTextFile(folder_ / "data.wqd", "old content");
    std::optional<TScopedNamedTemporaryFiles> namedFiles_;
};

TEST_P(TemporaryFiles, ASaveThatDiesLeavesNothingTheNextSaveDoesNotRemove)
{
    ASSERT_TRUE(RunInChild([&] {
        TAtomicFile file(data_);
        file.Write(std::string(100000, 'p'));
        _exit(0);
    }));
    if (GetParam()) {
        EXPECT_EQ(FilesIn(folder_.Path()).size(), 2u) << "the named file was left";
    }
    WriteFileAtomically(folder_ / "other.txt", "other");
    EXPECT_EQ(FilesIn(folder_.Path()), (Lines{"data.wqd", "other.txt"}));
    EXPECT_EQ(ReadFileText(data_), "old content");
}

// A save still at work, of this process or another, holds its file; names
// that only look alike, links and folders are not the program's files.
TEST_P(TemporaryFiles, ASaveRemovesOnlyTheProgramsOwnThatNoSaveHolds)
{
    Lines kept = {".wq-save-ABC", ".wq-save-ABCDEF.bak", ".wq-save-AB-DEF", "x.tmp"};
    for (const std::string& name : kept)
        WriteTextFile(folder_ / name, "not ours");
    std::filesystem::create_symlink("data.wqd", folder_ / ".wq-save-LINKED");
    std::filesystem::create_directory(folder_ / ".wq-save-FOLDER");
    kept.insert(kept.end(), {".wq-save-FOLDER", ".wq-save-LINKED", "data.wqd", "other.txt"});
    std::sort(kept.begin(), kept.end());

    TAtomicFile file(data_);
    file.Write("new content");
    const std::size_t whileWriting = FilesIn(folder_.Path()).size();
    WriteFileAtomically(folder_ / "other.txt", "other");
    EXPECT_EQ(FilesIn(folder_.Path()).size(), whileWriting + 1);
    file.Commit();
    EXPECT_EQ(ReadFileText(data_), "new content");
    EXPECT_EQ(FilesIn(folder_.Path()), kept);
}

INSTANTIATE_TEST_SUITE_P(Saves, TemporaryFiles, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

}  // namespace
