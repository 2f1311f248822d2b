// A session with every field set to its own value is saved, read into a fresh
// session over the same region tree, and compared field by field.

#include <type_traits>

#include "io/ozr_io_load.h"
#include "platform/regional_settings.h"
#include "platform/worker_threads.h"
#include "tests/io/io_save_fixture.h"

static bool operator==(const ozr_wu_large_item& a, const ozr_wu_large_item& b)
{
    return a.ItemClass == b.ItemClass && a.WaterUse == b.WaterUse && a.ItemName == b.ItemName;
}

namespace {

// Every field of each record, visited as (original, copy) pairs: the same list
// fills a record and compares two.
template <typename Visit>
void TableFields(TRegionTables& a, TRegionTables& b, Visit&& visit)
{
    visit(a.FWAYear, b.FWAYear);
    visit(a.FWBYear, b.FWBYear);
    visit(a.FWUYear, b.FWUYear);
    visit(a.FWURemarks, b.FWURemarks);
    visit(a.FWULTAAFromYear, b.FWULTAAFromYear);
    visit(a.FWULTAAToYear, b.FWULTAAToYear);
    visit(a.FWUTotalFreshwaterUsed, b.FWUTotalFreshwaterUsed);
    visit(a.FWUPublicWaterSupply, b.FWUPublicWaterSupply);
    visit(a.FWUSelfSupply, b.FWUSelfSupply);
    visit(a.FWURecycledWater, b.FWURecycledWater);
    visit(a.FWULargeItemsCity, b.FWULargeItemsCity);
    visit(a.FWULargeItemsIndustry, b.FWULargeItemsIndustry);
    visit(a.FWULargeItemsAgricUnit, b.FWULargeItemsAgricUnit);
    visit(a.FWARemarks, b.FWARemarks);
    visit(a.FWALTAAFromYear, b.FWALTAAFromYear);
    visit(a.FWALTAAToYear, b.FWALTAAToYear);
    visit(a.FWATotalAbstraction, b.FWATotalAbstraction);
    visit(a.FWATotalAbstractionSW, b.FWATotalAbstractionSW);
    visit(a.FWATotalAbstractionGW, b.FWATotalAbstractionGW);
    visit(a.FWATotalAbstractionFromRainwater, b.FWATotalAbstractionFromRainwater);
    visit(a.FWATotalAbstractionForHydropower, b.FWATotalAbstractionForHydropower);
    visit(a.FWAAvailableGroundwater, b.FWAAvailableGroundwater);
    visit(a.FWAEvaporationLosses, b.FWAEvaporationLosses);
    visit(a.FWANonFreshwater, b.FWANonFreshwater);
    visit(a.FWANonFWSource, b.FWANonFWSource);
    visit(a.FWAForPublicWSS, b.FWAForPublicWSS);
    visit(a.FWAForPublicWSSSW, b.FWAForPublicWSSSW);
    visit(a.FWAForPublicWSSGW, b.FWAForPublicWSSGW);
    visit(a.FWAForPublicWSSFromRainwater, b.FWAForPublicWSSFromRainwater);
    visit(a.FWAAbstractionForSelfSupplyTotal, b.FWAAbstractionForSelfSupplyTotal);
    visit(a.FWAForSelfSupplyFromRainwater, b.FWAForSelfSupplyFromRainwater);
    visit(a.FWAAbstractionForSelfSupplyTotalSW, b.FWAAbstractionForSelfSupplyTotalSW);
    visit(a.FWAAbstractionForSelfSupplyTotalGW, b.FWAAbstractionForSelfSupplyTotalGW);
    visit(a.FWBRemarks, b.FWBRemarks);
    visit(a.FWBLTAAFromYear, b.FWBLTAAFromYear);
    visit(a.FWBLTAAToYear, b.FWBLTAAToYear);
    visit(a.FWBHydrometeorological, b.FWBHydrometeorological);
    visit(a.FWBWaterStorage, b.FWBWaterStorage);
    visit(a.FWBReturned, b.FWBReturned);
    visit(a.FWBReusedWater, b.FWBReusedWater);
    visit(a.FWBLossesBetwnUseAndReuse, b.FWBLossesBetwnUseAndReuse);
    visit(a.FWBReturnedUnit, b.FWBReturnedUnit);
    visit(a.FWBReusedUnit, b.FWBReusedUnit);
    visit(a.FWBDesalinatedWater, b.FWBDesalinatedWater);
    visit(a.FWBAdditional, b.FWBAdditional);
    visit(a.FWBImportsOrigin, b.FWBImportsOrigin);
    visit(a.FWBExportsDestination, b.FWBExportsDestination);
    visit(a.FWBArtifGWOrigin, b.FWBArtifGWOrigin);
}

template <typename Visit>
void EntityFields(TEntity& a, TEntity& b, Visit&& visit)
{
    visit(a.FName, b.FName);
    visit(a.FYear, b.FYear);
    visit(a.FLongitude, b.FLongitude);
    visit(a.FLatitude, b.FLatitude);
    visit(a.FAltitude, b.FAltitude);
    visit(a.FCoordinateSystem, b.FCoordinateSystem);
    visit(a.FProjectionSystem, b.FProjectionSystem);
    visit(a.FRemarks, b.FRemarks);
}

template <typename Visit>
void KindFields(TReservoir& a, TReservoir& b, Visit&& visit)
{
    visit(a.FStorageCapacity, b.FStorageCapacity);
    visit(a.FReservoirType, b.FReservoirType);
    visit(a.FInflow, b.FInflow);
    visit(a.FOutflow, b.FOutflow);
    visit(a.FLTAAFromYear, b.FLTAAFromYear);
    visit(a.FLTAAToYear, b.FLTAAToYear);
}

template <typename Visit>
void KindFields(TRainGauge& a, TRainGauge& b, Visit&& visit)
{
    visit(a.FRiverBasin, b.FRiverBasin);
    visit(a.FRiverBasinArea, b.FRiverBasinArea);
    visit(a.FSubcatchment, b.FSubcatchment);
    visit(a.FSubcatchmentArea, b.FSubcatchmentArea);
    visit(a.FDunmar, b.FDunmar);
    visit(a.FWFD, b.FWFD);
    visit(a.FDataPeriodFrom, b.FDataPeriodFrom);
    visit(a.FDataPeriodTo, b.FDataPeriodTo);
    visit(a.FDataURL, b.FDataURL);
    visit(a.FDataAgency, b.FDataAgency);
    visit(a.FTimeScale, b.FTimeScale);
}

// The yes/no values are set apart: any integer but 0 and 1 reads back unknown.
template <typename Visit>
void KindFields(TWell& a, TWell& b, Visit&& visit)
{
    visit(a.FGWB, b.FGWB);
    visit(a.FMeanLevel, b.FMeanLevel);
    visit(a.FMonthMinLevel, b.FMonthMinLevel);
    visit(a.FMonthMaxLevel, b.FMonthMaxLevel);
    visit(a.FLTAAFromYear, b.FLTAAFromYear);
    visit(a.FLTAAToYear, b.FLTAAToYear);
}

template <typename Visit>
void KindFields(TStreamFlow& a, TStreamFlow& b, Visit&& visit)
{
    visit(a.FRiver, b.FRiver);
    visit(a.FRiverBasin, b.FRiverBasin);
    visit(a.FRiverBasinArea, b.FRiverBasinArea);
    visit(a.FSubcatchment, b.FSubcatchment);
    visit(a.FSubcatchmentArea, b.FSubcatchmentArea);
    visit(a.FDunmar, b.FDunmar);
    visit(a.FWFD, b.FWFD);
    visit(a.FDataFromYear, b.FDataFromYear);
    visit(a.FDataToYear, b.FDataToYear);
    visit(a.FDataURL, b.FDataURL);
    visit(a.FDataAgency, b.FDataAgency);
    visit(a.FMinDischarge, b.FMinDischarge);
    visit(a.FMinDischargeDate, b.FMinDischargeDate);
    visit(a.FMaxDischarge, b.FMaxDischarge);
    visit(a.FMaxDischargeDate, b.FMaxDischargeDate);
    visit(a.FAnnualData, b.FAnnualData);
    visit(a.FLTAA, b.FLTAA);
    visit(a.FMonthlyData, b.FMonthlyData);
    visit(a.FLTAAData, b.FLTAAData);
    visit(a.FLTAAFromYear, b.FLTAAFromYear);
    visit(a.FLTAAToYear, b.FLTAAToYear);
    visit(a.FDailyData, b.FDailyData);
}

int KnownValues(TNonFWSource)
{
    return nfsUnknown;
}
int KnownValues(TArtifGWOrigin)
{
    return agoUnknown;
}
int KnownValues(TReservoirType)
{
    return rsUnknown;
}
int KnownValues(TTimeScale)
{
    return tsUnknown;
}

// Gives each field a value of its own that the file keeps: reals with a short
// exact decimal form, texts with blanks at both ends and characters to escape.
class TFiller {
public:
    void operator()(int& value, int&) { value = 1900 + ++next_ % 100; }
    void operator()(double& value, double&) { value = ++next_ * 1.25 + 0.0625; }
    void operator()(bool& value, bool&) { value = ++next_ % 2 == 0; }
    void operator()(std::string& value, std::string&)
    {
        value = " <text> & \"\xCE\xB1\" " + std::to_string(++next_) + " ";
    }
    template <typename E>
    requires std::is_enum_v<E>
    void operator()(E& value, E&) { value = static_cast<E>(++next_ % KnownValues(value)); }
    template <typename T, std::size_t N>
    void operator()(std::array<T, N>& values, std::array<T, N>&)
    {
        for (T& value : values)
            (*this)(value, value);
    }
    void operator()(std::vector<ozr_wu_large_item>& items, std::vector<ozr_wu_large_item>&)
    {
        items.resize(static_cast<std::size_t>(1 + ++next_ % 3));
        for (ozr_wu_large_item& item : items) {
            (*this)(item.ItemName, item.ItemName);
            item.ItemClass = 1 + ++next_ % 3;
            (*this)(item.WaterUse, item.WaterUse);
        }
    }

private:
    int next_ = 0;
};

const auto expectSame = [](const auto& original, const auto& copy) { EXPECT_EQ(original, copy); };

template <typename Station>
void AddFilledStation(TRegion* region, const std::string& id, TFiller& fill, int variant)
{
    auto* station = new Station(region, id);
    EntityFields(*station, *station, fill);
    KindFields(*station, *station, fill);
    if constexpr (std::is_same_v<Station, TWell>) {
        station->FGWBOutsideRB = variant % 2;
        station->FGWBOutsideRBD = 1 - variant % 2;
    }
}

template <typename Station>
void ExpectSameStations(const TListOZR& originals, const TListOZR& copies)
{
    ASSERT_EQ(originals.Count(), copies.Count());
    for (TObject* item : originals) {
        auto& original = *static_cast<Station*>(item);
        SCOPED_TRACE(original.GetID());
        auto* copy = static_cast<Station*>(copies.FirstEntityWithID(original.GetID()));
        ASSERT_NE(copy, nullptr);
        ASSERT_NE(copy->FRegion, nullptr);
        EXPECT_EQ(copy->FRegion->GetCode(), original.FRegion->GetCode());
        EntityFields(original, *copy, expectSame);
        KindFields(original, *copy, expectSame);
        if constexpr (std::is_same_v<Station, TWell>) {
            EXPECT_EQ(copy->FGWBOutsideRB, original.FGWBOutsideRB);
            EXPECT_EQ(copy->FGWBOutsideRBD, original.FGWBOutsideRBD);
        }
    }
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
        BuildTree();
        session().SetCountry(static_cast<TRegion*>(session().FCountries[0]));
    }
    ~RoundTrip() override { Session = &session(); }

    void FillSession()
    {
        TFiller fill;
        fill(session().FResponsible, session().FResponsible);
        session().FEmail = "m@example.org";
        session().FRemarks = "first line\nsecond \"line\" & more";
        for (int i = 0; i < session().FRegions.Count(); ++i) {
            auto* region = static_cast<TRegion*>(session().FRegions[i]);
            TableFields(region->EditTables(), region->EditTables(), fill);
            for (int k = 0; k < 2; ++k) {
                const std::string id = region->GetCode() + "-" + std::to_string(k);
                AddFilledStation<TStreamFlow>(region, "F" + id, fill, i + k);
                AddFilledStation<TWell>(region, "W" + id, fill, i + k);
                AddFilledStation<TRainGauge>(region, "P" + id, fill, i + k);
                AddFilledStation<TReservoir>(region, "R" + id, fill, i + k);
            }
        }
    }

    // Saves, reads the file into a new session over the same tree, and
    // compares that session with this one.
    void ExpectSameSessionAfterSaving()
    {
        SaveDataFile(path_);
        auto copy = std::make_unique<TSession>();
        Session = copy.get();
        BuildTree();
        copy->FDataFile = path_;
        LoadDataFile();
        Session = &session();

        EXPECT_EQ(copy->GetCountry()->GetCode(), "GR");
        EXPECT_EQ(copy->FResponsible, session().FResponsible);
        EXPECT_EQ(copy->FEmail, session().FEmail);
        EXPECT_EQ(copy->FRemarks, session().FRemarks);
        EXPECT_FALSE(copy->FCreationDate.empty());
        ASSERT_EQ(copy->FRegions.Count(), session().FRegions.Count());
        for (int i = 0; i < session().FRegions.Count(); ++i) {
            auto* region = static_cast<TRegion*>(session().FRegions[i]);
            SCOPED_TRACE(region->GetCode());
            TableFields(region->EditTables(),
                        static_cast<TRegion*>(copy->FRegions[i])->EditTables(), expectSame);
        }
        EXPECT_EQ(copy->FEntities.Count(), session().FEntities.Count());
        ExpectSameStations<TStreamFlow>(session().FStreamFlows, copy->FStreamFlows);
        ExpectSameStations<TWell>(session().FWells, copy->FWells);
        ExpectSameStations<TRainGauge>(session().FRainGauges, copy->FRainGauges);
        ExpectSameStations<TReservoir>(session().FReservoirs, copy->FReservoirs);
    }

    wqtest::TempFolder folder_;
    std::string path_ = folder_ / "trip.wqd";
};

TEST_F(RoundTrip, EveryFieldComesBack)
{
    FillSession();
    ExpectSameSessionAfterSaving();
}

TEST_F(RoundTrip, EveryFieldComesBackWithADecimalComma)
{
    ScopedRegionalSettings comma(',');
    FillSession();
    ExpectSameSessionAfterSaving();
}

// The tables of the regions are read on helper threads; where the system
// starts only some of them, or none, the rest is read all the same.
TEST_F(RoundTrip, EveryFieldComesBackWhenHelperThreadsDoNotStart)
{
    FillSession();
    for (const std::size_t failing : {0u, 2u}) {
        SCOPED_TRACE(failing);
        const TFailingThreadStart failure(failing);
        ExpectSameSessionAfterSaving();
    }
}

TEST_F(RoundTrip, MissingValuesStayMissing)
{
    auto* region = static_cast<TRegion*>(session().FRBDs[0]);
    region->EditTables().FWBReturned[6][WetSeasonIndex] = 3;
    region->EditTables().FWULargeItemsCity.emplace_back();
    auto* flow = new TStreamFlow(region, "F");
    flow->FDailyData[59] = 0;
    ExpectSameSessionAfterSaving();
}

}  // namespace
