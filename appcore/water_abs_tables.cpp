#include "appcore/water_abs_tables.h"

#include <utility>

#include "appcore/form_checks.h"

namespace {

using TTables = TRegionTables;

TQuantityField Own(TEntityData TTables::*quantity)
{
    return {quantity, nullptr, 0};
}

TQuantityField SectorOf(TWaterUseData1 TTables::*table, int sector)
{
    return {nullptr, table, sector};
}

// Sector columns: titles and sectors of the 16-sector list.
using TSectorColumns = std::vector<std::pair<const char*, int>>;

const TSectorColumns& SelfSupplySectors()
{
    static const TSectorColumns columns = {{"Total Volume", 1},
                                           {"Domestic water use", 2},
                                           {"Agriculture (NACE A)", 3},
                                           {"Irrigation", 4},
                                           {"Mining & Quarrying (NACE B)", 5},
                                           {"Manufacturing industry (NACE C)", 6},
                                           {"Cooling water for industry", 11},
                                           {"Prod. of electricity (NACE D)", 12},
                                           {"Cooling water for electricity", 13},
                                           {"Hydropower generation", 14},
                                           {"Services e.g. tourism (NACE I)", 15},
                                           {"Other (e.g. construction)", 16}};
    return columns;
}

// As the self-supply sectors without hydropower generation.
const TSectorColumns& NonFreshwaterSectors()
{
    static const TSectorColumns columns = [] {
        TSectorColumns result;
        for (const auto& column : SelfSupplySectors())
            if (column.second != 14)
                result.push_back(column);
        return result;
    }();
    return columns;
}

std::vector<TAbsColumn> SectorColumns(const TSectorColumns& sectors, TWaterUseData1 TTables::*table)
{
    std::vector<TAbsColumn> columns;
    for (const auto& [title, sector] : sectors)
        columns.push_back({title, SectorOf(table, sector)});
    return columns;
}

std::array<TAbsTable, AbsTableCount> MakeTables()
{
    using T = TTables;
    return {{
        {"Total volume of freshwater abstraction",
         "Total volume of freshwater abstraction",
         {{"Total Volume", Own(&T::FWATotalAbstraction)},
          {"Total Volume from SW", Own(&T::FWATotalAbstractionSW)},
          {"Total Volume from GW", Own(&T::FWATotalAbstractionGW)},
          {"Volume from rainwater harvesting", Own(&T::FWATotalAbstractionFromRainwater)},
          {"Volume for hydropower generation", Own(&T::FWATotalAbstractionForHydropower)}}},
        {"FW for public water supply systems",
         "FW Abs. for public water supply systems",
         {{"Total Volume", Own(&T::FWAForPublicWSS)},
          {"Total Volume from SW", Own(&T::FWAForPublicWSSSW)},
          {"Total Volume from GW", Own(&T::FWAForPublicWSSGW)},
          {"Volume from rainwater harvesting", Own(&T::FWAForPublicWSSFromRainwater)}}},
        {"FW for self-supply (Total)",
         "FW Abs. for self-supply (by source)",
         {{"Total Volume", Own(&T::FWAAbstractionForSelfSupplyTotal)},
          {"Total volume from SW", SectorOf(&T::FWAAbstractionForSelfSupplyTotalSW, 1), false},
          {"Total volume from GW", SectorOf(&T::FWAAbstractionForSelfSupplyTotalGW, 1), false},
          {"From Rainwater harvesting", Own(&T::FWAForSelfSupplyFromRainwater)}}},
        {"FW for self-supply (from SW)", "SW Abs. for self-supply (by sector)",
         SectorColumns(SelfSupplySectors(), &T::FWAAbstractionForSelfSupplyTotalSW)},
        {"FW for self-supply (from GW)", "GW Abs. for self-supply (by sector)",
         SectorColumns(SelfSupplySectors(), &T::FWAAbstractionForSelfSupplyTotalGW)},
        {"Non freshwater sources", "Non freshwater sources ",
         SectorColumns(NonFreshwaterSectors(), &T::FWANonFreshwater)},
        {"Other data",
         "Other data",
         {{"Groundwater available for annual abstraction", Own(&T::FWAAvailableGroundwater)},
          {"Evaporation Losses", Own(&T::FWAEvaporationLosses)}}},
    }};
}

}  // namespace

std::vector<std::string> TAbsTable::Titles() const
{
    std::vector<std::string> titles;
    for (const TAbsColumn& column : Columns)
        titles.push_back(column.Title);
    return titles;
}

const TEntityData& QuantityOf(const TRegionTables& tables, const TQuantityField& field)
{
    if (field.Quantity)
        return tables.*field.Quantity;
    return (tables.*field.Table)[static_cast<std::size_t>(field.Sector - 1)];
}

TEntityData& QuantityOf(TRegionTables& tables, const TQuantityField& field)
{
    return const_cast<TEntityData&>(QuantityOf(std::as_const(tables), field));
}

const std::array<TAbsTable, AbsTableCount>& WaterAbsTables()
{
    static const std::array<TAbsTable, AbsTableCount> tables = MakeTables();
    return tables;
}

TWaterAbsTexts ShownWaterAbsTables(const TRegionTables& tables)
{
    TWaterAbsTexts texts;
    for (std::size_t t = 0; t < texts.size(); ++t)
        for (const TAbsColumn& column : WaterAbsTables()[t].Columns)
            texts[t].push_back(ShownQuantity(QuantityOf(tables, column.Field)));
    return texts;
}

void StoreWaterAbsTables(const TWaterAbsTexts& texts, TRegionTables& tables)
{
    for (std::size_t t = 0; t < texts.size(); ++t) {
        const std::vector<TAbsColumn>& columns = WaterAbsTables()[t].Columns;
        for (std::size_t c = 0; c < columns.size() && c < texts[t].size(); ++c)
            if (columns[c].Stored)
                QuantityOf(tables, columns[c].Field) = StoredQuantity(texts[t][c]);
    }
}

void CheckWaterAbsEntries(const TWaterAbsEntries& entries, TCheckMessages& messages)
{
    CheckReportingYear(entries.Year, messages);
    for (std::size_t t = 0; t < entries.Tables.size(); ++t)
        CheckTableNumbers(entries.Tables[t], TNumberKind::NonNegativeReal, SAbsNumberExpected,
                          WaterAbsTables()[t].NumberName, messages);
    CheckLTAAPeriod(entries.FromYear, entries.ToYear, entries.Year, messages);
    for (std::size_t t = 0; t < entries.Tables.size(); ++t) {
        const TAbsTable& table = WaterAbsTables()[t];
        CheckMonthlySums(entries.Tables[t], table.Titles(), table.SumName, messages);
    }
}
