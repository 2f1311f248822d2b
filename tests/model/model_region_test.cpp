#include "tests/model/model_session_fixture.h"

namespace {

using Regions = SessionTest;
using RegionPredicates = SessionTest;

TEST_F(Regions, NewRegionStandsLastInEveryListThatHoldsIt)
{
    auto* country = new TRegion(nullptr, rtCountry, "GR");
    auto* nuts1 = new TRegion(country, rtNUTS1, "GR1");
    new TRegion(nuts1, rtNUTS2, "GR11");
    auto* nuts2 = new TRegion(nuts1, rtNUTS2, "GR12");
    EXPECT_EQ(nuts2->FName, "Unknown NUTS level 2");
    EXPECT_EQ(Codes(session().FNUTS).back(), "GR12");
    EXPECT_EQ(Codes(session().FNUTS2).back(), "GR12");
    EXPECT_EQ(Codes(session().FRegions).back(), "GR12");
    EXPECT_EQ(nuts1->GetChild(nuts1->GetChildCount() - 1), nuts2);
    EXPECT_EQ(Codes(session().FNUTS1), (std::vector<std::string>{"GR1"}));
    EXPECT_EQ(nuts2->GetParent(), nuts1);
    EXPECT_EQ(nuts2->GetCountry(), country);
    EXPECT_FALSE(session().GetModified());
}

TEST_F(Regions, DefaultNamesByType)
{
    const std::vector<std::string> names{"Unknown country",
                                         "Unknown NUTS level 1",
                                         "Unknown NUTS level 2",
                                         "Unknown NUTS level 3",
                                         "Unknown RBD",
                                         "Unknown Subunit",
                                         "Unknown RB"};
    for (int t = rtCountry; t <= rtRB; ++t)
        EXPECT_EQ((new TRegion(nullptr, static_cast<TRegionType>(t), "X"))->FName, names[t]);
    EXPECT_EQ(Codes(session().FRegions).size(), 7u);
    EXPECT_EQ(session().FNUTS.Count(), 3);
}

TEST_F(Regions, GetCountryFindsTheOutermostCountryOrNone)
{
    auto* country = new TRegion(nullptr, rtCountry, "GR");
    auto* rbd = new TRegion(country, rtRBD, "GR01");
    auto* su = new TRegion(rbd, rtSU, "GR01S1");
    EXPECT_EQ(su->GetCountry(), country);
    EXPECT_EQ(country->GetCountry(), country);
    auto* orphan = new TRegion(nullptr, rtRBD, "X1");
    EXPECT_EQ((new TRegion(orphan, rtSU, "X1S"))->GetCountry(), nullptr);
}

TEST_F(Regions, DestroyingACountryFreesItsSubtreeAndTheirStations)
{
    auto* greece = new TRegion(nullptr, rtCountry, "GR");
    auto* italy = new TRegion(nullptr, rtCountry, "IT");
    auto* nuts1 = new TRegion(greece, rtNUTS1, "GR1");
    auto* nuts2 = new TRegion(nuts1, rtNUTS2, "GR11");
    auto* rbd = new TRegion(greece, rtRBD, "GR01");
    new TRegion(rbd, rtSU, "GR01S");
    auto* italianRbd = new TRegion(italy, rtRBD, "IT01");
    new TWell(nuts2, "W1");
    new TReservoir(rbd, "R1");
    new TStreamFlow(greece, "F1");
    auto* italianGauge = new TRainGauge(italianRbd, "P1");
    session().SetModified(false);

    delete greece;
    EXPECT_EQ(Codes(session().FRegions), (std::vector<std::string>{"IT", "IT01"}));
    EXPECT_EQ(Codes(session().FCountries), (std::vector<std::string>{"IT"}));
    EXPECT_EQ(session().FNUTS.Count() + session().FNUTS1.Count() + session().FNUTS2.Count() +
                  session().FSUs.Count(),
              0);
    EXPECT_EQ(Codes(session().FRBDs), (std::vector<std::string>{"IT01"}));
    ASSERT_EQ(session().FEntities.Count(), 1);
    EXPECT_EQ(session().FEntities[0], italianGauge);
    EXPECT_EQ(
        session().FWells.Count() + session().FReservoirs.Count() + session().FStreamFlows.Count(),
        0);
    EXPECT_TRUE(session().GetModified());
}

TEST_F(Regions, DestroyingAChildTakesItOutOfItsParent)
{
    auto* rbd = new TRegion(nullptr, rtRBD, "GR01");
    auto* first = new TRegion(rbd, rtSU, "S1");
    auto* second = new TRegion(rbd, rtSU, "S2");
    delete first;
    ASSERT_EQ(rbd->GetChildCount(), 1);
    EXPECT_EQ(rbd->GetChild(0), second);
    EXPECT_THROW(rbd->GetChild(1), std::out_of_range);
}

TEST_F(Regions, TablesStartMissingAndAreAllocatedOnTheFirstWrite)
{
    auto* region = new TRegion(nullptr, rtRBD, "GR01");
    EXPECT_FALSE(region->HasTables());
    const TRegionTables& t = region->Tables();
    EXPECT_EQ(t.FWAYear, -9999);
    EXPECT_EQ(t.FWBLTAAToYear, -9999);
    EXPECT_EQ(t.FWUTotalFreshwaterUsed[15], MissingReals<16>());
    EXPECT_EQ(t.FWBAdditional[4], MissingReals<16>());
    EXPECT_EQ(t.FWANonFWSource[10], nfsUnknown);
    EXPECT_EQ(t.FWBArtifGWOrigin, agoUnknown);
    EXPECT_TRUE(t.FWULargeItemsCity.empty());
    EXPECT_FALSE(region->HasTables());
    region->EditTables().FWAYear = 2005;
    EXPECT_TRUE(region->HasTables());
    EXPECT_EQ(region->Tables().FWAYear, 2005);
    EXPECT_EQ(region->Tables().FWBReusedWater[10][15], -9999.0);
}

TEST_F(Regions, CountStationsCountsOnlyThisRegionsStations)
{
    auto* a = new TRegion(nullptr, rtRBD, "A");
    auto* b = new TRegion(nullptr, rtRBD, "B");
    new TWell(a, "1");
    new TWell(b, "2");
    new TReservoir(a, "3");
    int count = -1;
    EXPECT_TRUE(a->CountStations(session().FEntities, count));
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(a->CountStations(session().FWells, count));
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(a->CountStations(session().FStreamFlows, count));
    EXPECT_EQ(count, 0);
}

TEST_F(RegionPredicates, ZeroIsDataAndTheRegionThresholdIsTheMissingValue)
{
    auto* region = new TRegion(nullptr, rtRBD, "A");
    EXPECT_FALSE(region->HasData());
    region->EditTables().FWBWaterStorage[2][7] = 0.0;
    EXPECT_TRUE(region->HasWaterStorageData());
    EXPECT_TRUE(region->HasWaterBalanceData());
    EXPECT_TRUE(region->HasData());

    auto* other = new TRegion(nullptr, rtRBD, "B");
    other->EditTables().FWATotalAbstraction[0] = -9998.5;
    EXPECT_TRUE(other->HasTotalAbstractionData());
    EXPECT_TRUE(other->HasWaterAbstractionData());
    EXPECT_FALSE(ArrayHasData(other->Tables().FWATotalAbstraction));
}

TEST_F(RegionPredicates, YearsRemarksTextsAndWordsAreNoData)
{
    auto* region = new TRegion(nullptr, rtRBD, "A");
    TRegionTables& t = region->EditTables();
    t.FWBYear = t.FWAYear = t.FWUYear = 2005;
    t.FWBRemarks = t.FWARemarks = t.FWURemarks = "remark";
    t.FWBReturnedUnit = t.FWBReusedUnit = t.FWBImportsOrigin = "unit";
    t.FWBArtifGWOrigin = agoWaterImports;
    t.FWANonFWSource.fill(nfsMarine);
    t.FWULTAAFromYear = 1990;
    EXPECT_FALSE(region->HasData());
}

TEST_F(RegionPredicates, EachTableFeedsItsOwnGroup)
{
    struct Case {
        const char* name;
        void (*fill)(TRegionTables&);
        bool (TRegion::*predicate)() const;
        bool (TRegion::*table)() const;
    };
    const std::vector<Case> cases{
        {"hydrometeorological", [](TRegionTables& t) { t.FWBHydrometeorological[8][0] = 1; },
         &TRegion::HasHydrometeorologicalData, &TRegion::HasWaterBalanceData},
        {"losses", [](TRegionTables& t) { t.FWBLossesBetwnUseAndReuse[15] = 1; },
         &TRegion::HasReturnedReusedWaterData, &TRegion::HasWaterBalanceData},
        {"reused", [](TRegionTables& t) { t.FWBReusedWater[10][3] = 1; },
         &TRegion::HasReturnedReusedWaterData, &TRegion::HasWaterBalanceData},
        {"desalinated", [](TRegionTables& t) { t.FWBDesalinatedWater[0][0] = 1; },
         &TRegion::HasAdditionalWaterResourcesData, &TRegion::HasWaterBalanceData},
        {"bottled exports", [](TRegionTables& t) { t.FWBAdditional[4][12] = 1; },
         &TRegion::HasAdditionalWaterResourcesData, &TRegion::HasWaterBalanceData},
        {"public wss from rainwater",
         [](TRegionTables& t) { t.FWAForPublicWSSFromRainwater[1] = 1; },
         &TRegion::HasPublicWSSAbstractionData, &TRegion::HasWaterAbstractionData},
        {"self supply gw",
         [](TRegionTables& t) { t.FWAAbstractionForSelfSupplyTotalGW[15][15] = 1; },
         &TRegion::HasSelfSupplyAbstractionData, &TRegion::HasWaterAbstractionData},
        {"evaporation", [](TRegionTables& t) { t.FWAEvaporationLosses[4] = 1; },
         &TRegion::HasTotalAbstractionData, &TRegion::HasWaterAbstractionData},
        {"non freshwater", [](TRegionTables& t) { t.FWANonFreshwater[13][2] = 1; },
         &TRegion::HasTotalAbstractionData, &TRegion::HasWaterAbstractionData},
        {"recycled", [](TRegionTables& t) { t.FWURecycledWater[5][5] = 1; },
         &TRegion::HasWaterUseData, &TRegion::HasWaterUseData},
        {"large item", [](TRegionTables& t) { t.FWULargeItemsAgricUnit.emplace_back(); },
         &TRegion::HasWaterUseData, &TRegion::HasWaterUseData},
    };
    const std::vector<bool (TRegion::*)() const> tables{&TRegion::HasWaterBalanceData,
                                                        &TRegion::HasWaterAbstractionData,
                                                        &TRegion::HasWaterUseData};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* region = new TRegion(nullptr, rtRBD, c.name);
        c.fill(region->EditTables());
        EXPECT_TRUE((region->*c.predicate)());
        for (auto table : tables)
            EXPECT_EQ((region->*table)(), table == c.table);
        EXPECT_TRUE(region->HasData());
    }
}

TEST_F(RegionPredicates, AStationAloneIsDataButNoTable)
{
    auto* region = new TRegion(nullptr, rtRBD, "A");
    new TWell(region, "W");
    EXPECT_TRUE(region->HasStations());
    EXPECT_TRUE(region->HasData());
    EXPECT_FALSE(region->HasWaterUseData());
    EXPECT_FALSE(region->HasTables());
}

}  // namespace
