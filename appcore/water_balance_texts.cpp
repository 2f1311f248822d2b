#include "appcore/water_balance_texts.h"

#include <type_traits>

#include "appcore/form_texts.h"
#include "appcore/form_values.h"

namespace {

constexpr const char* SNonNegativeTableExpected =
    "A positive real number or zero is expected in all fields of: %s";

const std::vector<std::string> kSectorTitles = {"Total volume",
                                                "Domestic",
                                                "Agriculture (NACE A)",
                                                "Irrigation",
                                                "Mining & Quarrying (NACE B)",
                                                "Manufacturing industry (NACE C)",
                                                "Cooling water for industry",
                                                "Production of Electricity (NACE D)",
                                                "Cooling water for electricity",
                                                "Services (e.g. tourism) (NACE I)",
                                                "Other"};

const std::array<TWaterBalanceTableInfo, WaterBalanceTableCount> kTables = {{
    {"Hydrometeorological Parameters",
     "Hydrometeorological parameters",
     TNumberKind::NonNegativeReal,
     TShownValues::NonNegative,
     {"Areal Precipitation", "Pot. Evapotranspiration", "Act. Evapotranspiration", "Internal flow",
      "Total act. ext. inflow", "Total actual outflow", "Outflow into the sea",
      "Outflow into neighb. terr.", "Aquifer Recharge"}},
    // Changes in storage may be negative.
    {"Water Storage",
     "Water storage",
     TNumberKind::Real,
     TShownValues::AboveMissing,
     {"Snowpack", "Changes in reservoir storage", "Changes in groundwater storage"}},
    {"Returned Water",
     "Returned water",
     TNumberKind::NonNegativeReal,
     TShownValues::NonNegative,
     {"Total return flow", "Returned before use", "Returned after use", "Treated effluent",
      "Treated effluent (UWWTP)", "Treated effluent (Other)", "Non-treated effluent",
      "Non-treated effl. (Cooling)", "Non-treated effl. (Hydropower)",
      "Losses betwn. use and reuse"}},
    {"Reused Water", "Reused water", TNumberKind::NonNegativeReal, TShownValues::NonNegative,
     kSectorTitles},
    {"Desalinated Water", "Desalinated water", TNumberKind::NonNegativeReal,
     TShownValues::NonNegative, kSectorTitles},
    {"Additional Storage Resources",
     "Additional water resources",
     TNumberKind::NonNegativeReal,
     TShownValues::NonNegative,
     {"Water imports", "Water exports", "Artif. GW recharge", "Bottled Water (imported)",
      "Bottled Water (exported)"}},
}};

// The quantities behind each table's columns, in column order; the last
// column of the returned water is the losses between use and reuse.
template <typename TTables>
auto TableColumns(TTables& tables, TWaterBalanceTable table)
{
    using TQuantity = std::conditional_t<std::is_const_v<TTables>, const TEntityData, TEntityData>;
    std::vector<TQuantity*> columns;
    const auto add = [&columns](auto& quantities) {
        for (auto& quantity : quantities)
            columns.push_back(&quantity);
    };
    switch (table) {
        case wbHydrometeorological: add(tables.FWBHydrometeorological); break;
        case wbWaterStorage: add(tables.FWBWaterStorage); break;
        case wbReturned:
            add(tables.FWBReturned);
            columns.push_back(&tables.FWBLossesBetwnUseAndReuse);
            break;
        case wbReused: add(tables.FWBReusedWater); break;
        case wbDesalinated: add(tables.FWBDesalinatedWater); break;
        case wbAdditional: add(tables.FWBAdditional); break;
    }
    return columns;
}

TWaterBalanceTable TableAt(int index)
{
    return static_cast<TWaterBalanceTable>(index);
}

}  // namespace

const TWaterBalanceTableInfo& WaterBalanceTableInfo(TWaterBalanceTable table)
{
    return kTables[table];
}

TWaterBalanceTexts WaterBalanceTexts(const TRegionTables& tables)
{
    TWaterBalanceTexts texts;
    texts.Remarks = ShownRemarks(tables.FWBRemarks, TLineEnds::AfterEvery);
    texts.LTAAFromYear = IntegerText(tables.FWBLTAAFromYear);
    texts.LTAAToYear = IntegerText(tables.FWBLTAAToYear);
    for (int index = 0; index < WaterBalanceTableCount; ++index) {
        const TShownValues shown = kTables[index].Shown;
        for (const TEntityData* quantity : TableColumns(tables, TableAt(index)))
            texts.Tables[index].push_back(ShownQuantity(*quantity, shown));
    }
    texts.ReturnedUnit = tables.FWBReturnedUnit;
    texts.ReusedUnit = tables.FWBReusedUnit;
    texts.ImportsOrigin = tables.FWBImportsOrigin;
    texts.ExportsDestination = tables.FWBExportsDestination;
    texts.ArtifGWOrigin =
        tables.FWBArtifGWOrigin <= agoWaterImports ? tables.FWBArtifGWOrigin : agoUnknown;
    return texts;
}

void CheckWaterBalance(const TWaterBalanceTexts& texts, const std::string& yearText,
                       TCheckMessages& messages)
{
    for (int index = 0; index < WaterBalanceTableCount; ++index) {
        const TWaterBalanceTableInfo& info = kTables[index];
        CheckTableNumbers(
            texts.Tables[index], info.Kind,
            info.Kind == TNumberKind::Real ? SRealExpected : SNonNegativeTableExpected,
            info.NumberName, messages);
    }
    CheckLTAAPeriod(texts.LTAAFromYear, texts.LTAAToYear, yearText, messages);
    for (int index = 0; index < WaterBalanceTableCount; ++index)
        CheckMonthlySums(texts.Tables[index], kTables[index].Titles, kTables[index].SumName,
                         messages);
}

void StoreWaterBalance(const TWaterBalanceTexts& texts, int year, TRegionTables& tables)
{
    tables.FWBYear = year;
    tables.FWBRemarks = StoredRemarks(texts.Remarks, TLineEnds::AfterEvery);
    tables.FWBLTAAFromYear = StoredInteger(texts.LTAAFromYear);
    tables.FWBLTAAToYear = StoredInteger(texts.LTAAToYear);
    for (int index = 0; index < WaterBalanceTableCount; ++index) {
        const std::vector<TEntityData*> columns = TableColumns(tables, TableAt(index));
        for (std::size_t col = 0; col < columns.size(); ++col)
            *columns[col] = StoredQuantity(texts.Tables[index][col]);
    }
    tables.FWBReturnedUnit = texts.ReturnedUnit;
    tables.FWBReusedUnit = texts.ReusedUnit;
    tables.FWBImportsOrigin = texts.ImportsOrigin;
    tables.FWBExportsDestination = texts.ExportsDestination;
    tables.FWBArtifGWOrigin = texts.ArtifGWOrigin;
}
