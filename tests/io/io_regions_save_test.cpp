#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "platform/exception.h"
#include "tests/io/io_regions_fixture.h"
#include "tests/xml/xml_wellformed.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using wqtest::ReadFileText;

class SaveRegionsFile : public RegionsFileTest {
protected:
    TRegion* Add(TRegion* parent, TRegionType type, const std::string& code,
                 const std::string& name)
    {
        auto* region = new TRegion(parent, type, code);
        region->FName = name;
        return region;
    }

    // Saves the tree, then reads the file into a fresh session.
    std::string SaveAndReload()
    {
        UseRegionsText("");
        SaveRegions();
        const std::string saved = ReadFileText(file_->Path());
        session_ = std::make_unique<TSession>();
        Session = session_.get();
        session().FRegionsFile = file_->Path();
        LoadRegions();
        return saved;
    }
};

TEST_F(SaveRegionsFile, WritesTheTreeInTheFileLayout)
{
    TRegion* austria = Add(nullptr, rtCountry, "AT", "Österreich");
    Add(nullptr, rtCountry, "LI", "");
    TRegion* nuts1 = Add(austria, rtNUTS1, "AT1", "Ost & West");
    Add(Add(nuts1, rtNUTS2, "AT11", "Burgenland"), rtNUTS3, "AT111", "Mitte");
    Add(Add(austria, rtRBD, "AT1000", "Danube"), rtSU, "S1", "Su");
    Add(austria, rtRB, "ATRB", "Basin");
    UseRegionsText("old content");
    SaveRegions();

    const std::string saved = ReadFileText(file_->Path());
    std::smatch date;
    ASSERT_TRUE(std::regex_search(saved, date,
                                  std::regex("CreationDate=\"(\\d{4}-\\d{1,2}-\\d{1,2} "
                                             "\\d{1,2}:\\d{1,2}:\\d{1,2})\"")));
    const std::string expected =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<OZR_WQ_Regions Creator=\"Tavrel-SoE WQ Data Request maintenance team\" "
        "CreationDate=\"" +
        date[1].str() +
        "\" Email=\"wq-regions@tavrel-soe.example\" Remarks=\"\">Regions used in the "
        "Tavrel-SoE WQ Data Request Application\r\n"
        "  <Country>\r\n"
        "    <Code>AT</Code>\r\n"
        "    <Name>Österreich</Name>\r\n"
        "    <NUTS1>\r\n"
        "      <Code>AT1</Code>\r\n"
        "      <Name>Ost &amp; West</Name>\r\n"
        "      <NUTS2>\r\n"
        "        <Code>AT11</Code>\r\n"
        "        <Name>Burgenland</Name>\r\n"
        "        <NUTS3>\r\n"
        "          <Code>AT111</Code>\r\n"
        "          <Name>Mitte</Name>\r\n"
        "        </NUTS3>\r\n"
        "      </NUTS2>\r\n"
        "    </NUTS1>\r\n"
        "    <RBD>\r\n"
        "      <Code>AT1000</Code>\r\n"
        "      <Name>Danube</Name>\r\n"
        "      <SU>\r\n"
        "        <Code>S1</Code>\r\n"
        "        <Name>Su</Name>\r\n"
        "      </SU>\r\n"
        "    </RBD>\r\n"
        "    <RB>\r\n"
        "      <Code>ATRB</Code>\r\n"
        "      <Name>Basin</Name>\r\n"
        "    </RB>\r\n"
        "  </Country>\r\n"
        "  <Country>\r\n"
        "    <Code>LI</Code>\r\n"
        "    <Name/>\r\n"
        "  </Country>\r\n"
        "</OZR_WQ_Regions>\r\n";
    EXPECT_EQ(saved, expected);
    EXPECT_FALSE(session().GetModified());
}

TEST_F(SaveRegionsFile, NamesXmlCannotHoldStillGiveAWellFormedFile)
{
    Add(Add(nullptr, rtCountry, "AT", AwkwardText()), rtNUTS1, "AT1", AwkwardText());
    SaveAndReload();
    ExpectWellFormed(file_->Path());
    ASSERT_EQ(session().FRegions.Count(), 2);
    for (const TObject* item : session().FRegions)
        EXPECT_EQ(static_cast<const TRegion*>(item)->FName, AwkwardText(true));
}

TEST_F(SaveRegionsFile, ReadingBackGivesTheSameListsInTheSameOrder)
{
    UseRegionsText(RegionsFile(
        Region(
            "Country", "ES", "España",
            Region("RB", "ESRB", "  blanks kept  ") +
                Region("NUTS1", "ES1", "Noroeste",
                       Region("NUTS2", "ES11", "Galicia", Region("NUTS3", "ES111", "A Coruña"))) +
                Region("RBD", "ES010", "Minho", Region("SU", "S", "shared code")) +
                Region("RBD", "ES020", "Duero", Region("SU", "S", "shared code")) +
                Region("NUTS1", "ES2", "Noreste")) +
        Region("Country", "FR", "France", Region("NUTS1", "FR1", "Île de France"))));
    LoadRegions();
    const auto before = DescribeAll(session());
    ASSERT_EQ(before[0].size(), 12u);

    SaveAndReload();
    EXPECT_EQ(DescribeAll(session()), before);
    EXPECT_TRUE(dialogs_.Messages().empty());
}

TEST_F(SaveRegionsFile, AFailedWriteNamesTheFileAndKeepsWhatWasThere)
{
    Add(nullptr, rtCountry, "AT", "Austria");
    const wqtest::TempFolder folder;
    std::filesystem::create_directories(folder / "inside");
    session().FRegionsFile = folder.Path();
    try {
        SaveRegions();
        ADD_FAILURE() << "saving over a folder succeeded";
    } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what()).find(folder.Path()), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));

    session().FRegionsFile = "/nonexistent-folder/OZR_wq_regions.xml";
    EXPECT_THROW(SaveRegions(), Exception);
}

// The reference lists of ../shared/regions, as a tree of about 2,100 regions.
TEST_F(SaveRegionsFile, TheReferenceTreeSurvivesARoundTrip)
{
    const char* source = std::getenv("WQ_SOURCE_DIR");
    const std::string csv = source ? std::string(source) + "/../shared/regions/regions.csv" : "";
    if (!source || !std::filesystem::exists(csv))
        GTEST_SKIP() << "the reference region lists are absent";
    std::ifstream in(csv);
    std::string line;
    std::getline(in, line);
    std::map<std::pair<std::string, std::string>, TRegion*> byLevelAndCode;
    const std::map<std::string, TRegionType> types = {
        {"0", rtCountry}, {"1", rtNUTS1}, {"2", rtNUTS2}, {"3", rtNUTS3}, {"RBD", rtRBD}};
    const std::map<std::string, std::string> parentLevel = {
        {"1", "0"}, {"2", "1"}, {"3", "2"}, {"RBD", "0"}};
    while (std::getline(in, line)) {
        std::stringstream fields(line);
        std::string country, level, code, name, parent;
        std::getline(fields, country, ';');
        std::getline(fields, level, ';');
        std::getline(fields, code, ';');
        std::getline(fields, name, ';');
        std::getline(fields, parent, ';');
        TRegion* parentRegion =
            level == "0" ? nullptr : byLevelAndCode.at({parentLevel.at(level), parent});
        byLevelAndCode[{level, code}] = Add(parentRegion, types.at(level), code, name);
    }
    const auto before = DescribeAll(session());
    ASSERT_GT(before[0].size(), 2000u);

    SaveAndReload();
    EXPECT_EQ(DescribeAll(session()), before);
    EXPECT_TRUE(dialogs_.Messages().empty());
}

}  // namespace
