// The files Save As leaves: names this platform allows, long names, and a zip
// copy that fails, with unnamed temporary files and with named ones.

#include "appcore/save_as.h"

#include <filesystem>
#include <optional>
#include <random>

#include <gtest/gtest.h>

#include "io/temporary_files.h"
#include "tests/model/model_session_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;
using wqtest::Quoted;

class SaveAsFiles : public SessionTest, public ::testing::WithParamInterface<bool> {
protected:
    SaveAsFiles()
    {
        session().SetCountry(new TRegion(nullptr, rtCountry, "GR"));
        std::filesystem::create_directory(folder_);
        if (GetParam())
            namedFiles_.emplace();
    }
    // The entries of an archive as Python's zipfile reads them, with the
    // length of each.
    static std::string Entries(const std::string& zip)
    {
        const std::string script =
            "import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1])\n"
            "print(' '.join(n + '=' + str(len(z.read(n))) for n in z.namelist()))\n";
        return wqtest::RunWithOutput("python3 -c " + Quoted(script) + " " + Quoted(zip)).output;
    }

    wqtest::TempFolder temp_;
    // "\" and ":" are characters of a folder's name too.
    const std::string folder_ = temp_ / "se:t\\s";
    std::optional<TScopedNamedTemporaryFiles> namedFiles_;
};

// Each name is one file, also far beyond 260 bytes of path and at the longest
// length of a name, which the temporary files must not make longer; the entry
// keeps it, with "\" as "/" as in any stored name, and a peer reads it.
TEST_P(SaveAsFiles, TheZipCopyHoldsTheDataFileByItsExactName)
{
    wqtest::WriteTextFile(folder_ + "/GR_1.wqd", "another data file");
    const std::string longest = std::string(251, 'n') + ".wqd";
    const std::string deep = std::string(250, 'f') + "/" + std::string(250, 'g');
    const std::pair<std::string, std::string> cases[] = {{"GR:1.wqd", "GR:1.wqd"},
                                                         {"a\\b.wqd", "a/b.wqd"},
                                                         {"GR_?.wqd", "GR_?.wqd"},
                                                         {deep + "/" + longest, longest}};
    std::filesystem::create_directories(folder_ + "/" + deep);
    for (const auto& [name, stored] : cases) {
        SCOPED_TRACE(stored);
        const std::string data = folder_ + "/" + name;
        ASSERT_TRUE(SaveDataFileAndZipCopy(data));
        EXPECT_EQ(Entries(ZipNameOf(data)),
                  stored + "=" + std::to_string(std::filesystem::file_size(data)) + "\n");
        std::filesystem::remove(ZipNameOf(data));
        std::filesystem::remove(data);
    }
    std::filesystem::remove_all(folder_ + "/" + std::string(250, 'f'));
    EXPECT_TRUE(dialogs_.Messages().empty());
    EXPECT_EQ(wqtest::FilesIn(folder_), Lines{"GR_1.wqd"});
}

TEST_P(SaveAsFiles, AFullDiskNamesTheReasonAndKeepsTheOldArchive)
{
    std::mt19937 random(7);
    std::string noise(300000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string data = wqtest::WriteTextFile(folder_ + "/x.wqd", noise);
    const std::string zip = wqtest::WriteTextFile(folder_ + "/x.zip", "the previous copy");
    {
        wqtest::ScopedFileSizeLimit limit(100000);
        EXPECT_FALSE(WriteZipCopy(data, folder_ + "/", zip));
    }
    EXPECT_EQ(dialogs_.Texts(),
              Lines{"Exception: Cannot write file \"" + zip +
                    "\". File too large\nThe zip archive \"" + zip + "\" was not updated."});
    EXPECT_EQ(wqtest::ReadFileText(zip), "the previous copy");
    EXPECT_EQ(wqtest::FilesIn(folder_), (Lines{"x.wqd", "x.zip"}));
}

INSTANTIATE_TEST_SUITE_P(TemporaryFiles, SaveAsFiles, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

}  // namespace
