// Archives that other archivers wrote, with names in UTF-8 (flag bit 11) and in
// a code page, keep every old name as it was when files are added and
// replaced: each peer lists the same names afterwards.

#include <sstream>

#include "tests/zip/write_test_support.h"

namespace {

using namespace writetest;
using NameList = std::vector<std::string>;

const std::string kUtf8Name =
    "Gr\xC3\xBC\xC3\x9F"
    "e_\xE6\x97\xA5\xE6\x9C\xAC.txt";  // Grüße_日本.txt
const std::string kPageName =
    "Stra\xC3\x9F"
    "e.txt";  // Straße.txt

NameList Lines(const std::string& text, const std::string& prefix = "")
{
    NameList lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line.substr(prefix.size()));
        }
    }
    return lines;
}

// The names as unzip, 7-Zip and Python's zipfile list them, one list per peer.
std::vector<NameList> PeerNames(const std::string& archive)
{
    std::vector<NameList> lists;
    const auto unzip = wqtest::RunWithOutput("LC_ALL=C.UTF-8 unzip -Z1 " + Quoted(archive));
    EXPECT_EQ(unzip.exitCode, 0) << unzip.output;
    lists.push_back(Lines(unzip.output));
    const auto seven =
        wqtest::RunWithOutput(wqtest::SevenZipProgram() + " l -ba -slt " + Quoted(archive));
    EXPECT_EQ(seven.exitCode, 0) << seven.output;
    lists.push_back(Lines(seven.output, "Path = "));
    const auto python = wqtest::RunWithOutput(
        "python3 -c " +
        Quoted("import sys, zipfile\n"
               "for i in zipfile.ZipFile(sys.argv[1]).infolist(): print(ascii(i.filename))\n") +
        " " + Quoted(archive));
    EXPECT_EQ(python.exitCode, 0) << python.output;
    lists.push_back(Lines(python.output));
    return lists;
}

// A central record as it stands, but for where its local header lies.
za::Bytes CentralRecordAnywhere(const WrittenEntry& e)
{
    TZACentralHeader header = e.central;
    header.LocalHeaderOffset = 0;
    za::Bytes record;
    header.Write(record);
    record.insert(record.end(), e.name.begin(), e.name.end());
    for (const auto& field : e.centralExtra) {
        field.Write(record);
    }
    return record;
}

class KeptNamesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!wqtest::HasProgram("unzip") || wqtest::SevenZipProgram().empty() ||
            !wqtest::HasProgram("python3")) {
            GTEST_SKIP() << "unzip, 7-Zip and Python judge the names";
        }
        setup_.AddSource(kUtf8Name, ToBytes("utf-8 name"));
        setup_.AddSource("plain.txt", ToBytes("plain"));
        setup_.AddSource(kPageName, ToBytes("code page name"));
    }

    // Replaces plain.txt, so that the items behind it move, and adds a file;
    // every old name reads back unchanged in every peer and in the records.
    void ExpectNamesKeptByAnUpdate()
    {
        const za::Bytes before = ReadFileBytes(setup_.archive);
        auto expected = PeerNames(setup_.archive);
        setup_.AddSource("plain.txt", ToBytes("replaced"));
        setup_.AddSource("new.txt", ToBytes("added"));
        TZipArchiver zip;
        setup_.Prepare(zip, ZAModeReadWrite);
        zip.BeginUpdate();
        zip.AddFiles("plain.txt");
        zip.AddFiles("new.txt");
        zip.EndUpdate();
        zip.CloseArchive();

        const auto after = PeerNames(setup_.archive);
        ASSERT_EQ(after.size(), expected.size());
        for (std::size_t peer = 0; peer < after.size(); ++peer) {
            expected[peer].push_back(peer == 2 ? "'new.txt'" : "new.txt");
            EXPECT_EQ(after[peer], expected[peer]) << "peer " << peer;
        }
        const auto old = ReadEntries(before);
        const auto now = ReadEntries(ReadFileBytes(setup_.archive));
        ASSERT_EQ(now.size(), old.size() + 1);
        for (std::size_t i = 0; i < old.size(); ++i) {
            if (old[i].name != "plain.txt") {
                EXPECT_EQ(CentralRecordAnywhere(now[i]), CentralRecordAnywhere(old[i])) << i;
            }
        }
        ExpectUnzipAccepts(setup_.archive);
        ExpectSevenZipAccepts(setup_.archive);
    }

    ArchiveSetup setup_;
};

TEST_F(KeptNamesTest, FromPython)
{
    // Python flags names beyond ASCII as UTF-8; the code-page name is forced.
    const std::string script =
        "import sys, zipfile\n"
        "class CodePage(zipfile.ZipInfo):\n"
        "    def _encodeFilenameFlags(self):\n"
        "        return self.filename.encode('cp437'), self.flag_bits\n"
        "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
        "    z.writestr(sys.argv[2], 'utf-8 name')\n"
        "    z.writestr('plain.txt', 'plain')\n"
        "    z.writestr(CodePage(sys.argv[3]), 'code page name')\n";
    ASSERT_EQ(wqtest::Run("python3 -c " + Quoted(script) + " " + Quoted(setup_.archive) + " " +
                          Quoted(kUtf8Name) + " " + Quoted(kPageName)),
              0);
    const auto entries = ReadEntries(ReadFileBytes(setup_.archive));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].central.Flags & ZAFlagUtf8Name, ZAFlagUtf8Name);
    EXPECT_EQ(entries[2].name,
              "Stra\xE1"
              "e.txt");
    ExpectNamesKeptByAnUpdate();
}

TEST_F(KeptNamesTest, FromSevenZip)
{
    ASSERT_EQ(wqtest::Run("cd " + Quoted(setup_.source) + " && " + wqtest::SevenZipProgram() +
                          " a -bd " + Quoted(setup_.archive) + " " + Quoted(kUtf8Name) +
                          " plain.txt " + Quoted(kPageName) + " >/dev/null"),
              0);
    ExpectNamesKeptByAnUpdate();
}

TEST_F(KeptNamesTest, FromInfoZip)
{
    if (!wqtest::HasProgram("zip")) {
        GTEST_SKIP() << "Info-ZIP zip is not installed";
    }
    // Without a UTF-8 locale of its own, zip stores the bytes unflagged, as
    // a code-page name, with its time and owner fields.
    ASSERT_EQ(wqtest::Run("cd " + Quoted(setup_.source) + " && zip -q " + Quoted(setup_.archive) +
                          " " + Quoted(kUtf8Name) + " plain.txt " + Quoted(kPageName)),
              0);
    ExpectNamesKeptByAnUpdate();
}

}  // namespace
