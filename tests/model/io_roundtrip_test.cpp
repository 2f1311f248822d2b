// A session with every field set to its own value is saved, read into a fresh
// session over the same region tree, and compared field by field.

#include <functional>

#include "io/ozr_io_load.h"
#include "io_save_fixture.h"
#include "platform/regional_settings.h"

namespace {

// Every value differs from the others and survives 15 significant digits.
class TValues {
public:
    double Real() { return ++next_ * 1.25 + 0.0625; }
    int Integer() { return 1900 + ++next_ % 100; }
    std::string Text(const char* what) { return what + std::to_string(++next_); }
    void Fill(TEntityData& values)
    {
        for (double& value : values)
            value = Real();
    }
    template <std::size_t N>
    void Fill(std::array<double, N>& values)
    {
        for (double& value : values)
            value = Real();
    }
    template <std::size_t N>
    void Fill(std::array<TEntityData, N>& quantities)
    {
        for (TEntityData& values : quantities)
            Fill(values);
    }
    std::vector<ozr_wu_large_item> LargeItems(int count)
    {
        std::vector<ozr_wu_large_item> items(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            items[i].ItemName = Text(" item & <name> ");
            items[i].ItemClass = 1 + i % 3;
            Fill(items[i].WaterUse);
        }
        return items;
    }

private:
    int next_ = 0;
};

void FillTables(TRegionTables& t, TValues& v, int variant)
{
    t.FWAYear = v.Integer();
    t.FWBYear = v.Integer();
    t.FWUYear = v.Integer();
    t.FWURemarks = v.Text("use ");
    t.FWULTAAFromYear = v.Integer();
    t.FWULTAAToYear = v.Integer();
    v.Fill(t.FWUTotalFreshwaterUsed);
    v.Fill(t.FWUPublicWaterSupply);
    v.Fill(t.FWUSelfSupply);
    v.Fill(t.FWURecycledWater);
    t.FWULargeItemsCity = v.LargeItems(2);
    t.FWULargeItemsIndustry = v.LargeItems(1);
    t.FWULargeItemsAgricUnit = v.LargeItems(3);
    t.FWARemarks = v.Text("abstraction\n");
    t.FWALTAAFromYear = v.Integer();
    t.FWALTAAToYear = v.Integer();
    for (TEntityData* q :
         {&t.FWATotalAbstraction, &t.FWATotalAbstractionSW, &t.FWATotalAbstractionGW,
          &t.FWATotalAbstractionFromRainwater, &t.FWATotalAbstractionForHydropower,
          &t.FWAAvailableGroundwater, &t.FWAEvaporationLosses, &t.FWAForPublicWSS,
          &t.FWAForPublicWSSSW, &t.FWAForPublicWSSGW, &t.FWAForPublicWSSFromRainwater,
          &t.FWAAbstractionForSelfSupplyTotal, &t.FWAForSelfSupplyFromRainwater,
          &t.FWBLossesBetwnUseAndReuse})
        v.Fill(*q);
    v.Fill(t.FWANonFreshwater);
    for (std::size_t i = 0; i < t.FWANonFWSource.size(); ++i)
        t.FWANonFWSource[i] = static_cast<TNonFWSource>((i + variant) % nfsUnknown);
    v.Fill(t.FWAAbstractionForSelfSupplyTotalSW);
    v.Fill(t.FWAAbstractionForSelfSupplyTotalGW);
    t.FWBRemarks = v.Text("balance \xCE\xB1 ");
    t.FWBLTAAFromYear = v.Integer();
    t.FWBLTAAToYear = v.Integer();
    v.Fill(t.FWBHydrometeorological);
    v.Fill(t.FWBWaterStorage);
    v.Fill(t.FWBReturned);
    v.Fill(t.FWBReusedWater);
    t.FWBReturnedUnit = v.Text("returned ");
    t.FWBReusedUnit = v.Text("reused ");
    v.Fill(t.FWBDesalinatedWater);
    v.Fill(t.FWBAdditional);
    t.FWBImportsOrigin = v.Text("\"imports\" ");
    t.FWBExportsDestination = v.Text("exports ");
    t.FWBArtifGWOrigin = static_cast<TArtifGWOrigin>(variant % agoUnknown);
}

void ExpectSameItems(const std::vector<ozr_wu_large_item>& a,
                     const std::vector<ozr_wu_large_item>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].ItemName, b[i].ItemName);
        EXPECT_EQ(a[i].ItemClass, b[i].ItemClass);
        EXPECT_EQ(a[i].WaterUse, b[i].WaterUse);
    }
}

void ExpectSameTables(const TRegionTables& a, const TRegionTables& b)
{
    EXPECT_EQ(a.FWAYear, b.FWAYear);
    EXPECT_EQ(a.FWBYear, b.FWBYear);
    EXPECT_EQ(a.FWUYear, b.FWUYear);
    EXPECT_EQ(a.FWURemarks, b.FWURemarks);
    EXPECT_EQ(a.FWULTAAFromYear, b.FWULTAAFromYear);
    EXPECT_EQ(a.FWULTAAToYear, b.FWULTAAToYear);
    EXPECT_EQ(a.FWUTotalFreshwaterUsed, b.FWUTotalFreshwaterUsed);
    EXPECT_EQ(a.FWUPublicWaterSupply, b.FWUPublicWaterSupply);
    EXPECT_EQ(a.FWUSelfSupply, b.FWUSelfSupply);
    EXPECT_EQ(a.FWURecycledWater, b.FWURecycledWater);
    ExpectSameItems(a.FWULargeItemsCity, b.FWULargeItemsCity);
    ExpectSameItems(a.FWULargeItemsIndustry, b.FWULargeItemsIndustry);
    ExpectSameItems(a.FWULargeItemsAgricUnit, b.FWULargeItemsAgricUnit);
    EXPECT_EQ(a.FWARemarks, b.FWARemarks);
    EXPECT_EQ(a.FWALTAAFromYear, b.FWALTAAFromYear);
    EXPECT_EQ(a.FWALTAAToYear, b.FWALTAAToYear);
    EXPECT_EQ(a.FWATotalAbstraction, b.FWATotalAbstraction);
    EXPECT_EQ(a.FWATotalAbstractionSW, b.FWATotalAbstractionSW);
    EXPECT_EQ(a.FWATotalAbstractionGW, b.FWATotalAbstractionGW);
    EXPECT_EQ(a.FWATotalAbstractionFromRainwater, b.FWATotalAbstractionFromRainwater);
    EXPECT_EQ(a.FWATotalAbstractionForHydropower, b.FWATotalAbstractionForHydropower);
    EXPECT_EQ(a.FWAAvailableGroundwater, b.FWAAvailableGroundwater);
    EXPECT_EQ(a.FWAEvaporationLosses, b.FWAEvaporationLosses);
    EXPECT_EQ(a.FWANonFreshwater, b.FWANonFreshwater);
    EXPECT_EQ(a.FWANonFWSource, b.FWANonFWSource);
    EXPECT_EQ(a.FWAForPublicWSS, b.FWAForPublicWSS);
    EXPECT_EQ(a.FWAForPublicWSSSW, b.FWAForPublicWSSSW);
    EXPECT_EQ(a.FWAForPublicWSSGW, b.FWAForPublicWSSGW);
    EXPECT_EQ(a.FWAForPublicWSSFromRainwater, b.FWAForPublicWSSFromRainwater);
    EXPECT_EQ(a.FWAAbstractionForSelfSupplyTotal, b.FWAAbstractionForSelfSupplyTotal);
    EXPECT_EQ(a.FWAForSelfSupplyFromRainwater, b.FWAForSelfSupplyFromRainwater);
    EXPECT_EQ(a.FWAAbstractionForSelfSupplyTotalSW, b.FWAAbstractionForSelfSupplyTotalSW);
    EXPECT_EQ(a.FWAAbstractionForSelfSupplyTotalGW, b.FWAAbstractionForSelfSupplyTotalGW);
    EXPECT_EQ(a.FWBRemarks, b.FWBRemarks);
    EXPECT_EQ(a.FWBLTAAFromYear, b.FWBLTAAFromYear);
    EXPECT_EQ(a.FWBLTAAToYear, b.FWBLTAAToYear);
    EXPECT_EQ(a.FWBHydrometeorological, b.FWBHydrometeorological);
    EXPECT_EQ(a.FWBWaterStorage, b.FWBWaterStorage);
    EXPECT_EQ(a.FWBReturned, b.FWBReturned);
    EXPECT_EQ(a.FWBReusedWater, b.FWBReusedWater);
    EXPECT_EQ(a.FWBLossesBetwnUseAndReuse, b.FWBLossesBetwnUseAndReuse);
    EXPECT_EQ(a.FWBReturnedUnit, b.FWBReturnedUnit);
    EXPECT_EQ(a.FWBReusedUnit, b.FWBReusedUnit);
    EXPECT_EQ(a.FWBDesalinatedWater, b.FWBDesalinatedWater);
    EXPECT_EQ(a.FWBAdditional, b.FWBAdditional);
    EXPECT_EQ(a.FWBImportsOrigin, b.FWBImportsOrigin);
    EXPECT_EQ(a.FWBExportsDestination, b.FWBExportsDestination);
    EXPECT_EQ(a.FWBArtifGWOrigin, b.FWBArtifGWOrigin);
}

void FillEntity(TEntity& e, TValues& v)
{
    e.FName = v.Text(" name ");
    e.FYear = v.Integer();
    e.FLongitude = v.Real();
    e.FLatitude = -(v.Integer() % 90) - 0.5;
    e.FAltitude = v.Real();
    e.FCoordinateSystem = v.Text("coordinates ");
    e.FProjectionSystem = v.Text("projection ");
    e.FRemarks = v.Text("remarks <&> ");
}

void ExpectSameEntity(const TEntity& a, const TEntity& b)
{
    EXPECT_EQ(a.GetID(), b.GetID());
    EXPECT_EQ(a.FName, b.FName);
    EXPECT_EQ(a.FYear, b.FYear);
    EXPECT_EQ(a.FLongitude, b.FLongitude);
    EXPECT_EQ(a.FLatitude, b.FLatitude);
    EXPECT_EQ(a.FAltitude, b.FAltitude);
    EXPECT_EQ(a.FCoordinateSystem, b.FCoordinateSystem);
    EXPECT_EQ(a.FProjectionSystem, b.FProjectionSystem);
    ASSERT_NE(b.FRegion, nullptr);
    EXPECT_EQ(a.FRegion->GetCode(), b.FRegion->GetCode());
    EXPECT_EQ(a.FRegion->GetRegionType(), b.FRegion->GetRegionType());
    EXPECT_EQ(a.FRemarks, b.FRemarks);
}

void FillReservoir(TReservoir& s, TValues& v, int variant)
{
    s.FStorageCapacity = v.Real();
    s.FReservoirType = static_cast<TReservoirType>(variant % rsUnknown);
    v.Fill(s.FInflow);
    v.Fill(s.FOutflow);
    s.FLTAAFromYear = v.Integer();
    s.FLTAAToYear = v.Integer();
}

void ExpectSameReservoir(const TReservoir& a, const TReservoir& b)
{
    EXPECT_EQ(a.FStorageCapacity, b.FStorageCapacity);
    EXPECT_EQ(a.FReservoirType, b.FReservoirType);
    EXPECT_EQ(a.FInflow, b.FInflow);
    EXPECT_EQ(a.FOutflow, b.FOutflow);
    EXPECT_EQ(a.FLTAAFromYear, b.FLTAAFromYear);
    EXPECT_EQ(a.FLTAAToYear, b.FLTAAToYear);
}

void FillRainGauge(TRainGauge& s, TValues& v, int variant)
{
    s.FRiverBasin = v.Text("basin ");
    s.FRiverBasinArea = v.Real();
    s.FSubcatchment = v.Text("sub ");
    s.FSubcatchmentArea = v.Real();
    s.FDunmar = variant % 2 == 0;
    s.FWFD = variant % 2 == 1;
    s.FDataPeriodFrom = v.Integer();
    s.FDataPeriodTo = v.Integer();
    s.FDataURL = v.Text("http://example.org/?a=1&b=");
    s.FDataAgency = v.Text("agency ");
    s.FTimeScale = static_cast<TTimeScale>(variant % tsUnknown);
}

void ExpectSameRainGauge(const TRainGauge& a, const TRainGauge& b)
{
    EXPECT_EQ(a.FRiverBasin, b.FRiverBasin);
    EXPECT_EQ(a.FRiverBasinArea, b.FRiverBasinArea);
    EXPECT_EQ(a.FSubcatchment, b.FSubcatchment);
    EXPECT_EQ(a.FSubcatchmentArea, b.FSubcatchmentArea);
    EXPECT_EQ(a.FDunmar, b.FDunmar);
    EXPECT_EQ(a.FWFD, b.FWFD);
    EXPECT_EQ(a.FDataPeriodFrom, b.FDataPeriodFrom);
    EXPECT_EQ(a.FDataPeriodTo, b.FDataPeriodTo);
    EXPECT_EQ(a.FDataURL, b.FDataURL);
    EXPECT_EQ(a.FDataAgency, b.FDataAgency);
    EXPECT_EQ(a.FTimeScale, b.FTimeScale);
}

void FillWell(TWell& s, TValues& v, int variant)
{
    s.FGWB = v.Text("gwb ");
    s.FGWBOutsideRB = variant % 2;
    s.FGWBOutsideRBD = 1 - variant % 2;
    v.Fill(s.FMeanLevel);
    s.FMonthMinLevel = variant % 12;
    s.FMonthMaxLevel = 11 - variant % 12;
    s.FLTAAFromYear = v.Integer();
    s.FLTAAToYear = v.Integer();
}

void ExpectSameWell(const TWell& a, const TWell& b)
{
    EXPECT_EQ(a.FGWB, b.FGWB);
    EXPECT_EQ(a.FGWBOutsideRB, b.FGWBOutsideRB);
    EXPECT_EQ(a.FGWBOutsideRBD, b.FGWBOutsideRBD);
    EXPECT_EQ(a.FMeanLevel, b.FMeanLevel);
    EXPECT_EQ(a.FMonthMinLevel, b.FMonthMinLevel);
    EXPECT_EQ(a.FMonthMaxLevel, b.FMonthMaxLevel);
    EXPECT_EQ(a.FLTAAFromYear, b.FLTAAFromYear);
    EXPECT_EQ(a.FLTAAToYear, b.FLTAAToYear);
}

void FillStreamFlow(TStreamFlow& s, TValues& v, int variant)
{
    s.FRiver = v.Text("river ");
    s.FRiverBasin = v.Text("basin ");
    s.FRiverBasinArea = v.Real();
    s.FSubcatchment = v.Text("sub ");
    s.FSubcatchmentArea = v.Real();
    s.FDunmar = variant % 2 == 1;
    s.FWFD = variant % 2 == 0;
    s.FDataFromYear = v.Integer();
    s.FDataToYear = v.Integer();
    s.FDataURL = v.Text("url ");
    s.FDataAgency = v.Text("agency ");
    s.FMinDischarge = v.Real();
    s.FMinDischargeDate = "01/02/2005";
    s.FMaxDischarge = v.Real();
    s.FMaxDischargeDate = "31/12/2005";
    s.FAnnualData = v.Real();
    s.FLTAA = v.Real();
    v.Fill(s.FMonthlyData);
    v.Fill(s.FLTAAData);
    s.FLTAAFromYear = v.Integer();
    s.FLTAAToYear = v.Integer();
    v.Fill(s.FDailyData);
}

void ExpectSameStreamFlow(const TStreamFlow& a, const TStreamFlow& b)
{
    EXPECT_EQ(a.FRiver, b.FRiver);
    EXPECT_EQ(a.FRiverBasin, b.FRiverBasin);
    EXPECT_EQ(a.FRiverBasinArea, b.FRiverBasinArea);
    EXPECT_EQ(a.FSubcatchment, b.FSubcatchment);
    EXPECT_EQ(a.FSubcatchmentArea, b.FSubcatchmentArea);
    EXPECT_EQ(a.FDunmar, b.FDunmar);
    EXPECT_EQ(a.FWFD, b.FWFD);
    EXPECT_EQ(a.FDataFromYear, b.FDataFromYear);
    EXPECT_EQ(a.FDataToYear, b.FDataToYear);
    EXPECT_EQ(a.FDataURL, b.FDataURL);
    EXPECT_EQ(a.FDataAgency, b.FDataAgency);
    EXPECT_EQ(a.FMinDischarge, b.FMinDischarge);
    EXPECT_EQ(a.FMinDischargeDate, b.FMinDischargeDate);
    EXPECT_EQ(a.FMaxDischarge, b.FMaxDischarge);
    EXPECT_EQ(a.FMaxDischargeDate, b.FMaxDischargeDate);
    EXPECT_EQ(a.FAnnualData, b.FAnnualData);
    EXPECT_EQ(a.FLTAA, b.FLTAA);
    EXPECT_EQ(a.FMonthlyData, b.FMonthlyData);
    EXPECT_EQ(a.FLTAAData, b.FLTAAData);
    EXPECT_EQ(a.FLTAAFromYear, b.FLTAAFromYear);
    EXPECT_EQ(a.FLTAAToYear, b.FLTAAToYear);
    EXPECT_EQ(a.FDailyData, b.FDailyData);
}

// The same tree of one region of each type in any session.
void BuildTree()
{
    auto* country = new TRegion(nullptr, rtCountry, "GR");
    country->FName = "Greece";
    auto* nuts1 = new TRegion(country, rtNUTS1, "GR1");
    auto* nuts2 = new TRegion(nuts1, rtNUTS2, "GR11");
    new TRegion(nuts2, rtNUTS3, "GR111");
    auto* rbd = new TRegion(country, rtRBD, "GR01");
    new TRegion(rbd, rtSU, "GR01S");
    new TRegion(country, rtRB, "GR01B");
}

class RoundTrip : public SessionTest {
protected:
    RoundTrip()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "wq-trip-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        path_ = (folder_ / "trip.wqd").string();
        BuildTree();
    }
    ~RoundTrip() override
    {
        Session = &session();
        std::filesystem::remove_all(folder_);
    }

    void FillSession()
    {
        TValues v;
        session().SetCountry(static_cast<TRegion*>(session().FCountries[0]));
        session().FResponsible = " Maria \xCE\x9C. ";
        session().FEmail = "m@example.org";
        session().FRemarks = "first line\nsecond \"line\" & more";
        for (int i = 0; i < session().FRegions.Count(); ++i) {
            auto* region = static_cast<TRegion*>(session().FRegions[i]);
            FillTables(region->EditTables(), v, i);
            for (int k = 0; k < 2; ++k) {
                const std::string id = region->GetCode() + "-" + std::to_string(k);
                const int variant = i * 2 + k;
                auto* flow = new TStreamFlow(region, "F" + id);
                FillEntity(*flow, v);
                FillStreamFlow(*flow, v, variant);
                auto* well = new TWell(region, "W" + id);
                FillEntity(*well, v);
                FillWell(*well, v, variant);
                auto* gauge = new TRainGauge(region, "P" + id);
                FillEntity(*gauge, v);
                FillRainGauge(*gauge, v, variant);
                auto* reservoir = new TReservoir(region, "R" + id);
                FillEntity(*reservoir, v);
                FillReservoir(*reservoir, v, variant);
            }
        }
    }

    // Reads the saved file into a new session over the same tree.
    std::unique_ptr<TSession> ReadBack()
    {
        auto copy = std::make_unique<TSession>();
        Session = copy.get();
        BuildTree();
        copy->FDataFile = path_;
        LoadDataFile();
        Session = &session();
        return copy;
    }

    template <typename Station>
    void ExpectSameStations(const TListOZR& original, const TListOZR& copy,
                            const std::function<void(const Station&, const Station&)>& expectSame)
    {
        ASSERT_EQ(original.Count(), copy.Count());
        for (const TObject* item : original) {
            const auto& station = *static_cast<const Station*>(item);
            SCOPED_TRACE(station.GetID());
            const TEntity* found = copy.FirstEntityWithID(station.GetID());
            ASSERT_NE(found, nullptr);
            ExpectSameEntity(station, *found);
            expectSame(station, *static_cast<const Station*>(found));
        }
    }

    void ExpectSameSession(const TSession& copy)
    {
        EXPECT_EQ(copy.GetCountry()->GetCode(), "GR");
        EXPECT_EQ(copy.FResponsible, session().FResponsible);
        EXPECT_EQ(copy.FEmail, session().FEmail);
        EXPECT_EQ(copy.FRemarks, session().FRemarks);
        EXPECT_FALSE(copy.FCreationDate.empty());
        ASSERT_EQ(copy.FRegions.Count(), session().FRegions.Count());
        for (int i = 0; i < session().FRegions.Count(); ++i) {
            const auto* region = static_cast<const TRegion*>(session().FRegions[i]);
            SCOPED_TRACE(region->GetCode());
            ExpectSameTables(region->Tables(),
                             static_cast<const TRegion*>(copy.FRegions[i])->Tables());
        }
        EXPECT_EQ(copy.FEntities.Count(), session().FEntities.Count());
        ExpectSameStations<TStreamFlow>(session().FStreamFlows, copy.FStreamFlows,
                                        ExpectSameStreamFlow);
        ExpectSameStations<TWell>(session().FWells, copy.FWells, ExpectSameWell);
        ExpectSameStations<TRainGauge>(session().FRainGauges, copy.FRainGauges,
                                       ExpectSameRainGauge);
        ExpectSameStations<TReservoir>(session().FReservoirs, copy.FReservoirs,
                                       ExpectSameReservoir);
    }

    std::filesystem::path folder_;
    std::string path_;
};

TEST_F(RoundTrip, EveryFieldComesBack)
{
    FillSession();
    SaveDataFile(path_);
    ExpectSameSession(*ReadBack());
}

TEST_F(RoundTrip, EveryFieldComesBackWithADecimalComma)
{
    ScopedRegionalSettings comma(',');
    FillSession();
    SaveDataFile(path_);
    ExpectSameSession(*ReadBack());
}

TEST_F(RoundTrip, MissingValuesStayMissing)
{
    session().SetCountry(static_cast<TRegion*>(session().FCountries[0]));
    auto* region = static_cast<TRegion*>(session().FRBDs[0]);
    region->EditTables().FWBReturned[6][WetSeasonIndex] = 3;
    region->EditTables().FWULargeItemsCity.emplace_back();
    auto* flow = new TStreamFlow(region, "F");
    flow->FDailyData[59] = 0;
    SaveDataFile(path_);
    ExpectSameSession(*ReadBack());
}

}  // namespace
