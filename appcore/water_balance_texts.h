#pragma once

// The water-balance tables of a region as the water-balance form holds them:
// six tables of quantities as texts, the LTAA years, the remarks, the
// hydrological units and the origin of artificial groundwater recharge. The
// form moves these texts to and from its controls; loading, checking and
// storing them happen here.

#include <array>
#include <string>
#include <vector>

#include "appcore/check_messages.h"
#include "appcore/form_checks.h"
#include "appcore/quantity_columns.h"
#include "model/ozr_types.h"

// The tables in the order of the form's pages, which is also the order of
// their checks.
enum TWaterBalanceTable {
    wbHydrometeorological,
    wbWaterStorage,
    wbReturned,
    wbReused,
    wbDesalinated,
    wbAdditional,
};
inline constexpr int WaterBalanceTableCount = 6;

struct TWaterBalanceTableInfo {
    const char* NumberName;           // names the table in the number messages
    const char* SumName;              // names the table in the monthly-sum messages
    TNumberKind Kind;                 // the numbers its cells accept
    TShownValues Shown;               // the stored values its cells show
    std::vector<std::string> Titles;  // of the data columns
};

const TWaterBalanceTableInfo& WaterBalanceTableInfo(TWaterBalanceTable table);

struct TWaterBalanceTexts {
    std::string Remarks;  // as the memo shows them
    std::string LTAAFromYear;
    std::string LTAAToYear;
    std::array<TTableTexts, WaterBalanceTableCount> Tables;
    std::string ReturnedUnit;
    std::string ReusedUnit;
    std::string ImportsOrigin;
    std::string ExportsDestination;
    TArtifGWOrigin ArtifGWOrigin = agoUnknown;
};

TWaterBalanceTexts WaterBalanceTexts(const TRegionTables& tables);
// The checks of the form's OK, in their order, after the year box's own.
void CheckWaterBalance(const TWaterBalanceTexts& texts, const std::string& yearText,
                       TCheckMessages& messages);
// Only texts that passed the checks reach this.
void StoreWaterBalance(const TWaterBalanceTexts& texts, int year, TRegionTables& tables);
