// Updating an existing archive in place: kept items keep their bytes, and a
// cancel, an abort or an exception during the commit leaves the old archive
// byte for byte, with no temporary file behind.

#include "tests/support/file_size_limit.h"
#include "tests/support/test_stream.h"
#include "tests/zip/error_codes.h"
#include "tests/zip/write_test_support.h"
#include "tests/zip/zip_builder.h"

namespace {

using namespace writetest;
using wqtest::TTestStream;

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setup_.AddSource("a.txt", ToBytes(XmlLikeText(20000, 1)));
        setup_.AddSource("b.txt", ToBytes(XmlLikeText(600000, 2)));
        setup_.AddSource("c.txt", ToBytes(XmlLikeText(30000, 3)));
        TZipArchiver zip;
        setup_.Prepare(zip);
        zip.AddFiles("*");
        zip.CloseArchive();
        old_ = ReadFileBytes(setup_.archive);
    }
    // Opens the archive written in SetUp for an update.
    void Open(TZipArchiver& zip) { setup_.Prepare(zip, ZAModeReadWrite); }
    void ExpectOldArchive()
    {
        EXPECT_TRUE(ReadFileBytes(setup_.archive) == old_) << "the archive changed";
        EXPECT_TRUE(setup_.TempFolderEmpty()) << "a temporary file is left";
    }
    ArchiveSetup setup_;
    za::Bytes old_;
};

// The bytes of an entry as it lies in the archive, local header included.
za::Bytes LocalRecord(const za::Bytes& archive, const std::string& name)
{
    for (const WrittenEntry& e : ReadEntries(archive)) {
        if (e.name == name) {
            za::Bytes record;
            e.local.Write(record);
            record.insert(record.end(), e.name.begin(), e.name.end());
            for (const auto& field : e.localExtra) {
                field.Write(record);
            }
            record.insert(record.end(), e.data.begin(), e.data.end());
            return record;
        }
    }
    return {};
}

TEST(UpdatePeerTest, InfoZipArchiveGainsOneFileAndReplacesAnother)
{
    if (!wqtest::HasProgram("zip")) {
        GTEST_SKIP() << "Info-ZIP zip is not installed";
    }
    ArchiveSetup setup;
    for (const char* name : {"one.txt", "two.txt", "three.txt"}) {
        setup.AddSource(name, ToBytes(XmlLikeText(40000, static_cast<unsigned>(name[1]))));
    }
    ASSERT_EQ(wqtest::Run("cd " + Quoted(setup.source) + " && zip -q " + Quoted(setup.archive) +
                          " one.txt two.txt three.txt"),
              0);
    const za::Bytes before = ReadFileBytes(setup.archive);
    setup.AddSource("two.txt", ToBytes(XmlLikeText(25000, 99)));
    setup.AddSource("four.txt", ToBytes(XmlLikeText(5000, 4)));
    TZipArchiver zip;
    setup.Prepare(zip, ZAModeReadWrite);
    bool backupMade = false;
    zip.OnFileProgress = [&](TObject*, const std::string&, double, TZAProcessOperation,
                             TZAProgressPhase,
                             bool&) { backupMade = backupMade || !setup.TempFolderEmpty(); };
    zip.BeginUpdate();
    zip.AddFiles("two.txt");
    zip.AddFiles("four.txt");
    zip.EndUpdate();
    zip.CloseArchive();
    EXPECT_TRUE(backupMade);
    EXPECT_TRUE(setup.TempFolderEmpty());
    const za::Bytes after = ReadFileBytes(setup.archive);
    for (const char* kept : {"one.txt", "three.txt"}) {
        EXPECT_EQ(LocalRecord(after, kept), LocalRecord(before, kept)) << kept;
    }
    std::vector<std::string> names;
    for (const WrittenEntry& e : ReadEntries(after)) {
        names.push_back(e.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"one.txt", "two.txt", "three.txt", "four.txt"}));
    ExpectUnzipAccepts(setup.archive);
    ExpectSevenZipAccepts(setup.archive);
    ExpectPythonReadsBack(setup.archive, setup.source);
}

// Names in UTF-8 (flag bit 11) and in a code page that other archivers wrote
// read the same in unzip, 7-Zip and Python after an update that moves them.
TEST(UpdatePeerTest, NamesThatOtherArchiversWroteAreKeptAsTheyWere)
{
    if (!wqtest::HasProgram("zip") || wqtest::SevenZipProgram().empty()) {
        GTEST_SKIP() << "Info-ZIP and 7-Zip write and judge the names";
    }
    const auto peerNames = [](const std::string& archive) {
        const std::string a = Quoted(archive);
        const std::string python =
            "import sys, zipfile; print(*map(ascii, zipfile.ZipFile("
            "sys.argv[1]).namelist()), sep='\\n')";
        return wqtest::RunWithOutput("LC_ALL=C.UTF-8 unzip -Z1 " + a + " && " +
                                     wqtest::SevenZipProgram() + " l -ba -slt " + a +
                                     " | grep -a '^Path = ' && python3 -c " + Quoted(python) + " " +
                                     a + " && echo listed")
            .output;
    };
    const std::string utf8 = "Grüße_日本.txt";
    const std::string page = "Straße.txt";
    // Python and 7-Zip flag names beyond ASCII as UTF-8; zip without a UTF-8
    // locale stores the bytes unflagged, as a code-page name.
    const std::string python =
        "import sys, zipfile; z = zipfile.ZipFile(sys.argv[1], 'w'); "
        "[z.write(name) for name in sys.argv[2:]]; z.close()";
    for (const std::string& writer : {"python3 -c " + Quoted(python),
                                      wqtest::SevenZipProgram() + " a", std::string("zip -q")}) {
        ArchiveSetup setup;
        // 0.txt comes first in every archive: replaced, it moves the others.
        for (const std::string& name : {std::string("0.txt"), utf8, page}) {
            setup.AddSource(name, ToBytes(name));
        }
        ASSERT_EQ(wqtest::Run("cd " + Quoted(setup.source) + " && " + writer + " " +
                              Quoted(setup.archive) + " 0.txt " + Quoted(utf8) + " " +
                              Quoted(page) + " >/dev/null"),
                  0)
            << writer;
        const std::string names = peerNames(setup.archive);
        EXPECT_NE(names.find("listed"), std::string::npos) << writer << names;
        setup.AddSource("0.txt", ToBytes("replaced"));
        TZipArchiver zip;
        setup.Prepare(zip, ZAModeReadWrite);
        zip.AddFiles("0.txt");
        zip.CloseArchive();
        EXPECT_EQ(peerNames(setup.archive), names) << writer;
    }
}

TEST_F(UpdateTest, AppendingCopiesNothingAndKeepsEveryOldByte)
{
    setup_.AddSource("d.txt", ToBytes("appended"));
    TZipArchiver zip;
    Open(zip);
    bool tempUsed = false;
    zip.OnFileProgress = [&](TObject*, const std::string&, double, TZAProcessOperation,
                             TZAProgressPhase,
                             bool&) { tempUsed = tempUsed || !setup_.TempFolderEmpty(); };
    zip.AddFiles("d.txt");
    zip.CloseArchive();
    EXPECT_FALSE(tempUsed);
    const za::Bytes after = ReadFileBytes(setup_.archive);
    const auto directoryStart = static_cast<std::ptrdiff_t>(ReadEntries(old_).back().dataEnd);
    ASSERT_GT(after.size(), old_.size());
    EXPECT_TRUE(std::equal(old_.begin(), old_.begin() + directoryStart, after.begin()));
    ExpectUnzipAccepts(setup_.archive);
    ExpectPythonReadsBack(setup_.archive, setup_.source);
}

TEST_F(UpdateTest, CancelAtTheStartOrInTheMiddleLeavesTheOldArchive)
{
    const struct {
        const char* when;
        TZAProgressPhase phase;
        int call;
    } cases[] = {{"start", ppStart, 1}, {"middle", ppProcess, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        setup_.AddSource("a.txt", ToBytes("replacement forces a backup"));
        TZipArchiver zip;
        Open(zip);
        int calls = 0;
        zip.OnOverallProgress = [&](TObject*, double, TZAProcessOperation, TZAProgressPhase phase,
                                    bool& cancel) {
            if (phase == c.phase && ++calls == c.call) {
                cancel = true;
            }
        };
        zip.BeginUpdate();
        zip.AddFiles("a.txt");
        zip.AddFiles("b.txt");
        zip.EndUpdate();
        EXPECT_EQ(zip.DirManager()->Items().Count(), 3);
        zip.CloseArchive();
        ExpectOldArchive();
    }
}

TEST_F(UpdateTest, ExceptionsDuringTheCommitRollBack)
{
    // A source stream that fails in the middle of the data.
    {
        setup_.AddSource("a.txt", ToBytes(XmlLikeText(2000000, 8)));
        TZipArchiver zip;
        Open(zip);
        zip.BeginUpdate();
        zip.AddFiles("a.txt");
        auto failing = std::make_shared<TTestStream>();
        const za::Bytes content = ToBytes(XmlLikeText(2000000, 8));
        failing->LoadFromBytes(content.data(), content.size());
        failing->FailAfter(3);
        zip.DirManager()->Items().ItemPtr(0).EditSource().SourceStream = failing;
        EXPECT_THROW(zip.EndUpdate(), EStreamError);
        EXPECT_EQ(zip.UpdateCount(), 0);
        zip.CloseArchive();
        ExpectOldArchive();
    }
    // A handler that throws once the items are written.
    {
        TZipArchiver zip;
        Open(zip);
        zip.OnOverallProgress = [](TObject*, double, TZAProcessOperation, TZAProgressPhase phase,
                                   bool&) {
            if (phase == ppProcess) {
                throw Exception("handler failed");
            }
        };
        EXPECT_THROW(zip.AddFiles("*.txt"), Exception);
        EXPECT_EQ(zip.DirManager()->Items().Count(), 3);
        zip.CloseArchive();
        ExpectOldArchive();
    }
    // A handler that throws before anything is written; the next update works.
    {
        TZipArchiver zip;
        Open(zip);
        zip.OnOverallProgress = [](TObject*, double, TZAProcessOperation, TZAProgressPhase phase,
                                   bool&) {
            if (phase == ppStart) {
                throw Exception("handler failed");
            }
        };
        setup_.AddSource("d.txt", ToBytes("d"));
        EXPECT_THROW(zip.AddFiles("d.txt"), Exception);
        EXPECT_EQ(zip.DirManager()->Items().Count(), 3);
        ExpectOldArchive();
        zip.OnOverallProgress = nullptr;
        zip.AddFiles("d.txt");
        zip.CloseArchive();
        EXPECT_EQ(ReadEntries(ReadFileBytes(setup_.archive)).size(), 4u);
        ExpectUnzipAccepts(setup_.archive);
    }
}

TEST_F(UpdateTest, ASourceThatCannotBeOpenedIsRetriedIgnoredOrAborts)
{
    for (const TZAAction answer : {fxaIgnore, fxaAbort, fxaRetry}) {
        SCOPED_TRACE(static_cast<int>(answer));
        setup_.AddSource("new.txt", ToBytes("new"));
        setup_.AddSource("gone.txt", ToBytes("gone"));
        TZipArchiver zip;
        Open(zip);
        std::vector<int> codes;
        zip.OnProcessFileFailure = [&](TObject*, const std::string& file, TZAProcessOperation,
                                       int nativeError, int, const std::string& message,
                                       TZAAction& action) {
            codes.push_back(nativeError);
            EXPECT_NE(message.find(file), std::string::npos) << message;
            action = answer;
            if (answer == fxaRetry) {
                // The second time round the file is back.
                std::filesystem::remove(setup_.Source("gone.txt"));
                setup_.AddSource("gone.txt", ToBytes("back"));
            }
        };
        zip.BeginUpdate();
        zip.AddFiles("new.txt");
        zip.AddFiles("gone.txt");
        // Vanished since the search, and in its place a folder.
        std::filesystem::remove(setup_.Source("gone.txt"));
        std::filesystem::create_directory(setup_.Source("gone.txt"));
        zip.EndUpdate();
        zip.CloseArchive();
        EXPECT_EQ(codes, std::vector<int>{33});
        EXPECT_TRUE(setup_.TempFolderEmpty());
        if (answer == fxaAbort) {
            ExpectOldArchive();
        } else {
            std::vector<std::string> names;
            for (const WrittenEntry& e : ReadEntries(ReadFileBytes(setup_.archive))) {
                names.push_back(e.name);
            }
            std::vector<std::string> expected = {"a.txt", "b.txt", "c.txt", "new.txt"};
            if (answer == fxaRetry) {
                expected.push_back("gone.txt");
            }
            EXPECT_EQ(names, expected);
            ExpectUnzipAccepts(setup_.archive);
        }
        std::filesystem::remove_all(setup_.Source("gone.txt"));
        WriteFileBytes(setup_.archive, old_);
    }
}

TEST_F(UpdateTest, ADirectoryOutOfFileOrderLosesNoItem)
{
    // The directory lists c.txt, a.txt, b.txt while the file holds a, b, c.
    const auto entries = ReadEntries(old_);
    const std::size_t directoryStart = entries.back().dataEnd;
    std::vector<za::Bytes> records;
    for (std::size_t at = directoryStart; records.size() < entries.size();) {
        const auto header = *TZACentralHeader::Read(TZAByteSpan(old_).subspan(at));
        const std::size_t size = TZACentralHeader::Size + header.FileNameLength +
                                 header.ExtraFieldLength + header.FileCommentLength;
        records.emplace_back(old_.begin() + static_cast<std::ptrdiff_t>(at),
                             old_.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    }
    za::Bytes reordered(old_.begin(), old_.begin() + static_cast<std::ptrdiff_t>(directoryStart));
    for (const std::size_t i : {2u, 0u, 1u}) {
        reordered.insert(reordered.end(), records[i].begin(), records[i].end());
    }
    reordered.insert(reordered.end(), old_.end() - TZAEndRecord::Size, old_.end());
    WriteFileBytes(setup_.archive, reordered);
    setup_.AddSource("a.txt", ToBytes("replaced"));
    TZipArchiver zip;
    Open(zip);
    zip.AddFiles("a.txt");
    zip.CloseArchive();
    ExpectUnzipAccepts(setup_.archive);
    ExpectPythonReadsBack(setup_.archive, setup_.source);
    EXPECT_EQ(ReadEntries(ReadFileBytes(setup_.archive)).size(), 3u);
}

TEST_F(UpdateTest, AResetTransactionWritesNothingAndForgetsItsEntries)
{
    setup_.AddSource("d.txt", ToBytes("d"));
    TZipArchiver zip;
    Open(zip);
    zip.BeginUpdate();
    zip.AddFiles("d.txt");
    EXPECT_EQ(zip.DirManager()->Items().Count(), 4);
    zip.ResetUpdateCount();
    EXPECT_EQ(zip.DirManager()->Items().Count(), 3);
    zip.CloseArchive();
    ExpectOldArchive();
}

TEST_F(UpdateTest, ADamagedArchiveIsRebuiltThenUpdatedIntoAValidOne)
{
    // The directory and end record are gone: the items come from the local headers.
    const auto directoryStart = static_cast<std::ptrdiff_t>(ReadEntries(old_).back().dataEnd);
    WriteFileBytes(setup_.archive, za::Bytes(old_.begin(), old_.begin() + directoryStart + 30));
    setup_.AddSource("d.txt", ToBytes("after the damage"));
    TZipArchiver zip;
    Open(zip);
    EXPECT_TRUE(zip.DirManager()->Rebuilt());
    EXPECT_EQ(zip.DirManager()->Items().Count(), 3);
    zip.AddFiles("d.txt");
    zip.AddFiles("a.txt");
    zip.CloseArchive();
    ExpectUnzipAccepts(setup_.archive);
    ExpectSevenZipAccepts(setup_.archive);
    ExpectPythonReadsBack(setup_.archive, setup_.source);
}

TEST_F(UpdateTest, AnItemWhoseOldDataAreMissingFailsClearlyAndKeepsTheFile)
{
    // The directory says b.txt starts where no local header is.
    za::Bytes broken = old_;
    broken[ReadEntries(old_)[1].localOffset] ^= 0xFF;
    WriteFileBytes(setup_.archive, broken);
    old_ = broken;
    setup_.AddSource("a.txt", ToBytes("replace the first"));
    TZipArchiver zip;
    Open(zip);
    try {
        zip.AddFiles("a.txt");
        FAIL() << "no error";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.ErrorCode(), 35);
    }
    zip.CloseArchive();
    ExpectOldArchive();
}

TEST_F(UpdateTest, ASourceShorterThanItsSizeFailsWith34AndALateCancelIsIgnored)
{
    setup_.AddSource("d.txt", ToBytes("d"));
    setup_.AddSource("e.txt", ToBytes("e"));
    TZipArchiver zip;
    Open(zip);
    std::string failures;
    zip.OnProcessFileFailure = [&](TObject*, const std::string&, TZAProcessOperation, int, int,
                                   const std::string& message, TZAAction& action) {
        failures += message;
        action = fxaIgnore;
    };
    // The last progress call comes once the new archive is in place.
    TZAProgressPhase last = ppStart;
    zip.OnOverallProgress = [&](TObject*, double, TZAProcessOperation, TZAProgressPhase phase,
                                bool& cancel) { cancel = (last = phase) == ppEnd; };
    zip.BeginUpdate();
    zip.AddFiles("d.txt");
    zip.AddFiles("e.txt");
    // e.txt claims 1000 bytes and gives 600 before it runs dry.
    auto source = std::make_shared<TTestStream>();
    source->SetSize(1000);
    source->SetReadLimit(600);
    zip.DirManager()->Items().ItemPtr(4).EditSource().SourceStream = source;
    zip.EndUpdate();
    EXPECT_EQ(last, ppEnd);
    EXPECT_FALSE(zip.Cancelled());
    zip.CloseArchive();
    EXPECT_EQ(failures,
              "Invalid compressed size, rfs.size = 1000, count = 0 - Native error: 00034");
    EXPECT_EQ(ReadEntries(ReadFileBytes(setup_.archive)).size(), 4u) << "d.txt only added";
}

TEST_F(UpdateTest, AFullDiskDuringAnItemRollsBackToTheOldArchive)
{
    // The new first item does not fit while the items behind it wait in a
    // backup; without a handler a single file has no other disk to offer, and
    // the update fails with the system's reason.
    setup_.AddSource("a.txt", NoiseBytes(400000));
    TZipArchiver zip;
    Open(zip);
    std::string error;
    {
        wqtest::ScopedFileSizeLimit limit(old_.size() + 100000);
        try {
            zip.AddFiles("a.txt");
        } catch (const EStreamError& e) {
            error = e.what();
        }
    }
    EXPECT_EQ(error, "Cannot write file \"" + setup_.archive + "\". File too large");
    EXPECT_EQ(zip.UpdateCount(), 0);
    zip.CloseArchive();
    ExpectOldArchive();
}

TEST_F(UpdateTest, AKeptItemMissingFromTheSnapshotFailsWith7AndRollsBack)
{
    setup_.AddSource("d.txt", ToBytes("d"));
    TZipArchiver zip;
    Open(zip);
    zip.BeginUpdate();
    zip.AddFiles("d.txt");
    // An item renamed behind the transaction's back has no old record.
    zip.DirManager()->Items().Rename(1, "elsewhere.txt");
    EXPECT_EQ(zatest::ErrorCodeOf([&] { zip.EndUpdate(); }), 7);
    EXPECT_EQ(zip.DirManager()->Items().ItemPtr(1).FileName(), "b.txt");
    zip.CloseArchive();
    ExpectOldArchive();
}

TEST(UpdateDuplicateNamesTest, KeptItemsOfOneNameKeepTheirOwnData)
{
    ArchiveSetup setup;
    WriteFileBytes(setup.archive, zatest::BuildZip({{"x.txt", "old x", false, ""},
                                                    {"a.txt", "first", false, ""},
                                                    {"a.txt", "second", false, ""}}));
    setup.AddSource("x.txt", ToBytes("new x"));
    TZipArchiver zip;
    setup.Prepare(zip, ZAModeReadWrite);
    zip.SetCompressionMode(0);
    zip.AddFiles("x.txt");
    zip.CloseArchive();
    std::vector<std::string> entries;
    for (const WrittenEntry& e : ReadEntries(ReadFileBytes(setup.archive))) {
        entries.push_back(e.name + "=" + std::string(e.data.begin(), e.data.end()));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"x.txt=new x", "a.txt=first", "a.txt=second"}));
}

TEST_F(UpdateTest, ClosingOrFreeingWithAFailingCommitKeepsTheOldArchiveSilently)
{
    setup_.AddSource("a.txt", ToBytes("replaced"));
    for (const bool freeing : {false, true}) {
        auto zip = std::make_unique<TZipArchiver>();
        Open(*zip);
        zip->BeginUpdate();
        zip->AddFiles("a.txt");
        zip->OnOverallProgress = [](TObject*, double, TZAProcessOperation, TZAProgressPhase phase,
                                    bool&) {
            if (phase == ppProcess) {
                throw Exception("handler failed");
            }
        };
        EXPECT_NO_THROW(freeing ? zip.reset() : zip->CloseArchive()) << freeing;
        EXPECT_TRUE(!zip || !zip->Active());
        zip.reset();
        ExpectOldArchive();
    }
}

TEST(UpdateMoveTest, MovedSourcesAreDeletedOnceStoredAndFailuresAreReported)
{
    ArchiveSetup setup;
    setup.AddSource("moved.txt", ToBytes("moved"));
    setup.AddSource("kept/inside.txt", ToBytes("stays, so the folder cannot go"));
    TZipArchiver zip;
    std::vector<int> codes;
    zip.OnProcessFileFailure = [&](TObject*, const std::string&, TZAProcessOperation operation,
                                   int nativeError, int, const std::string&, TZAAction& action) {
        EXPECT_EQ(operation, poMove);
        codes.push_back(nativeError);
        action = fxaIgnore;
    };
    setup.Prepare(zip);
    zip.BeginUpdate();
    zip.AddFiles("moved.txt");
    zip.AddFiles("kept", faDirectory);
    TZADirArray& items = zip.DirManager()->Items();
    ASSERT_EQ(items.Count(), 2);
    for (int i = 0; i < items.Count(); ++i) {
        items.ItemPtr(i).Operation = poMove;
    }
    zip.EndUpdate();
    zip.CloseArchive();
    EXPECT_FALSE(std::filesystem::exists(setup.Source("moved.txt")));
    EXPECT_TRUE(std::filesystem::exists(setup.Source("kept/inside.txt")));
    EXPECT_EQ(codes, std::vector<int>{60});
    EXPECT_EQ(ReadEntries(ReadFileBytes(setup.archive)).size(), 2u);
}

TEST(UpdateSplitTest, ASplitArchiveTakesOneTransactionOnly)
{
    ArchiveSetup setup;
    setup.AddSource("a.txt", NoiseBytes(150000));
    TZipArchiver zip;
    zip.SetName("Zip1");
    zip.SetFileName(setup.archive);
    zip.SetTempDir(setup.temp);
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions().VolumeSize = vsCustom;
    zip.SpanningOptions().SetCustomVolumeSize(65536);
    zip.OpenArchive(ZAModeCreate);
    zip.SetBaseDir(setup.source);
    zip.AddFiles("a.txt");
    EXPECT_EQ(zip.OpenMode(), ZAModeReadWrite);
    EXPECT_TRUE(setup.TempFolderEmpty());
    try {
        zip.AddFiles("a.txt");
        FAIL() << "no error";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.ErrorCode(), 52);
    }
    try {
        zip.BeginUpdate();
        FAIL() << "no error";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.ErrorCode(), 62);
        // Raised without the component: no name in front.
        EXPECT_EQ(std::string(e.what()).rfind("Multiple transactions", 0), 0u) << e.what();
    }
    zip.CloseArchive();

    // Opened again, the set still takes no change.
    setup.Prepare(zip, ZAModeReadWrite);
    EXPECT_EQ(zatest::ErrorCodeOf([&] { zip.AddFiles("a.txt"); }), 52);
    EXPECT_EQ(zatest::ErrorCodeOf([&] { zip.BeginUpdate(); }), 62);
    zip.CloseArchive();
}

}  // namespace
