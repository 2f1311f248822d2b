#include "appcore/kept_entries.h"

#include <functional>
#include <string>
#include <vector>

#include "appcore/water_abs_tables.h"
#include "platform/sysutils.h"

namespace {

constexpr const char* SEntryNotKept =
    "No values have been entered in %s, so '%s' will not be saved to the data file";

// A table, or a group within one, and the predicate on which the data-file
// writer adds its element. A group's predicate implies its table's.
struct TValueGroup {
    bool (TRegionTables::*HasValues)() const;
    const char* Where;  // the pages whose values keep the entries, for the message
};

constexpr TValueGroup kWaterUse{&TRegionTables::HasWaterUseData, "this form"};
constexpr TValueGroup kWaterAbstraction{&TRegionTables::HasWaterAbstractionData, "this form"};
constexpr TValueGroup kWaterBalance{&TRegionTables::HasWaterBalanceData, "this form"};
constexpr TValueGroup kReturnedReused{&TRegionTables::HasReturnedReusedWaterData,
                                      "'Returned water' or 'Reused water'"};
constexpr TValueGroup kAdditional{&TRegionTables::HasAdditionalWaterResourcesData,
                                  "'Desalinated water' or 'Other additional water resources'"};

struct TEntry {
    TNationalTable Table;
    std::string Caption;
    // The entry holds what the writer would write: a text that is not blank,
    // a year that is not missing, a choice that is not unknown.
    std::function<bool(const TRegionTables&)> Given;
    TValueGroup Group;
};

bool TextGiven(const std::string& text)
{
    return !Trim(text).empty();
}

// The remarks and the LTAA period, which every table form has.
void AddRemarksAndPeriod(std::vector<TEntry>& entries, TNationalTable table,
                         std::string TRegionTables::*remarks, int TRegionTables::*from,
                         int TRegionTables::*to, const TValueGroup& group)
{
    entries.push_back({table, "Calculation method - Other remarks",
                       [remarks](const TRegionTables& t) { return TextGiven(t.*remarks); }, group});
    entries.push_back({table, "LTAA reference period",
                       [from, to](const TRegionTables& t) {
                           return t.*from > MissingInteger || t.*to > MissingInteger;
                       },
                       group});
}

void AddBalanceText(std::vector<TEntry>& entries, const char* caption,
                    std::string TRegionTables::*text, const TValueGroup& group)
{
    entries.push_back({TNationalTable::WaterBalance, caption,
                       [text](const TRegionTables& t) { return TextGiven(t.*text); }, group});
}

std::vector<TEntry> MakeEntries()
{
    using TNT = TNationalTable;
    using T = TRegionTables;
    std::vector<TEntry> entries;
    AddRemarksAndPeriod(entries, TNT::WaterUse, &T::FWURemarks, &T::FWULTAAFromYear,
                        &T::FWULTAAToYear, kWaterUse);

    AddRemarksAndPeriod(entries, TNT::WaterAbstraction, &T::FWARemarks, &T::FWALTAAFromYear,
                        &T::FWALTAAToYear, kWaterAbstraction);
    // The sources are labelled as the non-freshwater grid's columns are titled.
    const std::vector<TAbsColumn>& sectors = WaterAbsTables()[atNonFW].Columns;
    for (std::size_t i = 0; i < sectors.size(); ++i)
        entries.push_back(
            {TNT::WaterAbstraction, "Specify the source of water if known: " + sectors[i].Title,
             [i](const T& t) { return t.FWANonFWSource[i] != nfsUnknown; }, kWaterAbstraction});

    AddRemarksAndPeriod(entries, TNT::WaterBalance, &T::FWBRemarks, &T::FWBLTAAFromYear,
                        &T::FWBLTAAToYear, kWaterBalance);
    AddBalanceText(
        entries,
        "Specify to which hydrological unit the \"returned after use\" effluent is discharged",
        &T::FWBReturnedUnit, kReturnedReused);
    AddBalanceText(entries, "Specify to which hydrological unit the reused water is made available",
                   &T::FWBReusedUnit, kReturnedReused);
    AddBalanceText(entries, "Specify from which hydrological unit water imports come",
                   &T::FWBImportsOrigin, kAdditional);
    AddBalanceText(entries, "Specify to which hydrological unit the exported water goes",
                   &T::FWBExportsDestination, kAdditional);
    entries.push_back(
        {TNT::WaterBalance, "Specify where artificial groundwater recharge originates from",
         [](const T& t) { return t.FWBArtifGWOrigin <= agoWaterImports; }, kAdditional});
    return entries;
}

}  // namespace

void CheckEntriesKept(TNationalTable table, const TRegionTables& tables, TCheckMessages& messages)
{
    static const std::vector<TEntry> entries = MakeEntries();
    for (const TEntry& entry : entries)
        if (entry.Table == table && entry.Given(tables) && !(tables.*entry.Group.HasValues)())
            messages.Warning(FormatText(SEntryNotKept, {entry.Group.Where, entry.Caption}));
}
