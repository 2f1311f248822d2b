// The national tables of one region: water balance, water abstraction, water
// use; and the reading of every region's tables at once, one region per core.

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <thread>

#include "io/ozr_io_load_reading.h"
#include "io/ozr_io_table_tags.h"
#include "platform/worker_threads.h"

namespace {

struct TFailure {
    std::size_t Order = std::numeric_limits<std::size_t>::max();
    std::exception_ptr Error;
};

// Runs Work(i) for every i below Count on up to one thread per core, the
// calling thread among them; helpers that the system does not start leave
// their share to the others.
template <class Work>
void OnEveryCore(std::size_t Count, Work work)
{
    std::atomic<std::size_t> next{0};
    const auto take = [&] {
        for (std::size_t i = next++; i < Count; i = next++)
            work(i);
    };
    const std::size_t threads =
        std::min<std::size_t>(Count, std::max(1u, std::thread::hardware_concurrency()));
    const std::vector<std::jthread> helpers =
        StartWorkers(threads > 1 ? threads - 1 : 0, [&](std::stop_token) { take(); });
    take();
}

// A group of the national tables or a sector table: read through its index,
// whether the element is there or not (an absent one holds nothing).
template <class Element>
Element Part(const TXMLChildIndex& Children, const char* Name)
{
    return Element(Children.Find(Name));
}

void ReadReturnedReused(const TXMLChildIndex& Children, TRegionTables& Tables)
{
    ReadQuantities(Children, ReturnedTags, std::span(Tables.FWBReturned));
    ReadWaterUseData2(Part<TXMLOzr_water_use_data2>(Children, "wb_reused_water"),
                      Tables.FWBReusedWater);
    ReadQuantity(Children, "wb_losses_betwn_use_and_reuse", Tables.FWBLossesBetwnUseAndReuse);
    ReadValue(Children, "wb_returned_unit", Tables.FWBReturnedUnit);
    ReadValue(Children, "wb_reused_unit", Tables.FWBReusedUnit);
}

void ReadAdditional(const TXMLChildIndex& Children, TRegionTables& Tables)
{
    ReadWaterUseData2(Part<TXMLOzr_water_use_data2>(Children, "wb_desalinated_water"),
                      Tables.FWBDesalinatedWater);
    ReadQuantities(Children, AdditionalTags, std::span(Tables.FWBAdditional));
    ReadWord(Children, "wb_artif_gw_origin", StrToArtifGWOrigin, agoUnknown,
             Tables.FWBArtifGWOrigin);
    ReadValue(Children, "wb_imports_origin", Tables.FWBImportsOrigin);
    ReadValue(Children, "wb_exports_destination", Tables.FWBExportsDestination);
}

void ReadNonFreshwaterSources(const TXMLChildIndex& Children, TRegionTables& Tables)
{
    for (std::size_t i = 0; i < NonFWSourceTags.size(); ++i)
        ReadWord(Children, NonFWSourceTags[i], StrToNonFWSource, nfsUnknown,
                 Tables.FWANonFWSource[i]);
}

void ReadPublicWSS(const TXMLChildIndex& Children, TRegionTables& Tables)
{
    ReadQuantity(Children, "wa_for_public_wss", Tables.FWAForPublicWSS);
    ReadQuantity(Children, "wa_for_public_wss_sw", Tables.FWAForPublicWSSSW);
    ReadQuantity(Children, "wa_for_public_wss_gw", Tables.FWAForPublicWSSGW);
    ReadQuantity(Children, "wa_for_public_wss_from_rainwater", Tables.FWAForPublicWSSFromRainwater);
}

void ReadSelfSupply(const TXMLChildIndex& Children, TRegionTables& Tables)
{
    ReadQuantity(Children, "wa_abstraction_for_self_suply_total",
                 Tables.FWAAbstractionForSelfSupplyTotal);
    ReadQuantity(Children, "wa_for_self_suply_from_rainwater",
                 Tables.FWAForSelfSupplyFromRainwater);
    ReadWaterUseData1(
        Part<TXMLOzr_water_use_data1>(Children, "wa_abstraction_for_self_suply_total_sw"),
        Tables.FWAAbstractionForSelfSupplyTotalSW);
    ReadWaterUseData1(
        Part<TXMLOzr_water_use_data1>(Children, "wa_abstraction_for_self_suply_total_gw"),
        Tables.FWAAbstractionForSelfSupplyTotalGW);
}

// Reads a group of the national tables through an index of its own.
template <class Read>
void ReadGroup(const TXMLChildIndex& Children, const char* Name, Read ReadParts,
               TRegionTables& Tables)
{
    ReadParts(TXMLChildIndex(Children.Find(Name)), Tables);
}

void ReadLargeItems(const TXMLChildIndex& Children, const char* Name,
                    std::vector<ozr_wu_large_item>& Items)
{
    for (TXMLNode element = Children.Find(Name); !element.IsNull();
         element = element.NextSibling(Name)) {
        ozr_wu_large_item& item = Items.emplace_back();
        InitLargeItem(item);
        ReadLargeItem(TXMLOzr_wu_large_items(element), item);
    }
}

}  // namespace

void ReadWaterBalance(const TXMLOzr_water_balance& Element, TRegionTables& Tables)
{
    const TXMLChildIndex children(Element);
    ReadValue(children, "wb_year", Tables.FWBYear);
    ReadValue(children, "wb_remarks", Tables.FWBRemarks);
    ReadValue(children, "wb_ltaa_from_year", Tables.FWBLTAAFromYear);
    ReadValue(children, "wb_ltaa_to_year", Tables.FWBLTAAToYear);
    ReadQuantitiesInOrder(children.Find("ozr_wb_hydrometeorological_parameters"),
                          HydrometeorologicalTags, std::span(Tables.FWBHydrometeorological));
    ReadQuantitiesInOrder(children.Find("ozr_wb_water_storage"), WaterStorageTags,
                          std::span(Tables.FWBWaterStorage));
    ReadGroup(children, "ozr_wb_returned_reused_water", ReadReturnedReused, Tables);
    ReadGroup(children, "ozr_wb_additional_water_resources", ReadAdditional, Tables);
}

void ReadWaterAbstraction(const TXMLOzr_water_abstraction& Element, TRegionTables& Tables)
{
    const TXMLChildIndex children(Element);
    ReadValue(children, "wa_year", Tables.FWAYear);
    ReadValue(children, "wa_remarks", Tables.FWARemarks);
    ReadValue(children, "wa_ltaa_from_year", Tables.FWALTAAFromYear);
    ReadValue(children, "wa_ltaa_to_year", Tables.FWALTAAToYear);
    ReadQuantity(children, "wa_total_abstraction", Tables.FWATotalAbstraction);
    ReadQuantity(children, "wa_total_abstraction_sw", Tables.FWATotalAbstractionSW);
    ReadQuantity(children, "wa_total_abstraction_gw", Tables.FWATotalAbstractionGW);
    ReadQuantity(children, "wa_total_abstraction_from_rainwater",
                 Tables.FWATotalAbstractionFromRainwater);
    ReadQuantity(children, "wa_total_abstraction_for_hydropower",
                 Tables.FWATotalAbstractionForHydropower);
    ReadQuantity(children, "wa_available_groundwater", Tables.FWAAvailableGroundwater);
    ReadQuantity(children, "wa_evaporation_losses", Tables.FWAEvaporationLosses);
    ReadWaterUseData1(Part<TXMLOzr_water_use_data1>(children, "wa_non_freshwater"),
                      Tables.FWANonFreshwater);
    ReadNonFreshwaterSources(children, Tables);
    ReadGroup(children, "ozr_freshwater_abstraction_for_public_wss", ReadPublicWSS, Tables);
    ReadGroup(children, "ozr_freshwater_abstraction_for_self_suply", ReadSelfSupply, Tables);
}

void ReadWaterUse(const TXMLOzr_water_use& Element, TRegionTables& Tables)
{
    const TXMLChildIndex children(Element);
    ReadValue(children, "wu_year", Tables.FWUYear);
    ReadValue(children, "wu_remarks", Tables.FWURemarks);
    ReadValue(children, "wu_ltaa_from_year", Tables.FWULTAAFromYear);
    ReadValue(children, "wu_ltaa_to_year", Tables.FWULTAAToYear);
    ReadWaterUseData1(Part<TXMLOzr_water_use_data1>(children, "wu_total_freshwater_used"),
                      Tables.FWUTotalFreshwaterUsed);
    ReadWaterUseData1(Part<TXMLOzr_water_use_data1>(children, "wu_public_water_supply"),
                      Tables.FWUPublicWaterSupply);
    ReadWaterUseData1(Part<TXMLOzr_water_use_data1>(children, "wu_self_supply"),
                      Tables.FWUSelfSupply);
    ReadWaterUseData2(Part<TXMLOzr_water_use_data2>(children, "wu_recycled_water"),
                      Tables.FWURecycledWater);
    ReadLargeItems(children, "wu_large_items_city", Tables.FWULargeItemsCity);
    ReadLargeItems(children, "wu_large_items_industry", Tables.FWULargeItemsIndustry);
    ReadLargeItems(children, "wu_large_items_agric_unit", Tables.FWULargeItemsAgricUnit);
}

void TTableReads::Add(std::size_t Order, const TXMLChildIndex& Children, TRegionTables& Tables)
{
    const auto [entry, isNew] = positions_.try_emplace(&Tables, regions_.size());
    if (isNew)
        regions_.push_back({&Tables, {}});
    regions_[entry->second].Parts.push_back({Order, Children.Find("ozr_water_balance"),
                                             Children.Find("ozr_water_abstraction"),
                                             Children.Find("ozr_water_use")});
}

namespace {

template <class Element, class Read>
void ReadPart(const TXMLNode& Part, Read ReadTables, TRegionTables& Tables)
{
    if (Part.HasChildNodes())
        ReadTables(Element(Part), Tables);
}

}  // namespace

void TTableReads::ReadBefore(std::size_t End)
{
    std::vector<TFailure> failures(regions_.size());
    OnEveryCore(regions_.size(), [&](std::size_t i) {
        const TRegionReads& region = regions_[i];
        for (const TTables& part : region.Parts) {
            if (part.Order >= End)
                return;
            try {
                ReadPart<TXMLOzr_water_balance>(part.Balance, ReadWaterBalance, *region.Target);
                ReadPart<TXMLOzr_water_abstraction>(part.Abstraction, ReadWaterAbstraction,
                                                    *region.Target);
                ReadPart<TXMLOzr_water_use>(part.Use, ReadWaterUse, *region.Target);
            } catch (...) {
                failures[i] = {part.Order, std::current_exception()};
                return;
            }
        }
    });
    regions_.clear();
    positions_.clear();
    const auto first = std::min_element(failures.begin(), failures.end(),
                                        [](const TFailure& a, const TFailure& b) {
                                            return a.Order < b.Order;
                                        });
    if (first != failures.end() && first->Error)
        std::rethrow_exception(first->Error);
}
