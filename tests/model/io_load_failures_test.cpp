#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/regional_settings.h"
#include "tests/model/io_load_fixture.h"

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LoadFailure : public DataFileTest {
protected:
    // Loads the file and returns the message of the exception that must end it.
    std::string FailureOf(const std::string& path)
    {
        session().FDataFile = path;
        const std::string before = ReadBytes(path);
        try {
            LoadDataFile();
        } catch (const Exception& error) {
            EXPECT_EQ(ReadBytes(path), before) << "the file changed";
            return error.what();
        }
        ADD_FAILURE() << "loading succeeded";
        return "";
    }

    std::string FailureOfText(const std::string& content)
    {
        TTestFile file(content, "failure.wqd");
        return FailureOf(file.Path());
    }

    void ExpectSessionUntouched()
    {
        EXPECT_EQ(session().GetCountry(), nullptr);
        EXPECT_EQ(session().FResponsible, "");
        EXPECT_EQ(session().FEntities.Count(), 0);
        EXPECT_EQ(session().FDataDoc, nullptr);
        EXPECT_FALSE(session().GetModified());
        EXPECT_FALSE(nuts1_->HasTables());
    }
};

TEST_F(LoadFailure, AMissingFileIsNamed)
{
    const std::string missing =
        (std::filesystem::temp_directory_path() / "wq_no_such_folder" / "gone.wqd").string();
    session().FDataFile = missing;
    try {
        LoadDataFile();
        FAIL() << "a missing file loaded";
    } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what()).find("\"" + missing + "\""), std::string::npos);
    }
    ExpectSessionUntouched();
}

TEST_F(LoadFailure, AnUnreadableFileIsNamed)
{
    const std::string folder = std::filesystem::temp_directory_path().string();
    session().FDataFile = folder;
    try {
        LoadDataFile();
        FAIL() << "a folder loaded";
    } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what()).find(folder), std::string::npos);
    }
    ExpectSessionUntouched();
}

TEST_F(LoadFailure, FilesThatAreNoDataFilesLeaveTheSessionAlone)
{
    EXPECT_NE(
        FailureOfText("<ozr_wq Country='GR'>\r\n<region>\r\n</ozr_wq>").find("(line 3, column 3)"),
        std::string::npos);
    EXPECT_EQ(FailureOfText("<OZR_WQ_Regions Country='GR'/>"), "Interface not supported");
    EXPECT_NE(FailureOfText("").find("holds no XML document element"), std::string::npos);

    std::mt19937 random(20091);
    for (int round = 0; round < 20; ++round) {
        std::string noise(1 + random() % 4096, '\0');
        for (char& byte : noise)
            byte = static_cast<char>(random());
        EXPECT_FALSE(FailureOfText(noise).empty());
    }
    EXPECT_TRUE(dialogs_.Messages().empty());
    ExpectSessionUntouched();
}

TEST_F(LoadFailure, AnUnknownCountryStopsAfterTheRootAttributes)
{
    root_.SetAttribute("Country", "XX");
    region_.AddChild("flow");
    EXPECT_EQ(FailureOfText(SavedText()), "Unknown country code: XX");
    EXPECT_EQ(session().GetCountry(), nullptr);
    EXPECT_EQ(session().FEntities.Count(), 0);
}

struct ContentCase {
    const char* Name;
    std::function<void(TXMLNode region)> Spoil;
    std::string Message;
};

class LoadContentFailure : public LoadFailure, public ::testing::WithParamInterface<ContentCase> {};

TEST_P(LoadContentFailure, EndsTheLoadingWithAClearMessage)
{
    ScopedRegionalSettings point('.');
    GetParam().Spoil(region_);
    EXPECT_EQ(FailureOfText(SavedText()), GetParam().Message);
    EXPECT_EQ(session().GetCountry(), greece_);
}

TXMLNode Station(TXMLNode region, const char* kind)
{
    TXMLNode station = region.AddChild(kind);
    station.AddChild("attributes_wq").AddChild("id").SetText("S");
    return station;
}

void AddItem(TXMLNode parent, const char* tag, const char* index, const char* value)
{
    TXMLNode item = parent.AddChild(tag);
    if (index)
        item.AddChild("indx").SetText(index);
    item.AddChild("value").SetText(value);
}

const ContentCase kContentCases[] = {
    {"RegionType", [](TXMLNode r) { r.SetAttribute("type", "NUTS4"); },
     "Unknown region type: NUTS4"},
    {"ReservoirType",
     [](TXMLNode r) { Station(r, "reservoir").AddChild("type").SetText("natural"); },
     "Unknown reservoir type: natural"},
    {"TimeScale",
     [](TXMLNode r) { Station(r, "precipitation").AddChild("time_scale").SetText("Daily"); },
     "Unknown precipitation data time scale: Daily"},
    {"ArtifGWOrigin",
     [](TXMLNode r) {
         r.AddChild("ozr_water_balance")
             .AddChild("ozr_wb_additional_water_resources")
             .AddChild("wb_artif_gw_origin")
             .SetText("sea");
     },
     "Unknown artificial groundwater origin: sea"},
    {"YesNo", [](TXMLNode r) { Station(r, "well").AddChild("gwb_outside_rbd").SetText("Yes"); },
     "Unknown Boolean value: Yes"},
    {"RealWithTheOtherSeparator",
     [](TXMLNode r) { Station(r, "flow").AddChild("river_basin_area").SetText("2,5"); },
     "'2,5' is not a valid floating point value (element \"river_basin_area\")"},
    {"NonNumericInteger",
     [](TXMLNode r) { Station(r, "flow").AddChild("data_from_year").SetText("19x0"); },
     "'19x0' is not a valid integer value (element \"data_from_year\")"},
    {"LargeItemClass",
     [](TXMLNode r) {
         r.AddChild("ozr_water_use")
             .AddChild("wu_large_items_city")
             .AddChild("wu_item_class")
             .SetText("A");
     },
     "'A' is not a valid integer value (element \"wu_item_class\")"},
    {"WrongBoolean", [](TXMLNode r) { Station(r, "flow").AddChild("wfd").SetText("si"); },
     "'si' is not a valid boolean value (element \"wfd\")"},
    {"MonthOutOfRange",
     [](TXMLNode r) {
         AddItem(r.AddChild("ozr_water_use").AddChild("wu_self_supply").AddChild("total"),
                 "monthly_data", "13", "1");
     },
     "The element \"monthly_data\" has the index 13, outside 1 to 12"},
    {"SeasonOutOfRange",
     [](TXMLNode r) { AddItem(Station(r, "well").AddChild("mean_level"), "seasonal", "0", "1"); },
     "The element \"seasonal\" has the index 0, outside 1 to 2"},
    {"DayOutOfRange", [](TXMLNode r) { AddItem(Station(r, "flow"), "daily_data", "367", "1"); },
     "The element \"daily_data\" has the index 367, outside 1 to 366"},
    {"LtaaMonthOutOfRange", [](TXMLNode r) { AddItem(Station(r, "flow"), "ltaa_data", "-1", "1"); },
     "The element \"ltaa_data\" has the index -1, outside 1 to 12"},
    {"ItemWithoutIndex",
     [](TXMLNode r) { AddItem(Station(r, "flow"), "monthly_data", nullptr, "1"); },
     "Could not convert variant of type (Null) into type (Integer) (element \"indx\")"},
};

INSTANTIATE_TEST_SUITE_P(EveryKind, LoadContentFailure, ::testing::ValuesIn(kContentCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
