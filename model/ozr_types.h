#pragma once

// The data model of one reporting run: the session and its lists, the region
// tree with the national tables, and the four kinds of station.
//
// Arrays are 0-based throughout: month m of a quantity is at [m - 1], day d of
// a stream-flow series at [d - 1], sector s of a table at [s - 1].
//
// Regions and stations register themselves in the session that is current
// (the global `Session`) when they are created, and stay tied to it.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/key_index.h"
#include "platform/datetime.h"
#include "platform/rtti.h"

class TRegion;
class TEntity;
class TSession;
class TSessionObserver;

// ---------------------------------------------------------------------------
// Missing values and enumerations

inline constexpr int MissingInteger = -9999;
inline constexpr double MissingReal = -9999.0;

enum TRegionType : std::uint8_t { rtCountry, rtNUTS1, rtNUTS2, rtNUTS3, rtRBD, rtSU, rtRB };
enum TReservoirType : std::uint8_t { rsManMade, rsNatural, rsUnknown };
enum TTimeScale : std::uint8_t { tsDaily, tsMonthly, tsAnnual, tsUnknown };
enum TArtifGWOrigin : std::uint8_t {
    agoReturnFlow,
    agoDesalinatedWater,
    agoWaterImports,
    agoUnknown
};
enum TNonFWSource : std::uint8_t {
    nfsBrackishSwamp,
    nfsEstuary,
    nfsLagoon,
    nfsMarine,
    nfsOther,
    nfsUnknown
};
enum TStationKind : std::uint8_t { skWell, skReservoir, skStreamFlow, skRainGauge };

// Yes/no values are plain integers: 1 yes, 0 no, MissingInteger unknown.
inline constexpr int YesValue = 1;
inline constexpr int NoValue = 0;

// ---------------------------------------------------------------------------
// Quantities and tables

// Months 1-12 at [0..11], then the annual value, wet season, dry season, LTAA.
using TEntityData = std::array<double, 16>;

// N reals, every one missing.
template <std::size_t N>
constexpr std::array<double, N> MissingReals()
{
    std::array<double, N> values{};
    values.fill(MissingReal);
    return values;
}

inline constexpr int AnnualIndex = 12;
inline constexpr int WetSeasonIndex = 13;
inline constexpr int DrySeasonIndex = 14;
inline constexpr int LTAAIndex = 15;

using TWaterUseData1 = std::array<TEntityData, 16>;
using TWaterUseData2 = std::array<TEntityData, 11>;

// The sector words, which are also the element names of the data file.
extern const std::array<const char*, 16> WaterUseData1Sectors;
extern const std::array<const char*, 11> WaterUseData2Sectors;

struct ozr_wu_large_item {
    int ItemClass = MissingInteger;
    TEntityData WaterUse = MissingReals<16>();
    std::string ItemName;
};

void InitWaterUseData1(TWaterUseData1& Table);
void InitWaterUseData2(TWaterUseData2& Table);
void InitLargeItem(ozr_wu_large_item& Item);

// Greater than MissingReal: the test of the region predicates.
bool WaterUseData1HasData(const TWaterUseData1& Table);
bool WaterUseData2HasData(const TWaterUseData2& Table);
// Greater than -9998.0: the test of the data-file writer for one series.
bool ArrayHasData(std::span<const double> Values);
bool ArrayRangeHasData(std::span<const double> Values, int First, int Last);

// ---------------------------------------------------------------------------
// The list class of the session's lists

// Frees the objects that it still holds when it is destroyed, last first.
// Keeps indexes by region code and by station ID ignoring case, so that the
// look-ups answer in constant time with the first match in list order.
// Change the list only through this class, not through a TList reference.
class TListOZR : public TList {
public:
    TListOZR();
    ~TListOZR() override;
    TListOZR(const TListOZR&) = delete;
    TListOZR& operator=(const TListOZR&) = delete;

    int Add(TObject* Item) override;
    // The same for objects whose class the caller knows: their keys are read
    // without asking the object for its class.
    int Add(TRegion* Item);
    int Add(TEntity* Item);
    void Insert(int Index, TObject* Item) override;
    void Delete(int Index) override;
    // Searches from the end, where the objects being freed usually stand.
    int Remove(TObject* Item) override;
    void Move(int CurrentIndex, int NewIndex) override;
    void Clear() override;
    // Room for Capacity objects in the list and in the indexes it keeps, so
    // that adding many objects copies neither again.
    void Reserve(int Capacity);

    // The first region of the list with exactly this code, or nullptr.
    TRegion* FirstRegionWithCode(std::string_view Code) const;
    // The first station of the list whose ID equals this one ignoring the case
    // of A to Z, or nullptr.
    TEntity* FirstEntityWithID(std::string_view ID) const;

    // Called when a region code or station ID of an existing object changes.
    static void KeysChanged();

private:
    struct TIndex {
        explicit TIndex(const TKeyKind& Kind) : Keys(Kind) {}
        TKeyIndex Keys;
        std::uint64_t Generation = 0;
        bool Built = false;
    };

    using TKeyOf = bool (*)(const TObject*, std::string_view&);

    static bool IsCurrent(const TIndex& Index);
    TObject* FirstWithKey(TIndex& Index, std::string_view Key) const;
    // Adds the object, with the keys that the readers find to the indexes.
    int AddKeyed(TObject* Item, TKeyOf CodeOf, TKeyOf IDOf);
    static void IndexAdded(TIndex& Index, TObject* Item, TKeyOf KeyOf);
    void IndexRemoved(TIndex& Index, TObject* Item, int Position);
    void DropIndexes();

    // The session drops the indexes before it frees everything.
    friend class TSession;

    mutable TIndex codes_;
    mutable TIndex ids_;
};

// ---------------------------------------------------------------------------
// The session

class TSession : public TObject {
public:
    TSession();
    // Frees every station and region of the session.
    ~TSession() override;
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    TRegion* GetCountry() const { return FCountry; }
    // Takes the country once; a later call warns and keeps the first.
    void SetCountry(TRegion* Country);
    bool GetModified() const { return FModified; }
    void SetModified(bool Value);

    void SetObserver(TSessionObserver* Observer) { FObserver = Observer; }
    TSessionObserver* GetObserver() const { return FObserver; }

    int FYear = 2008;
    std::string FResponsible;
    std::string FCreationDate;
    std::string FEmail;
    std::string FRemarks;

    TListOZR FRegions;
    TListOZR FCountries;
    TListOZR FNUTS;
    TListOZR FNUTS1;
    TListOZR FNUTS2;
    TListOZR FNUTS3;
    TListOZR FRBDs;
    TListOZR FSUs;
    TListOZR FRBs;
    TListOZR FEntities;
    TListOZR FReservoirs;
    TListOZR FRainGauges;
    TListOZR FWells;
    TListOZR FStreamFlows;

    // Keeps the bound document of the last data file read alive.
    std::shared_ptr<void> FDataDoc;
    std::string FDataFile;
    std::string FRegionsFile;

    // The session list of regions of this type (FNUTS1 for rtNUTS1, ...), or
    // nullptr for a value outside the enumeration.
    TListOZR* RegionList(TRegionType RegionType);
    // The session list of stations of this kind, or nullptr.
    TListOZR* StationList(TStationKind Kind);

private:
    TRegion* FCountry = nullptr;
    bool FModified = false;
    TSessionObserver* FObserver = nullptr;
};

// The session of the run, created by the main window; tests set their own.
extern TSession* Session;
// *Session; raises Exception when there is none.
TSession& CurrentSession();

inline constexpr const char* ApplicationTitle = "Tavrel-SoE WQ Data Request";

// ---------------------------------------------------------------------------
// Converters (a failing one raises Exception with the offending text)

std::string RegionTypeToStr(TRegionType RegionType);
TRegionType StrToRegionType(const std::string& Text);
TReservoirType StrToReservoirType(const std::string& Text);
TTimeScale StrToTimeScale(const std::string& Text);
std::string TimeScaleToStr(TTimeScale TimeScale);
TArtifGWOrigin StrToArtifGWOrigin(const std::string& Text);
int StrToYesNo(const std::string& Text);
TNonFWSource StrToNonFWSource(const std::string& Text);
std::string NonFWSourceToStr(TNonFWSource Source);
// "Country", "NUTS level 1", ... as the properties dialog shows region types.
std::string RegionTypeDisplayName(TRegionType RegionType);

// ---------------------------------------------------------------------------
// Look-ups (the out reference is nullptr when nothing is found)

bool FindRegionByCode(const TListOZR& List, std::string_view Code, TRegion*& Region);
bool FindRegion(const std::string& Code, TRegionType RegionType, TRegion*& Region);
bool FindEntityByID(const TListOZR& List, std::string_view ID, TEntity*& Entity);
bool FindStation(std::string_view ID, TStationKind Kind, TEntity*& Station);
bool CountryHasRegionsOfType(const TRegion* Country, TRegionType RegionType);

// ---------------------------------------------------------------------------
// Text and date helpers

// 366 for every year divisible by 4, else 365.
int DaysInYear(int Year);
// Positions are 1-based, as in the CSV readers that use them.
int FieldEnd(const std::string& Line, char Delimiter, bool SkipLeading, int& Start);
void NextField(const std::string& Line, char Delimiter, int& Start, std::string& Field,
               int& FieldEndPos);
// "2009-3-7 9:5:2": no leading zeros.
std::string DateTimeToText(const TDateTime& Moment);

// ---------------------------------------------------------------------------
// Regions

// The national tables of one region. A region allocates them on the first
// write only: most regions of the tree never hold data.
struct TRegionTables {
    TRegionTables();

    int FWAYear = MissingInteger;
    int FWBYear = MissingInteger;
    int FWUYear = MissingInteger;

    std::string FWURemarks;
    int FWULTAAFromYear = MissingInteger;
    int FWULTAAToYear = MissingInteger;
    TWaterUseData1 FWUTotalFreshwaterUsed;
    TWaterUseData1 FWUPublicWaterSupply;
    TWaterUseData1 FWUSelfSupply;
    TWaterUseData2 FWURecycledWater;
    std::vector<ozr_wu_large_item> FWULargeItemsCity;
    std::vector<ozr_wu_large_item> FWULargeItemsIndustry;
    std::vector<ozr_wu_large_item> FWULargeItemsAgricUnit;

    std::string FWARemarks;
    int FWALTAAFromYear = MissingInteger;
    int FWALTAAToYear = MissingInteger;
    TEntityData FWATotalAbstraction;
    TEntityData FWATotalAbstractionSW;
    TEntityData FWATotalAbstractionGW;
    TEntityData FWATotalAbstractionFromRainwater;
    TEntityData FWATotalAbstractionForHydropower;
    TEntityData FWAAvailableGroundwater;
    TEntityData FWAEvaporationLosses;
    TWaterUseData1 FWANonFreshwater;
    // Total, domestic, nace_a, irrigation, nace_b, nace_c, cooling in industry,
    // nace_d, cooling in electricity production, nace_i, other.
    std::array<TNonFWSource, 11> FWANonFWSource;
    TEntityData FWAForPublicWSS;
    TEntityData FWAForPublicWSSSW;
    TEntityData FWAForPublicWSSGW;
    TEntityData FWAForPublicWSSFromRainwater;
    TEntityData FWAAbstractionForSelfSupplyTotal;
    TEntityData FWAForSelfSupplyFromRainwater;
    TWaterUseData1 FWAAbstractionForSelfSupplyTotalSW;
    TWaterUseData1 FWAAbstractionForSelfSupplyTotalGW;

    std::string FWBRemarks;
    int FWBLTAAFromYear = MissingInteger;
    int FWBLTAAToYear = MissingInteger;
    // Areal precipitation, potential and actual evapotranspiration, internal
    // flow, total actual external inflow, total actual outflow, to the sea, to
    // neighbouring territories, aquifer recharge.
    std::array<TEntityData, 9> FWBHydrometeorological;
    // Snowpack, changes in reservoir storage, changes in groundwater storage.
    std::array<TEntityData, 3> FWBWaterStorage;
    // Return flow, returned before use, after use, treated effluent, of urban
    // plants, of other plants, non-treated effluent, cooling, hydropower.
    std::array<TEntityData, 9> FWBReturned;
    TWaterUseData2 FWBReusedWater;
    TEntityData FWBLossesBetwnUseAndReuse;
    std::string FWBReturnedUnit;
    std::string FWBReusedUnit;
    TWaterUseData2 FWBDesalinatedWater;
    // Water imports, water exports, artificial groundwater recharge, bottled
    // water imports, bottled water exports.
    std::array<TEntityData, 5> FWBAdditional;
    std::string FWBImportsOrigin;
    std::string FWBExportsDestination;
    TArtifGWOrigin FWBArtifGWOrigin = agoUnknown;

    // Whether the tables hold values, by table and by group within a table;
    // the data file writes a table or a group only where these hold.
    bool HasHydrometeorologicalData() const;
    bool HasWaterStorageData() const;
    bool HasReturnedReusedWaterData() const;
    bool HasAdditionalWaterResourcesData() const;
    bool HasWaterBalanceData() const;
    bool HasWaterUseData() const;
    bool HasPublicWSSAbstractionData() const;
    bool HasSelfSupplyAbstractionData() const;
    bool HasTotalAbstractionData() const;
    bool HasWaterAbstractionData() const;
};

class TRegion : public TObject {
public:
    // Registers the region in the current session's lists and in its parent.
    TRegion(TRegion* Parent, TRegionType RegionType, const std::string& Code);
    // The same, named at once rather than with the default name of its type.
    TRegion(TRegion* Parent, TRegionType RegionType, std::string_view Code, std::string_view Name);
    // Frees the children and the stations of the region and unregisters it.
    ~TRegion() override;
    TRegion(const TRegion&) = delete;
    TRegion& operator=(const TRegion&) = delete;

    const std::string& GetCode() const { return FCode; }
    TRegion* GetParent() const { return FParent; }
    TRegionType GetRegionType() const { return FRegionType; }
    TSession& GetSession() const { return FSession; }

    int GetChildCount() const { return static_cast<int>(FChildren.size()); }
    TRegion* GetChild(int Index) const;
    virtual void AddChild(TRegion* Child);
    // The outermost country on the way up from this region, or nullptr.
    TRegion* GetCountry() const;

    bool CountStations(const TListOZR& List, int& Count) const;
    bool HasStations() const;

    // The tables as they stand; all missing while nothing was written.
    const TRegionTables& Tables() const;
    // The tables for writing; allocates them on the first call.
    TRegionTables& EditTables();
    bool HasTables() const { return FTables != nullptr; }
    // Puts Tables (none for nullptr) in place of the region's own: a reader
    // fills tables apart and installs them only once all of its input is good.
    void ReplaceTables(std::unique_ptr<TRegionTables> Tables) { FTables = std::move(Tables); }

    // The predicates of the region's tables (TRegionTables).
    bool HasHydrometeorologicalData() const { return Tables().HasHydrometeorologicalData(); }
    bool HasWaterStorageData() const { return Tables().HasWaterStorageData(); }
    bool HasReturnedReusedWaterData() const { return Tables().HasReturnedReusedWaterData(); }
    bool HasAdditionalWaterResourcesData() const
    {
        return Tables().HasAdditionalWaterResourcesData();
    }
    bool HasWaterBalanceData() const { return Tables().HasWaterBalanceData(); }
    bool HasWaterUseData() const { return Tables().HasWaterUseData(); }
    bool HasPublicWSSAbstractionData() const { return Tables().HasPublicWSSAbstractionData(); }
    bool HasSelfSupplyAbstractionData() const { return Tables().HasSelfSupplyAbstractionData(); }
    bool HasTotalAbstractionData() const { return Tables().HasTotalAbstractionData(); }
    bool HasWaterAbstractionData() const { return Tables().HasWaterAbstractionData(); }
    bool HasData() const;

    std::string FName;

private:
    void RemoveChild(TRegion* Child);
    void FreeStationsIn(TListOZR& List);
    // The list or two lists of the region's type; unused places are nullptr.
    std::array<TListOZR*, 2> TypeLists() const;

    TSession& FSession;
    std::string FCode;
    TRegion* FParent;
    TRegionType FRegionType;
    std::vector<TRegion*> FChildren;
    std::unique_ptr<TRegionTables> FTables;
};

// ---------------------------------------------------------------------------
// Stations

class TEntity : public TObject {
public:
    ~TEntity() override;
    TEntity(const TEntity&) = delete;
    TEntity& operator=(const TEntity&) = delete;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClassInfo();

    const std::string& GetID() const { return FID; }
    void SetID(const std::string& ID);

    // The published properties.
    std::string GetID_() const { return FID; }
    std::string GetName_() const { return FName; }
    // Code and name of the region joined by "/"; "none" without a region.
    std::string GetRegion() const;
    std::string GetRegion_Type() const;

    std::string FName;
    int FYear;
    double FLongitude = MissingReal;
    double FLatitude = MissingReal;
    double FAltitude = MissingReal;
    std::string FCoordinateSystem;
    std::string FProjectionSystem;
    TRegion* FRegion;
    std::string FRemarks;

protected:
    // Registers the station in the session's FEntities and marks it modified;
    // the kind's constructor then adds it to its own list.
    TEntity(TRegion* Region, const std::string& ID);
    TSession& GetSession() const { return FSession; }

private:
    TSession& FSession;
    std::string FID;
};

class TReservoir : public TEntity {
public:
    TReservoir(TRegion* Region, const std::string& ID);
    ~TReservoir() override;
    const TClassInfo* ClassInfo() const override;

    double FStorageCapacity = MissingReal;
    TReservoirType FReservoirType = rsUnknown;
    TEntityData FInflow = MissingReals<16>();
    TEntityData FOutflow = MissingReals<16>();
    int FLTAAFromYear = MissingInteger;
    int FLTAAToYear = MissingInteger;
};

class TRainGauge : public TEntity {
public:
    TRainGauge(TRegion* Region, const std::string& ID);
    ~TRainGauge() override;
    const TClassInfo* ClassInfo() const override;

    std::string FRiverBasin;
    double FRiverBasinArea = MissingReal;
    std::string FSubcatchment;
    double FSubcatchmentArea = MissingReal;
    bool FDunmar = false;
    bool FWFD = false;
    int FDataPeriodFrom = MissingInteger;
    int FDataPeriodTo = MissingInteger;
    std::string FDataURL;
    std::string FDataAgency;
    TTimeScale FTimeScale = tsUnknown;
};

class TWell : public TEntity {
public:
    TWell(TRegion* Region, const std::string& ID);
    ~TWell() override;
    const TClassInfo* ClassInfo() const override;

    std::string FGWB;
    int FGWBOutsideRB = MissingInteger;
    int FGWBOutsideRBD = MissingInteger;
    TEntityData FMeanLevel = MissingReals<16>();
    // 0 for January to 11 for December; -1 when the well form stored no choice.
    int FMonthMinLevel = MissingInteger;
    int FMonthMaxLevel = MissingInteger;
    int FLTAAFromYear = MissingInteger;
    int FLTAAToYear = MissingInteger;
};

class TStreamFlow : public TEntity {
public:
    TStreamFlow(TRegion* Region, const std::string& ID);
    ~TStreamFlow() override;
    const TClassInfo* ClassInfo() const override;

    std::string FRiver;
    std::string FRiverBasin;
    double FRiverBasinArea = MissingReal;
    std::string FSubcatchment;
    double FSubcatchmentArea = MissingReal;
    bool FDunmar = false;
    bool FWFD = false;
    int FDataFromYear = MissingInteger;
    int FDataToYear = MissingInteger;
    std::string FDataURL;
    std::string FDataAgency;
    double FMinDischarge = MissingReal;
    std::string FMinDischargeDate;
    double FMaxDischarge = MissingReal;
    std::string FMaxDischargeDate;
    double FAnnualData = MissingReal;
    double FLTAA = MissingReal;
    std::array<double, 12> FMonthlyData = MissingReals<12>();
    std::array<double, 12> FLTAAData = MissingReals<12>();
    int FLTAAFromYear = MissingInteger;
    int FLTAAToYear = MissingInteger;
    // Day d of the year FYear at [d - 1].
    std::array<double, 366> FDailyData = MissingReals<366>();
};
