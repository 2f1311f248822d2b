#include "appcore/water_balance_texts.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "appcore/form_values.h"

TEST(WaterBalanceTexts, EachTableShowsItsQuantitiesInItsColumns)
{
    TRegionTables tables;
    tables.FWBHydrometeorological[8][0] = 1.5;
    tables.FWBWaterStorage[2][LTAAIndex] = -3.25;
    tables.FWBWaterStorage[0][0] = -9999.5;
    tables.FWBReturned[0][0] = -2;
    tables.FWBLossesBetwnUseAndReuse[AnnualIndex] = 0;
    tables.FWBDesalinatedWater[10][1] = 7;
    tables.FWBArtifGWOrigin = static_cast<TArtifGWOrigin>(9);

    const TWaterBalanceTexts texts = WaterBalanceTexts(tables);
    const std::vector<std::size_t> widths = {9, 3, 10, 11, 11, 5};
    for (int table = 0; table < WaterBalanceTableCount; ++table) {
        EXPECT_EQ(texts.Tables[table].size(), widths[table]);
        EXPECT_EQ(WaterBalanceTableInfo(static_cast<TWaterBalanceTable>(table)).Titles.size(),
                  widths[table]);
    }
    EXPECT_EQ(texts.Tables[wbHydrometeorological][8][0], "1.5");
    EXPECT_EQ(texts.Tables[wbWaterStorage][2][LTAAIndex], "-3.25");
    EXPECT_EQ(texts.Tables[wbWaterStorage][0][0], "");
    EXPECT_EQ(texts.Tables[wbReturned][0][0], "");
    EXPECT_EQ(texts.Tables[wbReturned][9][AnnualIndex], "0");
    EXPECT_EQ(texts.Tables[wbDesalinated][10][1], "7");
    EXPECT_EQ(texts.ArtifGWOrigin, agoUnknown);
}
