#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/regional_settings.h"
#include "tests/io/io_load_fixture.h"
#include "tests/io/not_utf8_file.h"
#include "tests/support/files.h"

namespace {

using wqtest::ReadFileText;

// Everything of the session that reading a data file may change.
struct SessionState {
    explicit SessionState(const TSession& s)
        : Country(s.GetCountry()),
          Year(s.FYear),
          Responsible(s.FResponsible),
          Email(s.FEmail),
          Remarks(s.FRemarks),
          CreationDate(s.FCreationDate),
          Modified(s.GetModified()),
          DataDoc(s.FDataDoc)
    {
        for (const TListOZR* list :
             {&s.FEntities, &s.FStreamFlows, &s.FWells, &s.FRainGauges, &s.FReservoirs})
            Stations.emplace_back(list->begin(), list->end());
        for (const TObject* item : s.FRegions)
            Tables.push_back(TablesState(*static_cast<const TRegion*>(item)));
    }

    // Whether the region has tables and data, and the fields of its tables
    // that a failing file writes.
    static std::string TablesState(const TRegion& region)
    {
        const TRegionTables& tables = region.Tables();
        std::string state = region.GetCode() + (region.HasTables() ? " tables" : "") +
                            (region.HasData() ? " data" : "") + " year " +
                            std::to_string(tables.FWAYear);
        for (const ozr_wu_large_item& item : tables.FWULargeItemsCity)
            state += " item " + item.ItemName;
        return state;
    }

    TRegion* Country;
    int Year;
    std::string Responsible;
    std::string Email;
    std::string Remarks;
    std::string CreationDate;
    bool Modified;
    std::shared_ptr<void> DataDoc;
    std::vector<std::vector<TObject*>> Stations;
    std::vector<std::string> Tables;
};

void ExpectSameState(const SessionState& before, const SessionState& after)
{
    EXPECT_EQ(after.Country, before.Country);
    EXPECT_EQ(after.Year, before.Year);
    EXPECT_EQ(after.Responsible, before.Responsible);
    EXPECT_EQ(after.Email, before.Email);
    EXPECT_EQ(after.Remarks, before.Remarks);
    EXPECT_EQ(after.CreationDate, before.CreationDate);
    EXPECT_EQ(after.Modified, before.Modified);
    EXPECT_EQ(after.DataDoc, before.DataDoc);
    EXPECT_EQ(after.Stations, before.Stations);
    EXPECT_EQ(after.Tables, before.Tables);
}

// A session in use: its texts set, a station and tables of its own, and the
// document of an earlier file, but no country yet.
class LoadFailure : public DataFileTest {
protected:
    LoadFailure()
    {
        old_ = new TStreamFlow(district_, "OLD");
        old_->FName = "kept";
        TRegionTables& tables = district_->EditTables();
        tables.FWAYear = 1999;
        tables.FWULargeItemsCity.emplace_back().ItemName = "kept";
        session().FResponsible = "before";
        session().FEmail = "before@example.org";
        session().FRemarks = "before";
        session().FCreationDate = "2001-1-1 0:0:0";
        session().FYear = 2005;
        session().FDataDoc = std::make_shared<int>(1);
        session().SetModified(false);
    }

    // Loads the file and returns the message of the exception that must end
    // it; the file and the session must be as they were.
    std::string FailureOf(const std::string& path)
    {
        session().FDataFile = path;
        const std::string bytes = ReadFileText(path);
        const SessionState before(session());
        std::string message;
        try {
            LoadDataFile();
            ADD_FAILURE() << "loading succeeded";
        } catch (const Exception& error) {
            message = error.what();
        }
        EXPECT_EQ(ReadFileText(path), bytes) << "the file changed";
        ExpectSameState(before, SessionState(session()));
        EXPECT_EQ(old_->FName, "kept");
        return message;
    }

    std::string FailureOfText(const std::string& content)
    {
        TTestFile file(content, "failure.wqd");
        return FailureOf(file.Path());
    }

    TStreamFlow* old_;
};

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

TEST_F(LoadFailure, MissingAndUnreadableFilesAreNamed)
{
    const std::string missing =
        (std::filesystem::temp_directory_path() / "wq_no_such_folder" / "gone.wqd").string();
    EXPECT_NE(FailureOf(missing).find("\"" + missing + "\""), std::string::npos);
    const std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_NE(FailureOf(folder).find(folder), std::string::npos);
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
}

TEST_F(LoadFailure, AnUnknownCountryKeepsEvenTheRootTexts)
{
    root_.SetAttribute("Country", "XX");
    Station(region_, "flow");
    EXPECT_EQ(FailureOfText(SavedText()), "Unknown country code: XX");
}

// Once the failed file is mended it loads as into a fresh session: the country
// is free to take, and nothing of the failed reading is doubled.
TEST_F(LoadFailure, TheMendedFileLoadsAfterAFailedOne)
{
    ScopedRegionalSettings point('.');
    Station(region_, "flow");
    AddElementPath(region_, "ozr_water_use/wu_large_items_city/wu_item_name").SetText("Athens");
    TXMLNode district = AddRegion("GR01", "RBD");
    AddElementPath(district, "ozr_water_use/wu_large_items_city/wu_item_name").SetText("Volos");
    TXMLNode answer = Station(district, "well").AddChild("gwb_outside_rb");
    answer.SetText("maybe");
    RecordingObserver observer;
    session().SetObserver(&observer);
    EXPECT_EQ(FailureOfText(SavedText()), "Unknown Boolean value: maybe");
    session().SetObserver(nullptr);
    EXPECT_EQ(observer.countryUpdates, 0);
    ASSERT_FALSE(observer.captions.empty());
    EXPECT_EQ(observer.captions.back(), ApplicationTitle) << "the window shows a change";

    answer.SetText("yes");
    Load();
    EXPECT_EQ(session().GetCountry(), greece_);
    EXPECT_EQ(session().FResponsible, "Maria");
    EXPECT_TRUE(session().GetModified());
    EXPECT_EQ(session().FEntities.Count(), 3);
    EXPECT_EQ(session().FStreamFlows.Count(), 2);
    EXPECT_EQ(session().FWells.Count(), 1);
    ASSERT_EQ(nuts1_->Tables().FWULargeItemsCity.size(), 1u);
    ASSERT_EQ(district_->Tables().FWULargeItemsCity.size(), 2u);
    EXPECT_EQ(district_->Tables().FWULargeItemsCity[1].ItemName, "Volos");
    EXPECT_EQ(district_->Tables().FWAYear, 1999);
    EXPECT_TRUE(dialogs_.Messages().empty());
}

// The tables of all regions are read after the stations, on several threads;
// the fault reported is still the one that comes first in the file, a
// region's tables standing before its stations.
TEST_F(LoadFailure, TheFirstFaultOfTheFileIsTheOneReported)
{
    ScopedRegionalSettings point('.');
    const char* origin = "ozr_water_balance/ozr_wb_additional_water_resources/wb_artif_gw_origin";
    TXMLNode answer = Station(region_, "well").AddChild("gwb_outside_rb");
    answer.SetText("maybe");
    AddElementPath(AddRegion("GR01", "RBD"), origin).SetText("sea");
    EXPECT_EQ(FailureOfText(SavedText()), "Unknown Boolean value: maybe");

    TXMLNode firstOrigin = AddElementPath(region_, origin);
    firstOrigin.SetText("land");
    EXPECT_EQ(FailureOfText(SavedText()), "Unknown artificial groundwater origin: land");
    answer.SetText("yes");
    EXPECT_EQ(FailureOfText(SavedText()), "Unknown artificial groundwater origin: land");
    firstOrigin.SetText("return flow");
    EXPECT_EQ(FailureOfText(SavedText()), "Unknown artificial groundwater origin: sea");
}

// Two codes or names that differ only in bytes that are not UTF-8 would be
// saved as one; such a file is refused where the bytes stand.
TEST_F(LoadFailure, BytesThatAreNotUtf8AreRefusedWithTheirLine)
{
    root_.SetAttribute("Responsible", "@attribute@");
    Station(AddRegion("GR@code@", "RBD"), "flow").AddChild("name").SetText("@name@");
    for (const auto& [marker, bytes] : {std::pair{"@attribute@",
                                                  "Mar\xED"
                                                  "a"},
                                        {"@code@", "\xFF"},
                                        {"@name@", "\xED\xA0\x80"}}) {
        const TSpoiledText spoiled = Spoil(SavedText(), marker, bytes);
        const TTestFile file(spoiled.Text, "spoiled.wqd");
        const std::string refusal = NotUtf8Refusal(file.Path(), spoiled.Line);
        EXPECT_EQ(FailureOf(file.Path()).substr(0, refusal.size()), refusal) << marker;
    }
}

struct ContentCase {
    const char* Name;
    std::function<void(TXMLNode region)> Spoil;
    std::string Message;
};

// The spoiled region comes late: a region with stations and tables, and a good
// station and table of its own, are read before it fails.
class LoadContentFailure : public LoadFailure, public ::testing::WithParamInterface<ContentCase> {
protected:
    LoadContentFailure()
    {
        AddItem(Station(region_, "flow"), "daily_data", "366", "5");
        Station(region_, "reservoir");
        AddElementPath(region_, "ozr_water_use/wu_large_items_city/wu_item_name").SetText("Athens");
        spoiled_ = AddRegion("GR01", "RBD");
        AddElementPath(spoiled_, "ozr_water_abstraction/wa_year").SetText("2007");
        Station(spoiled_, "precipitation");
    }

    TXMLNode spoiled_;
};

TEST_P(LoadContentFailure, EndsTheLoadingWithAClearMessage)
{
    ScopedRegionalSettings point('.');
    GetParam().Spoil(spoiled_);
    EXPECT_EQ(FailureOfText(SavedText()), GetParam().Message);
}

void PrintTo(const ContentCase& c, std::ostream* out)
{
    *out << c.Name;
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
