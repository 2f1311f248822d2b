// The files Save As leaves: names this platform allows, long names, a name
// whose zip copy would be the data file, and a zip copy that fails.

#include "appcore/save_as.h"

#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

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

class SaveAsFiles : public SessionTest {
protected:
    SaveAsFiles()
    {
        auto* country = new TRegion(nullptr, rtCountry, "GR");
        country->FName = "Greece";
        session().SetCountry(country);
    }
    Lines Files(const std::string& folder) { return wqtest::FilesIn(folder); }
    // The entries of an archive as Python's zipfile reads them, each with its
    // content's length.
    static std::string PythonEntries(const std::string& zip)
    {
        const std::string script =
            "import sys, zipfile\n"
            "z = zipfile.ZipFile(sys.argv[1])\n"
            "print(' '.join(n + '=' + str(len(z.read(n))) for n in z.namelist()))\n";
        return wqtest::RunWithOutput("python3 -c " + Quoted(script) + " " + Quoted(zip)).output;
    }

    wqtest::TempFolder folder_;
};

// Each name is one file of its own on this platform, whether the temporary
// files have names or not; the entry keeps the name, with "\" as "/".
TEST_F(SaveAsFiles, TheZipCopyHoldsTheDataFileByItsExactName)
{
    wqtest::WriteTextFile(folder_ / "GR_1.wqd", "another data file");
    const std::pair<std::string, std::string> cases[] = {{"GR:1.wqd", "GR:1.wqd"},
                                                         {"a\\b.wqd", "a/b.wqd"},
                                                         {"GR_?.wqd", "GR_?.wqd"},
                                                         {"*.wqd", "*.wqd"}};
    for (const bool named : {false, true}) {
        std::optional<TScopedNamedTemporaryFiles> namedFiles;
        if (named)
            namedFiles.emplace();
        for (const auto& [name, stored] : cases) {
            SCOPED_TRACE(name + (named ? " (named temporary files)" : ""));
            const std::string data = folder_ / name;
            ASSERT_TRUE(SaveDataFileAndZipCopy(data));
            const std::string zip = ZipNameOf(data);
            const auto size = std::filesystem::file_size(data);
            EXPECT_EQ(PythonEntries(zip), stored + "=" + std::to_string(size) + "\n");
            EXPECT_EQ(wqtest::Run("unzip -tq " + Quoted(zip) + " >/dev/null"), 0);
            EXPECT_EQ(wqtest::Run("7zz t " + Quoted(zip) + " >/dev/null"), 0);
            std::filesystem::remove(zip);
            std::filesystem::remove(data);
        }
    }
    EXPECT_TRUE(dialogs_.Messages().empty());
    EXPECT_EQ(Files(folder_.Path()), Lines{"GR_1.wqd"});
}

// The limits are those of this platform: a path far beyond 260 bytes and a
// name of 255 bytes, whose temporary files must not make it longer.
TEST_F(SaveAsFiles, ALongPathAndANameOfTheLongestLengthAreSaved)
{
    std::string folder = folder_.Path();
    for (int level = 0; level < 4; ++level)
        folder += "/" + std::string(200, 'f');
    std::filesystem::create_directories(folder);
    const std::string stem(251, 'n');
    ASSERT_TRUE(SaveDataFileAndZipCopy(folder + "/" + stem + ".wqd"));
    EXPECT_EQ(Files(folder), (Lines{stem + ".wqd", stem + ".zip"}));
    const auto size = std::filesystem::file_size(folder + "/" + stem + ".wqd");
    EXPECT_EQ(PythonEntries(folder + "/" + stem + ".zip"),
              stem + ".wqd=" + std::to_string(size) + "\n");
    EXPECT_TRUE(dialogs_.Messages().empty());
}

// The copy would take the data file's own name: nothing is written, and what
// was there stays.
TEST_F(SaveAsFiles, ANameWhoseZipCopyIsTheDataFileIsRefusedBeforeWriting)
{
    for (const std::string name : {"x.zip", "x.ZIP", ".zip"}) {
        SCOPED_TRACE(name);
        dialogs_.Clear();
        const std::string data = wqtest::WriteTextFile(folder_ / name, "an older archive");
        EXPECT_FALSE(SaveDataFileAndZipCopy(data));
        EXPECT_EQ(dialogs_.Texts(),
                  Lines{"The data file cannot be saved as \"" + data +
                        "\": its zip copy would have the same name and replace it. Choose a name "
                        "with another extension, such as \".wqd\"."});
        EXPECT_EQ(wqtest::ReadFileText(data), "an older archive");
        EXPECT_EQ(Files(folder_.Path()), Lines{name});
        std::filesystem::remove(data);
    }
}

// A full disk: the message gives the system's reason and says that the zip
// archive stayed as it was.
TEST_F(SaveAsFiles, AFailedZipCopyNamesTheReasonAndKeepsTheOldArchive)
{
    std::mt19937 random(7);
    std::string noise(300000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string data = wqtest::WriteTextFile(folder_ / "x.wqd", noise);
    const std::string zip = wqtest::WriteTextFile(folder_ / "x.zip", "the previous copy");
    for (const bool named : {false, true}) {
        SCOPED_TRACE(named ? "named temporary files" : "unnamed temporary files");
        std::optional<TScopedNamedTemporaryFiles> namedFiles;
        if (named)
            namedFiles.emplace();
        dialogs_.Clear();
        bool written = true;
        {
            wqtest::ScopedFileSizeLimit limit(100000);
            written = WriteZipCopy(data, folder_.Path() + "/", zip);
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(dialogs_.Texts(),
                  Lines{"Exception: Cannot write file \"" + zip +
                        "\". File too large\nThe zip archive \"" + zip + "\" was not updated."});
        EXPECT_EQ(wqtest::ReadFileText(zip), "the previous copy");
        EXPECT_EQ(Files(folder_.Path()), (Lines{"x.wqd", "x.zip"}));
    }
    std::filesystem::remove(zip);
    std::filesystem::remove_all(folder_ / "no");
    dialogs_.Clear();
    EXPECT_FALSE(WriteZipCopy(data, folder_.Path() + "/", folder_ / "no/x.zip"));
    EXPECT_EQ(dialogs_.Texts(), Lines{"Exception: Cannot write the file \"" + folder_ / "no/x.zip" +
                                      "\": No such file or directory\nThe zip archive \"" +
                                      folder_ / "no/x.zip" + "\" was not written."});
}

}  // namespace
