#include "appcore/save_as.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "model/ozr_types.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::string> Texts(const TCheckMessages& messages)
{
    std::vector<std::string> texts;
    for (const TCheckMessage& message : messages.Items()) {
        EXPECT_EQ(message.Kind, mkError);
        texts.push_back(message.Text);
    }
    return texts;
}

TEST(SaveAsNames, ProposedNameHasNoLeadingZeros)
{
    EXPECT_EQ(ProposedDataFileName("GR", {2009, 3, 7, 9, 5, 2}), "GR_2009_3_7.wqd");
    EXPECT_EQ(ProposedDataFileName("UK", {2010, 12, 31, 0, 0, 0}), "UK_2010_12_31.wqd");
}

TEST(SaveAsNames, ZipNameReplacesTheExtensionOfTheNamePartOnly)
{
    EXPECT_EQ(ZipNameOf("/data/x.wqd"), "/data/x.zip");
    EXPECT_EQ(ZipNameOf("/data/x.v2.wqd"), "/data/x.v2.zip");
    EXPECT_EQ(ZipNameOf("/data.d/x"), "/data.d/x.zip");
}

TEST(SaveAsHeader, BlankFieldsAndNoCountryAreErrorsInFieldOrder)
{
    EXPECT_EQ(Texts(CheckSessionInfo("  ", "\t", nullptr)),
              (std::vector<std::string>{
                  "The person responsible for the data entry should be specified",
                  "The email address of the person responsible for the data entry should be "
                  "specified",
                  "A country has to be selected first"}));
    TSession session;
    Session = &session;
    TRegion* country = new TRegion(nullptr, rtCountry, "GR");
    EXPECT_TRUE(CheckSessionInfo(" M ", "m@x.org", country).Empty());
}

class ZipCopyTest : public ::testing::Test {
protected:
    ZipCopyTest() { wqtest::WriteTextFile(data_, "<ozr_wq>Δεδομένα 42</ozr_wq>\r\n"); }

    bool Copy() { return WriteZipCopy(data_, folder_.Path() + "/", zip_); }

    // The folder holds these entries and no temporary file.
    void ExpectFolderHolds(const std::vector<std::string>& names)
    {
        EXPECT_EQ(wqtest::FilesIn(folder_.Path()), names);
    }

    wqtest::TempFolder folder_;
    const std::string data_ = folder_ / "x.wqd";
    const std::string zip_ = folder_ / "x.zip";
    TScriptedDialogs dialogs_;
    ScopedDialogs installed_{dialogs_};
};

TEST_F(ZipCopyTest, ArchiveHoldsTheDataFileAloneUnderItsBareName)
{
    ASSERT_TRUE(Copy());
    EXPECT_TRUE(dialogs_.Messages().empty());
    ExpectFolderHolds({"x.wqd", "x.zip"});
    EXPECT_EQ(wqtest::Run("unzip -tq " + wqtest::Quoted(zip_) + " >/dev/null"), 0);
    const std::string check =
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "assert z.namelist() == ['x.wqd'], z.namelist()\n"
        "assert z.getinfo('x.wqd').compress_type == zipfile.ZIP_DEFLATED\n"
        "assert z.read('x.wqd') == open(sys.argv[2], 'rb').read()\n";
    EXPECT_EQ(wqtest::Run("python3 -c " + wqtest::Quoted(check) + " " + wqtest::Quoted(zip_) + " " +
                          wqtest::Quoted(data_)),
              0);
}

TEST_F(ZipCopyTest, ExistingArchiveIsReplacedNotExtended)
{
    wqtest::WriteTextFile(folder_ / "old.txt", "old entry");
    ASSERT_EQ(wqtest::Run("cd " + wqtest::Quoted(folder_.Path()) + " && zip -q x.zip old.txt"), 0);
    ASSERT_TRUE(Copy());
    const auto listing = wqtest::RunWithOutput("unzip -Z1 " + wqtest::Quoted(zip_));
    EXPECT_EQ(listing.output, "x.wqd\n");
}

TEST_F(ZipCopyTest, FailuresAreShownAndLeaveNoBrokenArchive)
{
    mkdir(zip_.c_str(), 0755);
    EXPECT_FALSE(Copy());
    ASSERT_EQ(dialogs_.Messages().size(), 1u);
    EXPECT_EQ(dialogs_.Messages()[0].Text,
              "Exception: Cannot write the file \"" + zip_ + "\": Is a directory");
    EXPECT_EQ(dialogs_.Messages()[0].Type, TMsgDlgType::mtError);
    ExpectFolderHolds({"x.wqd", "x.zip"});

    // A data file that is not there would leave an archive without it.
    rmdir(zip_.c_str());
    unlink(data_.c_str());
    EXPECT_FALSE(Copy());
    EXPECT_EQ(dialogs_.Messages().back().Text.rfind("Exception: ", 0), 0u);
    ExpectFolderHolds({});
}

TEST_F(ZipCopyTest, ReadOnlyFolderKeepsTheOldArchive)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    wqtest::WriteTextFile(zip_, "old archive");
    chmod(folder_.Path().c_str(), 0555);
    EXPECT_FALSE(Copy());
    chmod(folder_.Path().c_str(), 0755);
    EXPECT_EQ(dialogs_.Messages().size(), 1u);
    EXPECT_EQ(wqtest::ReadFileText(zip_), "old archive");
    ExpectFolderHolds({"x.wqd", "x.zip"});
}

}  // namespace
