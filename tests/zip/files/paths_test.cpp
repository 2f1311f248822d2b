#include <functional>
#include <random>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/drives.h"
#include "tests/support/temp_folder.h"
#include "zip/files/ZAFileSystem.h"
#include "zip/files/ZAPaths.h"

namespace {

using wqtest::TempFolder;

// Runs the test body in a scratch folder as the current folder.
class PathsInFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = GetCurrentDir();
        ASSERT_EQ(chdir(folder_.Path().c_str()), 0);
        here_ = GetCurrentDir();
    }
    void TearDown() override { ASSERT_EQ(chdir(previous_.c_str()), 0); }

    TempFolder folder_;
    std::string previous_;
    std::string here_;
};

TEST(ZAPaths, StoredNamesOfDesktopPaths)
{
    EXPECT_EQ(StoredName("C:\\a\\b.txt", "C:\\a\\", spRelativePath, ""), "b.txt");
    // Outside the base folder: the full path without the drive.
    EXPECT_EQ(StoredName("C:\\a\\b.txt", "C:\\a\\c\\", spRelativePath, ""), "a/b.txt");
    EXPECT_EQ(StoredName("C:\\a\\b.txt", "D:\\", spRelativePath, ""), "a/b.txt");
    EXPECT_EQ(StoredName("C:\\a\\b.txt", "", spFullPathWithDrive, "C:\\"), "C:/a/b.txt");
    EXPECT_EQ(StoredName("C:\\a\\b.txt", "", spFullPath, "C:\\"), "a/b.txt");
    EXPECT_EQ(StoredName("C:\\a\\b.txt", "", spNoPath, "C:\\"), "b.txt");
    EXPECT_EQ(StoredName("\\\\server\\share\\d\\f.txt", "", spFullPath, "/tmp"), "share/d/f.txt");
    EXPECT_EQ(StoredName("//server/share/d/f.txt", "", spFullPath, "/tmp"), "share/d/f.txt");
    EXPECT_EQ(StoredName("\\\\server", "", spFullPath, "/tmp"), "server");
    EXPECT_EQ(StoredName("C:", "", spFullPath, "/tmp"), "");
    EXPECT_EQ(StoredName("C:\\a\\sub\\", "C:\\a\\", spRelativePath, ""), "sub");
}

TEST(ZAPaths, StoredNamesOfPosixPaths)
{
    TempFolder folder;
    const std::string base = folder.Path() + "/";
    EXPECT_EQ(StoredName(base + "data.wqd", base, spRelativePath, ""), "data.wqd");
    EXPECT_EQ(StoredName(base + "sub/x.txt", base, spRelativePath, ""), "sub/x.txt");
    EXPECT_EQ(StoredName(base + "sub/", base, spRelativePath, ""), "sub");
    EXPECT_EQ(StoredName(base + "sub/.", base, spRelativePath, ""), "sub");
    EXPECT_EQ(StoredName("/a/b.txt", base, spRelativePath, ""), "a/b.txt");
    EXPECT_EQ(StoredName("/a/b.txt", "", spFullPath, base), "a/b.txt");
    EXPECT_EQ(StoredName("/a/./c/../b.txt", "", spFullPath, base), "a/b.txt");
    EXPECT_EQ(StoredName("/a/b.txt", "", spFullPathWithDrive, base), "/a/b.txt");
    EXPECT_EQ(StoredName("/a/b.txt", "", spNoPath, base), "b.txt");
    // A relative name counts from the base folder.
    EXPECT_EQ(StoredName("x/y.txt", base, spRelativePath, ""), "x/y.txt");
    EXPECT_EQ(StoredName("y.txt", base, spFullPath, ""), ExpandFileName(base + "y.txt").substr(1));
}

// Outside the desktop form "/" alone separates: "\\" and ":" are characters
// of a name, wherever they stand; stored names still turn "\\" into "/".
TEST(ZAPaths, PathsOfThisPlatformHoldBackslashesAndColons)
{
    EXPECT_EQ(ExtractFileName("/d/GR:1.wqd"), "GR:1.wqd");
    EXPECT_EQ(ExtractFilePath("/d/a\\b.wqd"), "/d/");
    EXPECT_EQ(ExtractFileExt("/d.x/a\\b"), "");
    EXPECT_EQ(IncludeTrailingDelimiter("/d/a\\"), "/d/a\\/");
    EXPECT_EQ(ExpandFileName("/d/a\\b/../c:d/./e"), "/d/c:d/e");
    EXPECT_EQ(ResolvePath("/d", "GR:1.wqd", ""), "/d/GR:1.wqd");
    EXPECT_EQ(StoredName("/d/GR:1.wqd", "/d/", spRelativePath, ""), "GR:1.wqd");
    EXPECT_EQ(StoredName("/d/a\\b.wqd", "/d/", spRelativePath, ""), "a/b.wqd");
    EXPECT_EQ(StoredName("/d:e/f", "", spFullPath, "/"), "d:e/f");
}

TEST_F(PathsInFolder, ResolvePathRules)
{
    EXPECT_EQ(ResolvePath("C:\\a\\c\\", "", ""), "C:\\a\\c\\");
    EXPECT_EQ(ResolvePath("/x", "C:\\f.txt", ""), "C:\\f.txt");
    EXPECT_EQ(ResolvePath("/x", "\\\\srv\\s\\f", ""), "\\\\srv\\s\\f");
    EXPECT_EQ(ResolvePath("/x", "//srv/s/f", ""), "//srv/s/f");
    EXPECT_EQ(ResolvePath("", "", folder_.Path() + "/"), here_ + "/");
    EXPECT_EQ(ResolvePath("", "", ""), here_ + "/");
    EXPECT_EQ(ResolvePath("/no/such/folder", "", ""), "/no/such/folder");
    EXPECT_EQ(ResolvePath("\\", "", ""), here_ + "/");
    EXPECT_EQ(ResolvePath("/", "", ""), "/");
    EXPECT_EQ(ResolvePath("/a/b", "/c/../d.txt", ""), "/d.txt");
    EXPECT_EQ(ResolvePath("/a/b", "x/../y.txt", ""), "/a/b/y.txt");
    EXPECT_EQ(ResolvePath("", "f.txt", ""), here_ + "/f.txt");
    EXPECT_EQ(ResolvePath("", "f.txt", "/d"), "/d/f.txt");
    EXPECT_EQ(ResolvePath("rel", "f.txt", ""), here_ + "/rel/f.txt");
}

TEST_F(PathsInFolder, ExpandFileNameWorksOnTheText)
{
    EXPECT_EQ(ExpandFileName("a/../b/./c"), here_ + "/b/c");
    EXPECT_EQ(ExpandFileName("/../../x"), "/x");
    EXPECT_EQ(ExpandFileName("/a/b/"), "/a/b/");
    EXPECT_EQ(ExpandFileName("/a/b/.."), "/a");
    EXPECT_EQ(ExpandFileName("C:\\a\\..\\b\\"), "C:\\b\\");
    EXPECT_EQ(ExpandFileName("C:/a/./b"), "C:\\a\\b");
    EXPECT_EQ(ExpandFileName("\\\\srv\\share\\x\\..\\..\\y"), "\\\\srv\\share\\y");
    EXPECT_EQ(ExpandFileName(""), "");
}

TEST(ZAPaths, NameParts)
{
    EXPECT_EQ(ExtractFileName("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(ExtractFileName("/a/b.txt"), "b.txt");
    EXPECT_EQ(ExtractFileName("C:b.txt"), "b.txt");
    EXPECT_EQ(ExtractFileName("/a/"), "");
    EXPECT_EQ(ExtractFilePath("/a/b.txt"), "/a/");
    EXPECT_EQ(ExtractFilePath("b.txt"), "");
    EXPECT_EQ(ExtractFileExt("/a.d/b.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a.d/b"), "");
    EXPECT_EQ(ExtractFileDrive("c:\\x"), "c:");
    EXPECT_EQ(ExtractFileDrive("\\\\srv\\share\\x"), "\\\\srv\\share");
    EXPECT_EQ(ExtractFileDrive("/x"), "");
    EXPECT_EQ(IncludeTrailingDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingDelimiter("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingDelimiter(""), "");
    EXPECT_EQ(IncludeTrailingDelimiterOf("", "/b"), "/b/");
    EXPECT_EQ(IncludeTrailingDelimiterOf("/a", "/b"), "/a/");
}

TEST(ZAPaths, RelativePaths)
{
    EXPECT_EQ(ExtractRelativePath("/a/b/", "/a/b/c/d.txt"), "c/d.txt");
    EXPECT_EQ(ExtractRelativePath("/a/b/", "/a/x.txt"), "../x.txt");
    EXPECT_EQ(ExtractRelativePath("/a/b/", "/q/x.txt"), "../../q/x.txt");
    EXPECT_EQ(ExtractRelativePath("C:\\a\\c\\", "C:\\a\\b.txt"), "../b.txt");
    EXPECT_EQ(ExtractRelativePath("C:\\a\\", "D:\\a\\b.txt"), "D:\\a\\b.txt");
    // File names are case-sensitive here.
    EXPECT_EQ(ExtractRelativePath("/A/", "/a/x"), "../a/x");
}

TEST(ZAPaths, MaskEdgeCases)
{
    EXPECT_TRUE(MatchesMask("a", "*.*", false));
    EXPECT_TRUE(MatchesMask("", "*.*", false));
    EXPECT_FALSE(MatchesMask("a", "a*x", false));
    EXPECT_TRUE(MatchesMask("ab", "*b*", false));
    EXPECT_FALSE(MatchesMask("A", "a", false));
    EXPECT_TRUE(MatchesMask("A", "a", true));
    EXPECT_FALSE(MatchesMask("\xC3\x89", "\xC3\xA9", true));  // only A-Z fold
    EXPECT_TRUE(MatchesMask("data.wqd", "*.wqd", false));
    EXPECT_TRUE(MatchesMask("data.wqd", "d?ta.*", false));
    EXPECT_FALSE(MatchesMask("data.wqd", "*.zip", false));
    EXPECT_TRUE(MatchesMask("", "*", false));
    EXPECT_TRUE(MatchesMask("", "", false));
    EXPECT_FALSE(MatchesMask("a", "", false));
    EXPECT_FALSE(MatchesMask("", "?", false));
    EXPECT_FALSE(MatchesMask("a", "a**", false));  // a star takes no empty rest but the last
    EXPECT_TRUE(MatchesMask("ab", "a**", false));
    EXPECT_TRUE(MatchesMask("axyz", "a**.*", false));  // "*.*" again after the first star
}

// The match as the rules state it, recursion and all.
bool ReferenceMatch(std::string_view name, std::string_view mask)
{
    if (mask == "*.*")
        return true;
    std::size_t n = 0;
    std::size_t m = 0;
    while (true) {
        if (mask.substr(m) == "*")
            return true;
        if (n == name.size())
            return m == mask.size();
        if (m == mask.size())
            return false;
        if (mask[m] == '*') {
            for (std::size_t i = n; i < name.size(); ++i)
                if (ReferenceMatch(name.substr(i), mask.substr(m + 1)))
                    return true;
            return false;
        }
        if (mask[m] != '?' && mask[m] != name[n])
            return false;
        ++n;
        ++m;
    }
}

TEST(ZAPaths, MaskAgreesWithTheRecursiveRules)
{
    std::mt19937 random(3);
    const std::string nameChars = "ab.";
    const std::string maskChars = "ab.*?";
    for (int round = 0; round < 200000; ++round) {
        std::string name(random() % 7, ' ');
        for (char& c : name)
            c = nameChars[random() % nameChars.size()];
        std::string mask(random() % 7, ' ');
        for (char& c : mask)
            c = maskChars[random() % maskChars.size()];
        ASSERT_EQ(MatchesMask(name, mask, false), ReferenceMatch(name, mask))
            << "name '" << name << "' mask '" << mask << "'";
    }
}

TEST(ZAPaths, ManyStarsStayFast)
{
    const std::string name(2000, 'a');
    const std::string mask = "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
    EXPECT_FALSE(MatchesMask(name, mask, false));
    EXPECT_TRUE(MatchesMask(name + "b", mask, false));
}

class RemovableMedia : public TDriveLayer {
public:
    TDriveType DriveType(const std::string& path) override
    {
        return path.rfind("/media/", 0) == 0 ? TDriveType::dtRemovable : TDriveType::dtFixed;
    }
    std::int64_t FreeSpace(const std::string&) override { return -1; }
    bool SetVolumeLabel(const std::string&, const std::string&) override { return false; }
};

TEST(ZAPaths, DriveTests)
{
    EXPECT_TRUE(IsFloppyDrive("a:\\data.zip"));
    EXPECT_TRUE(IsFloppyDrive("B:"));
    EXPECT_FALSE(IsFloppyDrive("C:\\data.zip"));
    EXPECT_FALSE(IsFloppyDrive("/a/b.zip"));
    EXPECT_FALSE(IsFloppyDrive("ab.zip"));
    EXPECT_TRUE(IsRemovableDrive("A:\\x.zip"));
    EXPECT_FALSE(IsRemovableDrive("/media/stick/x.zip"));
    RemovableMedia media;
    ScopedDriveLayer installed(media);
    EXPECT_TRUE(IsRemovableDrive("/media/stick/x.zip"));
    EXPECT_FALSE(IsRemovableDrive("/home/x.zip"));
}

}  // namespace
