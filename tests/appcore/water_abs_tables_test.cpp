#include "appcore/water_abs_tables.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "appcore/form_texts.h"
#include "appcore/form_values.h"

namespace {

// Every value of every abstraction quantity distinct: quantity q holds
// 1000 * q + period, with the sector tables counting one quantity per sector.
TRegionTables NumberedTables()
{
    TRegionTables tables;
    double next = 0;
    auto fill = [&next](TEntityData& values) {
        next += 1000;
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = next + static_cast<double>(i);
    };
    for (TEntityData* values :
         {&tables.FWATotalAbstraction, &tables.FWATotalAbstractionSW, &tables.FWATotalAbstractionGW,
          &tables.FWATotalAbstractionFromRainwater, &tables.FWATotalAbstractionForHydropower,
          &tables.FWAAvailableGroundwater, &tables.FWAEvaporationLosses, &tables.FWAForPublicWSS,
          &tables.FWAForPublicWSSSW, &tables.FWAForPublicWSSGW,
          &tables.FWAForPublicWSSFromRainwater, &tables.FWAAbstractionForSelfSupplyTotal,
          &tables.FWAForSelfSupplyFromRainwater})
        fill(*values);
    for (TWaterUseData1* table :
         {&tables.FWAAbstractionForSelfSupplyTotalSW, &tables.FWAAbstractionForSelfSupplyTotalGW,
          &tables.FWANonFreshwater})
        for (TEntityData& values : *table)
            fill(values);
    return tables;
}

TPeriodTexts Column(const std::string& text)
{
    TPeriodTexts texts;
    texts.fill(text);
    return texts;
}

TWaterAbsEntries BlankEntries()
{
    TWaterAbsEntries entries{"2008", "", "", {}};
    for (std::size_t t = 0; t < entries.Tables.size(); ++t)
        entries.Tables[t].assign(WaterAbsTables()[t].Columns.size(), TPeriodTexts{});
    return entries;
}

std::vector<std::string> Findings(const TWaterAbsEntries& entries)
{
    TCheckMessages messages;
    CheckWaterAbsEntries(entries, messages);
    std::vector<std::string> lines;
    for (const TCheckMessage& m : messages.Items())
        lines.push_back((m.Kind == mkError ? "E:" : "W:") + m.Text);
    return lines;
}

std::string NumberError(const std::string& table)
{
    return "E:A positive real number or zero is expected for the field: " + table;
}

}  // namespace

TEST(WaterAbsTables, SectorColumnsShowTheirSectorsAndTheSelfSupplyTotals)
{
    const TRegionTables tables = NumberedTables();
    const TWaterAbsTexts shown = ShownWaterAbsTables(tables);
    const auto& sw = tables.FWAAbstractionForSelfSupplyTotalSW;
    const auto& nonFW = tables.FWANonFreshwater;
    ASSERT_EQ(shown[atSelfSW].size(), 12u);
    ASSERT_EQ(shown[atNonFW].size(), 11u);
    // Column 7 is cooling in industry (sector 11), column 10 hydropower (14).
    EXPECT_EQ(StoredQuantity(shown[atSelfSW][6]), sw[10]);
    EXPECT_EQ(StoredQuantity(shown[atSelfSW][9]), sw[13]);
    // Without hydropower, column 10 of the non-freshwater table is nace_i.
    EXPECT_EQ(StoredQuantity(shown[atNonFW][9]), nonFW[14]);
    EXPECT_EQ(StoredQuantity(shown[atSelf][1]), sw[0]);
    EXPECT_EQ(StoredQuantity(shown[atSelf][2]), tables.FWAAbstractionForSelfSupplyTotalGW[0]);
    EXPECT_EQ(StoredQuantity(shown[atOther][1]), tables.FWAEvaporationLosses);
    EXPECT_EQ(WaterAbsTables()[atSelfSW].Titles()[0], "Total Volume");
}

TEST(WaterAbsTables, StoringLeavesSectorsWithoutColumnAndTakesTotalsFromTheSectorTables)
{
    TRegionTables tables = NumberedTables();
    const TRegionTables before = tables;
    TWaterAbsTexts texts = ShownWaterAbsTables(tables);
    for (TTableTexts& columns : texts)
        for (TPeriodTexts& column : columns)
            column = Column("");
    // The self-supply table's mirrored columns are not the ones stored.
    texts[atSelf][1] = Column("5");
    texts[atSelfSW][0] = Column("7");
    StoreWaterAbsTables(texts, tables);

    EXPECT_EQ(tables.FWAAbstractionForSelfSupplyTotalSW[0], StoredQuantity(Column("7")));
    EXPECT_EQ(tables.FWATotalAbstraction, MissingReals<16>());
    EXPECT_EQ(tables.FWAEvaporationLosses, MissingReals<16>());
    EXPECT_EQ(tables.FWANonFreshwater[14], MissingReals<16>());
    for (int sector : {7, 8, 9, 10}) {
        const auto s = static_cast<std::size_t>(sector - 1);
        EXPECT_EQ(tables.FWAAbstractionForSelfSupplyTotalSW[s],
                  before.FWAAbstractionForSelfSupplyTotalSW[s]);
        EXPECT_EQ(tables.FWAAbstractionForSelfSupplyTotalGW[s],
                  before.FWAAbstractionForSelfSupplyTotalGW[s]);
        EXPECT_EQ(tables.FWANonFreshwater[s], before.FWANonFreshwater[s]);
    }
    EXPECT_EQ(tables.FWANonFreshwater[13], before.FWANonFreshwater[13]);
}

TEST(WaterAbsTables, ShownAndStoredValues)
{
    TEntityData values = MissingReals<16>();
    values[0] = 0;
    values[1] = -5;
    values[2] = 2.5;
    const TPeriodTexts shown = ShownQuantity(values);
    EXPECT_EQ(shown[0], "0");
    EXPECT_EQ(shown[1], "");
    EXPECT_EQ(shown[2], "2.5");
    TPeriodTexts typed = shown;
    typed[3] = " -1e-11 ";
    const TEntityData stored = StoredQuantity(typed);
    EXPECT_EQ(stored[0], 0.0);
    EXPECT_EQ(stored[1], MissingReal);
    EXPECT_EQ(stored[3], -1e-11);
}

TEST(WaterAbsChecks, BadCellsAreReportedPerTableAndTablesAreNotCompared)
{
    TWaterAbsEntries entries = BlankEntries();
    // A bad value shown in both views of the groundwater total.
    entries.Tables[atSelf][2][0] = "abc";
    entries.Tables[atSelfGW][0][0] = "abc";
    entries.Tables[atOther][1][15] = "-0.001";
    entries.Tables[atPublic][0][0] = "-1e-11";
    // Parts that do not add up to the totals pass.
    entries.Tables[atTotal][0][12] = "100";
    entries.Tables[atTotal][1][12] = "30";
    entries.Tables[atTotal][2][12] = "20";
    EXPECT_EQ(Findings(entries),
              (std::vector<std::string>{NumberError("FW for self-supply (Total)"),
                                        NumberError("FW for self-supply (from GW)"),
                                        NumberError("Other data")}));
}

TEST(WaterAbsChecks, MessagesComeInTheirOrderWithTheTablesSumNames)
{
    TWaterAbsEntries entries = BlankEntries();
    entries.Year = "20o8";
    entries.FromYear = "1850";
    entries.ToYear = "2000";
    entries.Tables[atNonFW][10] = Column("1");
    entries.Tables[atNonFW][10][12] = "13";
    entries.Tables[atTotal][4][5] = "x";
    EXPECT_EQ(Findings(entries),
              (std::vector<std::string>{
                  std::string("E:") + SYearNotInteger,
                  NumberError("Total volume of freshwater abstraction"),
                  "E:An integer number between 1900 and 20o8 is expected for the LTAA starting "
                  "year",
                  "E:The monthly values in table: 'Non freshwater sources ' and column: 'Other "
                  "(e.g. construction)' do not sum up to the annual value"}));
}

TEST(FormValues, RemarksEndEveryLineWithCrLf)
{
    EXPECT_EQ(StoredRemarks(""), "");
    EXPECT_EQ(StoredRemarks("one"), "one\r\n");
    EXPECT_EQ(StoredRemarks("one\n\nthree\n"), "one\r\n\r\nthree\r\n");
    EXPECT_EQ(StoredRemarks("one\n\n"), "one\r\n\r\n");
    EXPECT_EQ(ShownRemarks("one\r\n\r\nthree\r\n"), "one\n\nthree");
    EXPECT_EQ(ShownRemarks("one\r\n\r\n"), "one\n\n");
    EXPECT_EQ(ShownRemarks("one\ntwo"), "one\ntwo");
    for (const std::string remarks : {"", "\r\n", "one\r\n", "one\r\n\r\ntwo\r\n", "one\r\n\r\n"})
        EXPECT_EQ(StoredRemarks(ShownRemarks(remarks)), remarks);
}
