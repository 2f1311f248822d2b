// Archives made by other archivers in the test's folder open with the items
// they hold.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "zip/archiver/ZipArchiver.h"

namespace {

using wqtest::Quoted;
using wqtest::TempFolder;

// Opens read-only and strictly, so that a damaged directory shows as an error.
class PeerArchive {
public:
    explicit PeerArchive(const std::string& fileName)
    {
        zip_.SetFileName(fileName);
        zip_.SetTolerateDamage(false);
        zip_.OpenArchive(ZAModeReadOnly);
    }
    TZADirManager& Manager() { return *zip_.DirManager(); }
    TZADirArray& Items() { return zip_.DirManager()->Items(); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < Items().Count(); ++i) {
            names.push_back(std::string(Items().ItemPtr(i).FileName()));
        }
        return names;
    }

private:
    TZipArchiver zip_;
};

class PeerArchivesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wqtest::WriteTextFile(folder_ / "a.txt", "first file\n");
        wqtest::Run("mkdir -p " + Quoted(folder_ / "sub"));
        wqtest::WriteTextFile(folder_ / "sub/b.txt", std::string(5000, 'b'));
    }
    std::string InFolder(const std::string& command)
    {
        return "cd " + Quoted(folder_.Path()) + " && " + command + " >/dev/null 2>&1";
    }
    TempFolder folder_;
};

const std::vector<std::string> kInfoZipNames = {"a.txt", "sub/", "sub/b.txt"};

TEST_F(PeerArchivesTest, InfoZipArchiveWithCommentAndSizes)
{
    if (!wqtest::HasProgram("zip")) {
        GTEST_SKIP() << "Info-ZIP zip is not installed";
    }
    ASSERT_EQ(
        wqtest::Run(InFolder("zip -q -r z.zip a.txt sub && echo 'the comment' | zip -q -z z.zip")),
        0);
    PeerArchive archive(folder_ / "z.zip");
    EXPECT_EQ(archive.Names(), kInfoZipNames);
    EXPECT_EQ(archive.Manager().ArchiveComment(), "the comment");
    EXPECT_EQ(archive.Items().ItemPtr(2).UncompressedSize(), 5000u);
    EXPECT_TRUE(archive.Items().ItemPtr(1).IsDirectory());
}

TEST_F(PeerArchivesTest, SelfExtractorPrefixWithAndWithoutAdjustedOffsets)
{
    if (!wqtest::HasProgram("zip")) {
        GTEST_SKIP() << "Info-ZIP zip is not installed";
    }
    wqtest::WriteTextFile(folder_ / "stub", std::string(1234, 'S'));
    ASSERT_EQ(wqtest::Run(InFolder("zip -q -r z.zip a.txt sub && cat stub z.zip > sfx.zip && "
                                   "cp sfx.zip adjusted.zip && zip -q -A adjusted.zip")),
              0);
    const std::uint64_t plainOffset =
        PeerArchive(folder_ / "z.zip").Items().ItemPtr(2).LocalHeaderOffset();
    for (const char* name : {"sfx.zip", "adjusted.zip"}) {
        PeerArchive archive(folder_ / name);
        EXPECT_EQ(archive.Names(), kInfoZipNames) << name;
        EXPECT_EQ(archive.Manager().DataOffset(), 1234) << name;
        EXPECT_EQ(archive.Items().ItemPtr(2).LocalHeaderOffset(), plainOffset + 1234) << name;
    }
}

TEST_F(PeerArchivesTest, StreamedArchiveWithDataDescriptors)
{
    if (!wqtest::HasProgram("zip")) {
        GTEST_SKIP() << "Info-ZIP zip is not installed";
    }
    ASSERT_EQ(wqtest::Run(InFolder("(zip -q - a.txt sub/b.txt | cat > dd.zip)")), 0);
    PeerArchive archive(folder_ / "dd.zip");
    EXPECT_EQ(archive.Names(), (std::vector<std::string>{"a.txt", "sub/b.txt"}));
    EXPECT_NE(archive.Items().ItemPtr(0).Header.Flags & ZAFlagDataDescriptor, 0);
    EXPECT_EQ(archive.Items().ItemPtr(1).UncompressedSize(), 5000u);
}

TEST_F(PeerArchivesTest, InfoZipZip64Records)
{
    if (!wqtest::HasProgram("zip")) {
        GTEST_SKIP() << "Info-ZIP zip is not installed";
    }
    ASSERT_EQ(wqtest::Run(InFolder("zip -q -fz z64.zip a.txt sub/b.txt")), 0);
    PeerArchive archive(folder_ / "z64.zip");
    EXPECT_EQ(archive.Names(), (std::vector<std::string>{"a.txt", "sub/b.txt"}));
    EXPECT_EQ(archive.Items().ItemPtr(1).UncompressedSize(), 5000u);
}

TEST_F(PeerArchivesTest, SevenZipUtf8Names)
{
    const std::string sevenZip = wqtest::SevenZipProgram();
    if (sevenZip.empty()) {
        GTEST_SKIP() << "7-Zip is not installed";
    }
    const std::string name = "\xC3\xA9t\xC3\xA9 \xE4\xB8\x96.txt";  // "été 世.txt"
    wqtest::WriteTextFile(folder_ / name, "x");
    ASSERT_EQ(wqtest::Run(InFolder(sevenZip + " a -tzip s.zip a.txt " + Quoted(name))), 0);
    PeerArchive archive(folder_ / "s.zip");
    EXPECT_EQ(archive.Names(), (std::vector<std::string>{"a.txt", name}));
}

TEST_F(PeerArchivesTest, PythonZip64With70000EntriesAndUtf8Names)
{
    if (!wqtest::HasProgram("python3")) {
        GTEST_SKIP() << "python3 is not installed";
    }
    const std::string script =
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
        "    z.comment = b'python'\n"
        "    z.writestr('\\u00e9t\\u00e9/\\u4e16\\u754c.txt', 'x')\n"
        "    for i in range(70000):\n"
        "        z.writestr('f%05d' % i, '')\n";
    wqtest::WriteTextFile(folder_ / "make.py", script);
    ASSERT_EQ(wqtest::Run(InFolder("python3 make.py many.zip")), 0);
    PeerArchive archive(folder_ / "many.zip");
    EXPECT_TRUE(archive.Manager().Zip64Present());
    ASSERT_EQ(archive.Items().Count(), 70001);
    EXPECT_EQ(archive.Items().ItemPtr(0).FileName(),
              "\xC3\xA9t\xC3\xA9/\xE4\xB8\x96\xE7\x95\x8C.txt");
    EXPECT_EQ(archive.Items().ItemPtr(70000).FileName(), "f69999");
    EXPECT_EQ(archive.Manager().ArchiveComment(), "python");
    int index = -1;
    EXPECT_TRUE(archive.Items().FindName("F12345", index));
    EXPECT_EQ(index, 12346);
}

}  // namespace
