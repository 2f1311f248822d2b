// How an update ends when something goes wrong on the way: a source shorter
// than it said, a full disk, a kept item that cannot be found, a commit that
// fails while the archive is closed or freed, and a cancel that comes too
// late to matter.

#include <csignal>
#include <sys/resource.h>

#include "tests/support/test_stream.h"
#include "tests/zip/error_codes.h"
#include "tests/zip/update_test_support.h"

namespace {

using namespace writetest;
using wqtest::TTestStream;

std::vector<std::string> NamesIn(const std::string& archive)
{
    std::vector<std::string> names;
    for (const WrittenEntry& e : ReadEntries(ReadFileBytes(archive))) {
        names.push_back(e.name);
    }
    return names;
}

TEST_F(UpdateTest, ASourceShorterThanItsSizeFailsWith34AndCanBeLeftOut)
{
    setup_.AddSource("d.txt", ToBytes("d"));
    TZipArchiver zip;
    Open(zip);
    std::vector<std::string> failures;
    zip.OnProcessFileFailure = [&](TObject*, const std::string&, TZAProcessOperation,
                                   int nativeError, int, const std::string& message,
                                   TZAAction& action) {
        failures.push_back(std::to_string(nativeError) + " " + message);
        action = fxaIgnore;
    };
    zip.BeginUpdate();
    zip.AddFiles("d.txt");
    // The source claims 1000 bytes and gives 600 before it runs dry.
    auto shortSource = std::make_shared<TTestStream>();
    const za::Bytes content = ToBytes(XmlLikeText(1000, 5));
    shortSource->LoadFromBytes(content.data(), content.size());
    shortSource->SetReadLimit(600);
    zip.DirManager()->Items().ItemPtr(3).SourceStream = shortSource;
    zip.EndUpdate();
    zip.CloseArchive();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0],
              "34 Invalid compressed size, rfs.size = 1000, count = 0 - Native error: 00034");
    EXPECT_EQ(NamesIn(setup_.archive), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    ExpectUnzipAccepts(setup_.archive);
    EXPECT_TRUE(setup_.TempFolderEmpty());
}

// Files of this process stop growing at the limit, as on a full disk; the
// signal that would end the process is ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        Set(bytes);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    void Set(rlim_t bytes)
    {
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    void Lift() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST_F(UpdateTest, AFullDiskDuringAnItemRollsBackOrGoesOnOnceThereIsRoom)
{
    // A replaced first item moves the rest through a backup; its new data
    // do not fit the room left.
    setup_.AddSource("a.txt", NoiseBytes(400000));
    {
        TZipArchiver zip;
        Open(zip);
        FileSizeLimit limit(old_.size() + 100000);
        zip.AddFiles("a.txt");
        // Without a handler a single file's full disk answers Cancel.
        EXPECT_TRUE(zip.Cancelled());
        zip.CloseArchive();
    }
    ExpectOldArchive();

    // A handler that makes room lets the same write go on.
    TZipArchiver zip;
    Open(zip);
    FileSizeLimit limit(old_.size() + 100000);
    int asked = 0;
    zip.OnDiskFull = [&](TObject*, int volume, const std::string& name, bool& cancel) {
        EXPECT_EQ(volume, 0);
        EXPECT_EQ(name, setup_.archive);
        ++asked;
        limit.Lift();
        cancel = false;
    };
    zip.AddFiles("a.txt");
    zip.CloseArchive();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(NamesIn(setup_.archive), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    ExpectPythonReadsBack(setup_.archive, setup_.source);
    EXPECT_TRUE(setup_.TempFolderEmpty());
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
    EXPECT_EQ(zip.DirManager()->Items().ItemPtr(1).FileName, "b.txt");
    zip.CloseArchive();
    ExpectOldArchive();
}

TEST_F(UpdateTest, ClosingOrFreeingWithAFailingCommitKeepsTheOldArchiveSilently)
{
    setup_.AddSource("a.txt", ToBytes("replaced"));
    const auto failAtTheFirstChunk = [](TObject*, double, TZAProcessOperation,
                                        TZAProgressPhase phase, bool&) {
        if (phase == ppProcess) {
            throw Exception("handler failed");
        }
    };
    for (const bool freeing : {false, true}) {
        SCOPED_TRACE(freeing ? "freeing" : "closing");
        auto zip = std::make_unique<TZipArchiver>();
        Open(*zip);
        zip->BeginUpdate();
        zip->AddFiles("a.txt");
        zip->OnOverallProgress = failAtTheFirstChunk;
        if (freeing) {
            EXPECT_NO_THROW(zip.reset());
        } else {
            EXPECT_NO_THROW(zip->CloseArchive());
            EXPECT_FALSE(zip->Active());
        }
        zip.reset();
        ExpectOldArchive();
    }
}

TEST_F(UpdateTest, ACancelAtTheLastProgressCallComesTooLateToUndoTheCommit)
{
    setup_.AddSource("d.txt", ToBytes("d"));
    TZipArchiver zip;
    Open(zip);
    std::vector<TZAProgressPhase> phases;
    zip.OnOverallProgress = [&](TObject*, double, TZAProcessOperation, TZAProgressPhase phase,
                                bool& cancel) {
        phases.push_back(phase);
        cancel = phase == ppEnd;
    };
    zip.AddFiles("d.txt");
    EXPECT_FALSE(zip.Cancelled());
    zip.CloseArchive();
    ASSERT_FALSE(phases.empty());
    EXPECT_EQ(phases.back(), ppEnd);
    EXPECT_EQ(NamesIn(setup_.archive),
              (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt"}));
    ExpectUnzipAccepts(setup_.archive);
}

}  // namespace
