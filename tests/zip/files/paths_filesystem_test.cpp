#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "zip/files/ZAFileSystem.h"
#include "zip/format/ZARecords.h"

namespace {

using wqtest::TempFolder;
using wqtest::ToBytes;
using wqtest::WriteTextFile;

std::vector<std::string> Found(const std::string& mask, std::uint32_t attr)
{
    std::vector<std::string> names;
    TSearchRec rec;
    for (int result = FindFirst(mask, attr, rec); result == 0; result = FindNext(rec))
        names.push_back(rec.Name);
    FindClose(rec);
    return names;
}

TEST(ZAFileSystem, AttributesOfWhatExists)
{
    TempFolder folder;
    const std::string file = WriteTextFile(folder / "a.txt", "x");
    const std::string hidden = WriteTextFile(folder / ".profile", "x");
    EXPECT_EQ(FileGetAttr(file), faArchive);
    EXPECT_EQ(FileGetAttr(hidden), faArchive | faHidden);
    EXPECT_EQ(FileGetAttr(folder.Path() + "/"), faDirectory);
    EXPECT_EQ(FileGetAttr(folder / "missing"), faInvalid);

    ASSERT_TRUE(FileSetAttr(file, faReadOnly));
    EXPECT_EQ(FileGetAttr(file), faArchive | faReadOnly);
    ASSERT_TRUE(FileSetAttr(file, 0));
    EXPECT_EQ(FileGetAttr(file), faArchive);
    EXPECT_FALSE(FileSetAttr(folder / "missing", 0));

    // A link to nowhere exists but cannot be examined.
    const std::string dangling = folder / "dangling";
    ASSERT_EQ(symlink((folder / "gone").c_str(), dangling.c_str()), 0);
    EXPECT_EQ(FileGetAttr(dangling), faUnreadable);
    EXPECT_TRUE(FileExists(dangling));
}

TEST(ZAFileSystem, ExistsDeleteAndRename)
{
    TempFolder folder;
    const std::string a = WriteTextFile(folder / "a.txt", "a");
    const std::string b = WriteTextFile(folder / "b.txt", "b");
    EXPECT_TRUE(FileExists(a));
    EXPECT_FALSE(FileExists(folder.Path() + "/"));
    EXPECT_TRUE(DirectoryExists(folder.Path() + "/"));
    EXPECT_FALSE(DirectoryExists(a));

    // Moving onto an existing name fails and leaves both files.
    EXPECT_FALSE(RenameFile(a, b));
    EXPECT_EQ(wqtest::ReadFileBytes(b), ToBytes("b"));
    EXPECT_TRUE(RenameFile(a, folder / "c.txt"));
    EXPECT_FALSE(FileExists(a));
    EXPECT_TRUE(DeleteFile(folder / "c.txt"));
    EXPECT_FALSE(DeleteFile(folder / "c.txt"));
    EXPECT_FALSE(DeleteFile(folder.Path() + "/"));
}

TEST(ZAFileSystem, FileAgeIsTheLocalDosTime)
{
    TempFolder folder;
    const std::string file = WriteTextFile(folder / "a.txt", "a");
    std::tm local{};
    local.tm_year = 2008 - 1900;
    local.tm_mon = 6;
    local.tm_mday = 14;
    local.tm_hour = 9;
    local.tm_min = 30;
    local.tm_sec = 41;
    local.tm_isdst = -1;
    const utimbuf times{std::mktime(&local), std::mktime(&local)};
    ASSERT_EQ(utime(file.c_str(), &times), 0);
    const TZADosDateTime expected = DateTimeToDos({2008, 7, 14, 9, 30, 40});
    EXPECT_EQ(FileAge(file), expected.Packed());
    EXPECT_EQ(FileAge(folder.Path() + "/"), -1);
    EXPECT_EQ(FileAge(folder / "missing"), -1);
}

TEST(ZAFileSystem, SearchFiltersByMaskAndAttributes)
{
    TempFolder folder;
    WriteTextFile(folder / "b.txt", "bb");
    WriteTextFile(folder / "a.txt", "a");
    WriteTextFile(folder / "c.dat", "c");
    WriteTextFile(folder / ".hidden.txt", "h");
    std::filesystem::create_directory(folder / "sub.txt");
    const std::string p = folder.Path() + "/";

    EXPECT_EQ(Found(p + "*.txt", faArchive), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(Found(p + "*.txt", faArchive | faHidden | faDirectory),
              (std::vector<std::string>{".hidden.txt", "a.txt", "b.txt", "sub.txt"}));
    EXPECT_EQ(Found(p + "*", faDirectory),
              (std::vector<std::string>{".", "..", "a.txt", "b.txt", "c.dat", "sub.txt"}));
    EXPECT_EQ(Found(p + "c.dat", 0), (std::vector<std::string>{"c.dat"}));
    EXPECT_TRUE(Found(p + "*.zip", 0xFF).empty());
    EXPECT_TRUE(Found(p + "missing/*", 0xFF).empty());

    TSearchRec rec;
    ASSERT_EQ(FindFirst(p + "b.txt", faArchive, rec), 0);
    EXPECT_EQ(rec.Size, 2);
    EXPECT_EQ(rec.Attr, faArchive);
    EXPECT_EQ(rec.Time, FileAge(p + "b.txt"));
    EXPECT_NE(FindNext(rec), 0);
    FindClose(rec);
    EXPECT_NE(FindNext(rec), 0);
}

TEST(ZAFileSystem, RemoveFolderTreeRemovesOnlyEmptyTrees)
{
    TempFolder folder;
    const std::string empty = folder / "empty/";
    std::filesystem::create_directories(empty + "x/y");
    std::filesystem::create_directories(empty + "z");
    EXPECT_TRUE(RemoveFolderTree(empty));
    EXPECT_FALSE(DirectoryExists(empty));

    const std::string full = folder / "full/";
    std::filesystem::create_directories(full + "x");
    WriteTextFile(folder / "full/x/keep.txt", "k");
    EXPECT_FALSE(RemoveFolderTree(full));
    EXPECT_TRUE(FileExists(full + "x/keep.txt"));

    EXPECT_TRUE(RemoveFolderTree(folder / "never/"));
}

TEST(ZAFileSystem, RemoveFolderTreeRemovesLinksAsLinks)
{
    TempFolder folder;
    const std::string outside = folder / "outside";
    std::filesystem::create_directories(outside + "/inner");
    const std::string tree = folder / "tree/";
    std::filesystem::create_directories(tree + "sub");
    std::filesystem::create_directory_symlink(outside, tree + "sub/link");
    EXPECT_TRUE(RemoveFolderTree(tree));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(tree)));
    EXPECT_TRUE(DirectoryExists(outside + "/inner"));

    // A tree that is itself a link goes as the link.
    std::filesystem::create_directory_symlink(outside, folder / "alias");
    EXPECT_TRUE(RemoveFolderTree(folder / "alias/"));
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "alias"));
    EXPECT_TRUE(DirectoryExists(outside + "/inner"));
}

TEST(ZAFileSystem, CurrentFolder)
{
    EXPECT_EQ(GetCurrentDir(), std::filesystem::current_path().string());
}

}  // namespace
