// What AddFiles finds and how it enters it: masks, folders and recursion,
// exclusions, stored names, the overwrite modes and bad masks.

#include "tests/zip/write_test_support.h"

namespace {

using namespace writetest;
using NameList = std::vector<std::string>;

class AddFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setup_.AddSource("data.wqd", ToBytes("data"));
        setup_.AddSource("notes.txt", ToBytes("notes"));
        setup_.AddSource("sub/a.txt", ToBytes("a"));
        setup_.AddSource("sub/deeper/b.wqd", ToBytes("b"));
        std::filesystem::create_directories(setup_.Source("hollow"));
    }
    // The stored names of the archive's items, in order.
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        TZADirArray& items = zip_.DirManager()->Items();
        for (int i = 0; i < items.Count(); ++i) {
            names.push_back(std::string(items.ItemPtr(i).FileName()));
        }
        return names;
    }
    std::vector<std::string> NamesOnDisk()
    {
        std::vector<std::string> names;
        for (const WrittenEntry& e : ReadEntries(ReadFileBytes(setup_.archive))) {
            names.push_back(e.name);
        }
        return names;
    }
    ArchiveSetup setup_;
    TZipArchiver zip_;
};

TEST_F(AddFilesTest, FoldersWithAttributeSixteenAndRecursion)
{
    setup_.Prepare(zip_);
    zip_.AddFiles("*", faArchive | faDirectory);
    // A folder's files come before its sub-folders' content.
    const NameList expected = {"data.wqd",  "notes.txt",   "hollow/",         "sub/",
                               "sub/a.txt", "sub/deeper/", "sub/deeper/b.wqd"};
    EXPECT_EQ(Names(), expected);
    zip_.CloseArchive();
    EXPECT_EQ(NamesOnDisk(), expected);
    const auto entries = ReadEntries(ReadFileBytes(setup_.archive));
    EXPECT_EQ(entries[3].central.Flags, ZAFlagsOfDirectory);
    EXPECT_EQ(entries[3].central.ExternalAttributes & faDirectory, faDirectory);
    ExpectUnzipAccepts(setup_.archive);
    ExpectSevenZipAccepts(setup_.archive);
    ExpectPythonReadsBack(setup_.archive, setup_.source);
    ExpectSevenZipExtractsSources(setup_.archive, setup_.source);
}

TEST_F(AddFilesTest, AnArchiveInMemoryTakesFilesAndIsSavedWhole)
{
    zip_.SetFileName(setup_.archive);
    zip_.SetInMemory(true);
    zip_.OpenArchive();
    zip_.SetBaseDir(setup_.source);
    zip_.AddFiles("*.wqd", faArchive);
    zip_.SetInMemory(false);
    EXPECT_EQ(Names(), (NameList{"data.wqd", "sub/deeper/b.wqd"}));
    zip_.CloseArchive();
    ExpectUnzipAccepts(setup_.archive);
    ExpectPythonReadsBack(setup_.archive, setup_.source);
}

TEST_F(AddFilesTest, AFolderLinkedBackIntoTheTreeIsAddedButNotEntered)
{
    std::filesystem::create_directory_symlink("..", setup_.Source("sub/up"));
    setup_.Prepare(zip_);
    zip_.AddFiles("*.txt", faArchive | faDirectory);
    EXPECT_EQ(Names(), (NameList{"notes.txt", "sub/a.txt"}));
    zip_.AddFiles("*", faArchive | faDirectory);
    const NameList names = Names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "sub/up/"), 1);
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const std::string& name) { return name.starts_with("sub/up/"); }),
              1);
}

TEST_F(AddFilesTest, RecursionWithoutFoldersAndWithout)
{
    setup_.Prepare(zip_);
    zip_.AddFiles("*.wqd", faArchive);
    EXPECT_EQ(Names(), (NameList{"data.wqd", "sub/deeper/b.wqd"}));
    zip_.Options().Recurse = false;
    zip_.AddFiles("*.txt", faArchive);
    EXPECT_EQ(Names(), (NameList{"data.wqd", "sub/deeper/b.wqd", "notes.txt"}));
}

TEST_F(AddFilesTest, StorePathModes)
{
    const std::string file = setup_.Source("sub/a.txt");
    const struct {
        TZAStorePathMode mode;
        std::string name;
    } cases[] = {{spNoPath, "a.txt"},
                 {spRelativePath, "sub/a.txt"},
                 {spFullPath, file.substr(1)},
                 {spFullPathWithDrive, file}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TZipArchiver zip;
        zip.Options().StorePath = c.mode;
        setup_.Prepare(zip);
        zip.AddFiles(file);
        EXPECT_EQ(zip.DirManager()->Items().ItemPtr(0).FileName(), c.name);
    }
}

TEST_F(AddFilesTest, TheArchiveItselfIsNeverAdded)
{
    setup_.archive = setup_.Source("inside.zip");
    setup_.Prepare(zip_);
    zip_.AddFiles("*.zip");
    zip_.AddFiles(setup_.archive);
    zip_.AddFiles("*", faArchive);
    EXPECT_EQ(Names(), (NameList{"data.wqd", "notes.txt", "sub/a.txt", "sub/deeper/b.wqd"}));
}

TEST_F(AddFilesTest, ExclusionsAndNoCompressionMasks)
{
    zip_.SetNoCompressionMasks({"*.wqd"});
    setup_.Prepare(zip_);
    zip_.AddFiles("*", faArchive | faDirectory, "deeper");
    EXPECT_EQ(Names(), (NameList{"data.wqd", "notes.txt", "hollow/", "sub/", "sub/a.txt"}));
    zip_.CloseArchive();
    for (const WrittenEntry& e : ReadEntries(ReadFileBytes(setup_.archive))) {
        const bool stored = e.name == "data.wqd" || e.name.ends_with("/");
        EXPECT_EQ(e.local.Method, stored ? ZAMethodStored : ZAMethodDeflate) << e.name;
    }
}

TEST_F(AddFilesTest, MasksThatFindNothingStillLeaveAValidArchive)
{
    setup_.Prepare(zip_);
    zip_.AddFiles("*.none");
    zip_.AddFiles(setup_.Source("missing.txt"));
    zip_.AddFiles("");
    EXPECT_TRUE(Names().empty());
    zip_.CloseArchive();
    const za::Bytes bytes = ReadFileBytes(setup_.archive);
    ASSERT_EQ(bytes.size(), TZAEndRecord::Size);
    EXPECT_EQ(za::GetU32(bytes.data()), ZAStandardSignatures.EndRecord);
}

TEST_F(AddFilesTest, AMaskNamingAFolderEntersTheFolder)
{
    setup_.Prepare(zip_);
    zip_.AddFiles("sub");
    zip_.AddFiles(setup_.Source("hollow"));
    EXPECT_EQ(Names(), (NameList{"sub/", "hollow/"}));
    zip_.CloseArchive();
    ExpectUnzipAccepts(setup_.archive);
}

TEST_F(AddFilesTest, OverwriteModesDecideOverAnItemOfTheSameName)
{
    zip_.SetCompressionMode(0);
    setup_.Prepare(zip_);
    zip_.AddFiles("data.wqd");
    const auto firstTime = zip_.DirManager()->Items().ItemPtr(0).Header.LastModDate;
    zip_.Options().OverwriteMode = omNever;
    setup_.AddSource("data.wqd", ToBytes("changed"));
    zip_.AddFiles("data.wqd");
    zip_.Options().OverwriteMode = omIfOlder;
    zip_.AddFiles("data.wqd");
    zip_.CloseArchive();
    EXPECT_EQ(ReadEntries(ReadFileBytes(setup_.archive))[0].data, ToBytes("data"));
    EXPECT_EQ(firstTime, ReadEntries(ReadFileBytes(setup_.archive))[0].central.LastModDate);

    TZipArchiver again;
    setup_.Prepare(again, ZAModeReadWrite);
    again.Options().OverwriteMode = omPrompt;
    std::vector<std::string> asked;
    again.OnConfirmOverwrite = [&](TObject*, const std::string& source, std::string& dest,
                                   bool& confirm) {
        asked.push_back(source + " > " + dest);
        confirm = true;
    };
    again.SetCompressionMode(0);
    again.AddFiles("data.wqd");
    again.CloseArchive();
    EXPECT_EQ(asked, NameList{setup_.Source("data.wqd") + " > data.wqd"});
    EXPECT_EQ(ReadEntries(ReadFileBytes(setup_.archive))[0].data, ToBytes("changed"));
}

TEST_F(AddFilesTest, IfNewerAndIfOlderReplaceByTheFileTimeAndFoldersCountAsNow)
{
    const auto longAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(200000);
    std::filesystem::last_write_time(setup_.Source("hollow"), longAgo);
    zip_.SetCompressionMode(0);
    setup_.Prepare(zip_);
    const auto addAll = [&] {
        zip_.BeginUpdate();
        zip_.AddFiles(setup_.Source("hollow"));
        zip_.AddFiles("data.wqd");
        zip_.AddFiles("notes.txt");
        zip_.EndUpdate();
    };
    addAll();
    // Every item dates from 1 January 2010 now.
    const std::uint16_t year2010 = ((2010 - 1980) << 9) | (1 << 5) | 1;
    TZADirArray& items = zip_.DirManager()->Items();
    for (int i = 0; i < items.Count(); ++i) {
        items.ItemPtr(i).Header.LastModDate = year2010;
    }
    setup_.AddSource("data.wqd", ToBytes("newer"));
    setup_.AddSource("notes.txt", ToBytes("older"));
    std::filesystem::last_write_time(setup_.Source("notes.txt"), longAgo);
    zip_.Options().OverwriteMode = omIfNewer;
    addAll();
    zip_.Options().OverwriteMode = omIfOlder;
    addAll();
    zip_.CloseArchive();
    const auto entries = ReadEntries(ReadFileBytes(setup_.archive));
    ASSERT_EQ(entries.size(), 3u);
    // A folder is stamped when it is entered, whatever its own time.
    EXPECT_GT(entries[0].central.LastModDate, year2010) << "the folder replaced as newer";
    EXPECT_EQ(entries[1].data, ToBytes("newer"));
    EXPECT_EQ(entries[2].data, ToBytes("older"));
}

TEST_F(AddFilesTest, HandlersRefuseAndRenameEntries)
{
    zip_.OnConfirmProcessFile = [](TObject*, const std::string& file, TZAProcessOperation,
                                   bool& confirm) { confirm = !file.ends_with("notes.txt"); };
    zip_.OnStoreFile = [](TObject*, std::string& name, std::uint32_t&, std::string& comment,
                          const std::string&) {
        EXPECT_EQ(name.find('/'), std::string::npos);
        name = "renamed\\" + name;
        comment = "c";
    };
    setup_.Prepare(zip_);
    zip_.AddFiles("*.*", faArchive);
    EXPECT_EQ(Names(),
              (NameList{"renamed/data.wqd", "renamed/sub/a.txt", "renamed/sub/deeper/b.wqd"}));
    zip_.CloseArchive();
    ExpectUnzipAccepts(setup_.archive);
}

TEST_F(AddFilesTest, NestedTransactionsWriteOnce)
{
    setup_.Prepare(zip_);
    int commits = 0;
    zip_.OnOverallProgress = [&](TObject*, double, TZAProcessOperation, TZAProgressPhase phase,
                                 bool&) { commits += phase == ppStart ? 1 : 0; };
    zip_.BeginUpdate();
    zip_.AddFiles("data.wqd");
    zip_.AddFiles("notes.txt");
    EXPECT_EQ(commits, 0);
    EXPECT_EQ(ReadFileBytes(setup_.archive).size(), 0u);
    zip_.EndUpdate();
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(NamesOnDisk(), (NameList{"data.wqd", "notes.txt"}));
}

TEST_F(AddFilesTest, ClosedOrReadOnlyArchivesRefuse)
{
    try {
        zip_.AddFiles("*");
        FAIL() << "no error";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.ErrorCode(), 13);
    }
    setup_.Prepare(zip_);
    zip_.CloseArchive();
    setup_.Prepare(zip_, ZAModeReadOnly);
    try {
        zip_.AddFiles("*");
        FAIL() << "no error";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.ErrorCode(), 32);
    }
    EXPECT_EQ(zip_.UpdateCount(), 0);
}

}  // namespace
