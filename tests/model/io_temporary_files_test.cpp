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

// A child process runs body, which ends it with _exit where a killed save
// would die, so that nothing is cleaned up.
template <typename Body>
pid_t StartChild(Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(1);
    }
    return child;
}

bool EndedWell(pid_t child)
{
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
    const int unnamed = open(folder_.Path().c_str(), O_TMPFILE | O_RDWR, 0600);
    if (unnamed < 0 && !GetParam())
        GTEST_SKIP() << "the file system has no unnamed files";
    if (unnamed >= 0)
        close(unnamed);
    ASSERT_TRUE(EndedWell(StartChild([&] {
        TAtomicFile file(data_);
        file.Write(std::string(100000, 'p'));
        _exit(0);
    })));
    const Lines left = FilesIn(folder_.Path());
    ASSERT_EQ(left.size(), GetParam() ? 2u : 1u);
    EXPECT_TRUE(left[0] == "data.wqd" || (left[0].starts_with(".wq-save-") && left[0].size() == 15))
        << left[0];
    WriteFileAtomically(folder_ / "other.txt", "other");
    EXPECT_EQ(FilesIn(folder_.Path()), (Lines{"data.wqd", "other.txt"}));
    EXPECT_EQ(ReadFileText(data_), "old content");
}

// A save of another process still at work holds its file; names that only
// look alike, links and folders are not the program's files.
TEST_P(TemporaryFiles, ASaveRemovesOnlyTheProgramsOwnThatNoSaveHolds)
{
    Lines kept = {".wq-save-ABC", ".wq-save-ABCDEF.bak", ".wq-save-AB-DEF", "x.tmp"};
    for (const std::string& name : kept)
        WriteTextFile(folder_ / name, "not ours");
    std::filesystem::create_symlink("data.wqd", folder_ / ".wq-save-LINKED");
    std::filesystem::create_directory(folder_ / ".wq-save-FOLDER");
    kept.insert(kept.end(), {".wq-save-FOLDER", ".wq-save-LINKED", "data.wqd", "other.txt"});
    std::sort(kept.begin(), kept.end());

    int writing[2];
    int goOn[2];
    ASSERT_TRUE(pipe(writing) == 0 && pipe(goOn) == 0);
    char token = 0;
    const pid_t child = StartChild([&] {
        TAtomicFile file(data_);
        file.Write("new content");
        if (write(writing[1], &token, 1) == 1 && read(goOn[0], &token, 1) == 1)
            file.Commit();
        _exit(0);
    });
    ASSERT_EQ(read(writing[0], &token, 1), 1);
    const std::size_t whileWriting = FilesIn(folder_.Path()).size();
    WriteFileAtomically(folder_ / "other.txt", "other");
    EXPECT_EQ(FilesIn(folder_.Path()).size(), whileWriting + 1);
    ASSERT_EQ(write(goOn[1], &token, 1), 1);
    EXPECT_TRUE(EndedWell(child));
    EXPECT_EQ(ReadFileText(data_), "new content");
    EXPECT_EQ(FilesIn(folder_.Path()), kept);
    for (const int end : {writing[0], writing[1], goOn[0], goOn[1]})
        close(end);
}

INSTANTIATE_TEST_SUITE_P(Saves, TemporaryFiles, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

}  // namespace
