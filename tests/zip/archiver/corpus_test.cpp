// Third-party test archives: opening each read-only gives the items its
// MANIFEST row lists, or fails with an archiver error where the row says the
// archive must not open. Python's zipfile, where it reads an archive, gives
// the names and sizes to compare with.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"
#include "zip/archiver/ZipArchiver.h"

namespace {

struct ManifestRow {
    std::string File;  // "container!inner" for archives inside another
    std::string Verdict;
    std::string Expect;
    bool PythonReads = false;
};

struct PeerEntry {
    std::string Name;
    std::uint64_t Size = 0;
    bool NameComparable = false;  // ASCII or flagged UTF-8: both read it alike
};

// What opening gave: the items, or the archiver error code.
struct OpenResult {
    int ErrorCode = 0;
    bool Rebuilt = false;
    // The last volume of a split or spanned set: it lists the set's items and
    // takes no change.
    bool SetVolume = false;
    std::vector<std::string> Names;
    std::vector<std::uint64_t> Sizes;
};

std::string CorpusFolder()
{
    const char* source = std::getenv("WQ_SOURCE_DIR");
    const std::string folder = std::string(source ? source : ".") + "/../shared/zip-corpus";
    return std::filesystem::exists(folder + "/MANIFEST.tsv") ? folder : "";
}

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

// Extracts the archives held in containers and lists every archive Python
// reads: one line per entry, file, hex of the name, size, name comparable.
const char* kPythonOracle = R"(import sys, zipfile, os
corpus, out, listing = sys.argv[1], sys.argv[2], sys.argv[3]
with open(listing, 'w') as result:
    for key in sys.stdin.read().split('\n'):
        if not key:
            continue
        path = os.path.join(corpus, key)
        if '!' in key:
            outer, inner = key.split('!')
            path = os.path.join(out, inner)
            with zipfile.ZipFile(os.path.join(corpus, outer)) as z, open(path, 'wb') as f:
                f.write(z.read(inner))
        try:
            with zipfile.ZipFile(path) as z:
                for i in z.infolist():
                    same = i.filename.isascii() or (i.flag_bits & 0x800) != 0
                    result.write('%s\t%s\t%d\t%d\n' % (key, i.filename.encode('utf-8').hex(), i.file_size, same))
        except Exception:
            pass
)";

class CorpusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        corpus_ = CorpusFolder();
        if (corpus_.empty() || !wqtest::HasProgram("python3")) {
            return;
        }
        work_ = std::make_unique<wqtest::TempFolder>();
        std::ifstream manifest(corpus_ + "/MANIFEST.tsv");
        std::string line;
        std::getline(manifest, line);
        std::string keys;
        while (std::getline(manifest, line)) {
            const auto fields = SplitTabs(line);
            if (fields.size() < 7) {
                continue;
            }
            rows_.push_back(
                {fields[0], fields[3], fields[4], fields[6].find("py=0") != std::string::npos});
            keys += fields[0] + "\n";
        }
        wqtest::WriteTextFile(*work_ / "oracle.py", kPythonOracle);
        wqtest::WriteTextFile(*work_ / "keys.txt", keys);
        wqtest::Run("python3 " + wqtest::Quoted(*work_ / "oracle.py") + " " +
                    wqtest::Quoted(corpus_) + " " + wqtest::Quoted(work_->Path()) + " " +
                    wqtest::Quoted(*work_ / "listing.tsv") + " < " +
                    wqtest::Quoted(*work_ / "keys.txt"));
        std::ifstream listing(*work_ / "listing.tsv");
        while (std::getline(listing, line)) {
            const auto fields = SplitTabs(line);
            peers_[fields[0]].push_back(
                {FromHex(fields[1]), std::stoull(fields[2]), fields[3] == "1"});
        }
    }
    static void TearDownTestSuite() { work_.reset(); }

    void SetUp() override
    {
        if (corpus_.empty()) {
            GTEST_SKIP() << "the zip corpus is not there";
        }
        if (!work_) {
            GTEST_SKIP() << "python3 is not installed";
        }
    }

    static std::string PathOf(const std::string& key)
    {
        const auto bang = key.find('!');
        return bang == std::string::npos ? corpus_ + "/" + key : *work_ / key.substr(bang + 1);
    }

    static OpenResult Open(const std::string& key, bool tolerant)
    {
        OpenResult result;
        TZipArchiver zip;
        zip.SetFileName(PathOf(key));
        zip.SetTolerateDamage(tolerant);
        try {
            zip.OpenArchive(ZAModeReadOnly);
        } catch (const EZAException& e) {
            result.ErrorCode = e.ErrorCode();
            return result;
        }
        result.Rebuilt = zip.DirManager()->Rebuilt();
        result.SetVolume = zip.SpanningMode() != smNone;
        auto& items = zip.DirManager()->Items();
        for (int i = 0; i < items.Count(); ++i) {
            result.Names.push_back(std::string(items.ItemPtr(i).FileName()));
            result.Sizes.push_back(items.ItemPtr(i).UncompressedSize());
        }
        return result;
    }

    // The N of "list N" or "container of N" in the expect column.
    static std::optional<std::size_t> ListedCount(const std::string& expect)
    {
        std::smatch match;
        if (std::regex_search(expect, match, std::regex(R"((?:list|container of) (\d+))"))) {
            return std::stoul(match[1]);
        }
        return std::nullopt;
    }

    static void ExpectAsPythonLists(const ManifestRow& row, const OpenResult& result)
    {
        const auto found = peers_.find(row.File);
        if (!row.PythonReads || row.Verdict == "DIVERGENT" || found == peers_.end()) {
            return;
        }
        const auto& entries = found->second;
        ASSERT_EQ(result.Names.size(), entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(result.Sizes[i], entries[i].Size) << entries[i].Name;
            if (entries[i].NameComparable) {
                EXPECT_EQ(result.Names[i], entries[i].Name);
            }
        }
    }

    static inline std::string corpus_;
    static inline std::unique_ptr<wqtest::TempFolder> work_;
    static inline std::vector<ManifestRow> rows_;
    static inline std::map<std::string, std::vector<PeerEntry>> peers_;
};

bool MustOpen(const std::string& verdict)
{
    return verdict == "OK" || verdict == "OK-PASSWORD" || verdict == "OK-METHOD" ||
           verdict == "ENTRY-ERROR" || verdict == "DIVERGENT";
}

TEST_F(CorpusTest, ArchivesThatMustOpenListTheirItems)
{
    int checked = 0;
    for (const auto& row : rows_) {
        if (!MustOpen(row.Verdict)) {
            continue;
        }
        SCOPED_TRACE(row.File);
        ++checked;
        const OpenResult tolerant = Open(row.File, true);
        ASSERT_EQ(tolerant.ErrorCode, 0);
        if (const auto count = ListedCount(row.Expect)) {
            EXPECT_EQ(tolerant.Names.size(), *count);
        }
        ExpectAsPythonLists(row, tolerant);
        // Strictly, only a directory that had to be rebuilt fails to open.
        const OpenResult strict = Open(row.File, false);
        if (tolerant.Rebuilt) {
            EXPECT_EQ(strict.ErrorCode, 48);
        } else {
            EXPECT_EQ(strict.ErrorCode, 0);
            EXPECT_EQ(strict.Names, tolerant.Names);
        }
    }
    EXPECT_GT(checked, 100);
}

TEST_F(CorpusTest, RejectedArchivesFailOrOpenOnlyRebuiltOrAsASetVolume)
{
    for (const auto& row : rows_) {
        if (row.Verdict != "REJECT") {
            continue;
        }
        SCOPED_TRACE(row.File);
        const OpenResult strict = Open(row.File, false);
        EXPECT_TRUE(strict.ErrorCode != 0 || strict.SetVolume);
        const OpenResult tolerant = Open(row.File, true);
        EXPECT_TRUE(tolerant.ErrorCode != 0 || tolerant.Rebuilt || tolerant.SetVolume);
    }
}

TEST_F(CorpusTest, DoubtfulArchivesOpenOrFailWithAnArchiverError)
{
    for (const auto& row : rows_) {
        if (row.Verdict != "STRICT-OR-LENIENT" && row.Verdict != "RECOVER") {
            continue;
        }
        SCOPED_TRACE(row.File);
        for (const bool tolerant : {false, true}) {
            const OpenResult result = Open(row.File, tolerant);
            EXPECT_TRUE(result.ErrorCode != 0 || result.Names.size() == result.Sizes.size());
        }
    }
}

TEST_F(CorpusTest, ArchiveInTheCommentOfAnotherIsNotTakenForIt)
{
    OpenResult result = Open("libzip-zip-in-archive-comment.zip", false);
    EXPECT_EQ(result.Names, std::vector<std::string>{"test"});
    EXPECT_EQ(result.Sizes, std::vector<std::uint64_t>{5});
    result = Open("libzip-zip64-in-archive-comment.zip", false);
    EXPECT_EQ(result.Names, std::vector<std::string>{"testfile.txt"});
    EXPECT_EQ(result.Sizes, std::vector<std::uint64_t>{0});
}

TEST_F(CorpusTest, SizesTheManifestNames)
{
    OpenResult result = Open("go-test.zip", false);
    EXPECT_EQ(result.Names, (std::vector<std::string>{"test.txt", "gophercolor16x16.png"}));
    EXPECT_EQ(result.Sizes, (std::vector<std::uint64_t>{26, 785}));
    result = Open("libzip-bigzero-zip.zip!bigzero.zip", false);
    EXPECT_EQ(result.Sizes, std::vector<std::uint64_t>{4294967296ull});
    result = Open("libzip-manyfiles-zip.zip!manyfiles-133000.zip", false);
    EXPECT_EQ(result.Names.size(), 133000u);
}

}  // namespace
