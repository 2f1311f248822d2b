// The stations of one region, created in the kind order rain gauges, stream
// flows, wells, reservoirs, each kind in document order.

#include "io/ozr_io_load_reading.h"

namespace {

template <class Station, class Element>
Station& CreateStation(const Element& Source, TRegion& Region, TDataFileStaging& Staging)
{
    const TXMLEntityAttributesWQ attributes = Source.attributes_wq();
    Station& station = Staging.NewStation<Station>(Region, attributes.id());
    ReadEntityAttributes(attributes, station);
    return station;
}

void ReadRainGauge(const TXMLOzr_wq_region_precipitation& Element, TRegion& Region,
                   TDataFileStaging& Staging)
{
    using Node = TXMLOzr_wq_region_precipitation;
    TRainGauge& gauge = CreateStation<TRainGauge>(Element, Region, Staging);
    ReadValue(Element, "river_basin", &Node::river_basin, gauge.FRiverBasin);
    ReadValue(Element, "river_basin_area", &Node::river_basin_area, gauge.FRiverBasinArea);
    ReadValue(Element, "subcatchment", &Node::subcatchment, gauge.FSubcatchment);
    ReadValue(Element, "subcatchment_area", &Node::subcatchment_area, gauge.FSubcatchmentArea);
    ReadValue(Element, "wfd", &Node::wfd, gauge.FWFD);
    ReadValue(Element, "dunmar", &Node::dunmar, gauge.FDunmar);
    ReadValue(Element, "data_period_from", &Node::data_period_from, gauge.FDataPeriodFrom);
    ReadValue(Element, "data_period_to", &Node::data_period_to, gauge.FDataPeriodTo);
    ReadValue(Element, "data_URL", &Node::data_URL, gauge.FDataURL);
    ReadValue(Element, "data_agency", &Node::data_agency, gauge.FDataAgency);
    gauge.FTimeScale =
        IsPresent(Element, "time_scale") ? StrToTimeScale(Element.time_scale()) : tsUnknown;
}

void ReadStreamFlow(const TXMLOzr_wq_region_flow& Element, TRegion& Region,
                    TDataFileStaging& Staging)
{
    using Node = TXMLOzr_wq_region_flow;
    TStreamFlow& flow = CreateStation<TStreamFlow>(Element, Region, Staging);
    ReadValue(Element, "river", &Node::river, flow.FRiver);
    ReadValue(Element, "river_basin", &Node::river_basin, flow.FRiverBasin);
    ReadValue(Element, "river_basin_area", &Node::river_basin_area, flow.FRiverBasinArea);
    ReadValue(Element, "subcatchment", &Node::subcatchment, flow.FSubcatchment);
    ReadValue(Element, "subcatchment_area", &Node::subcatchment_area, flow.FSubcatchmentArea);
    ReadValue(Element, "wfd", &Node::wfd, flow.FWFD);
    ReadValue(Element, "dunmar", &Node::dunmar, flow.FDunmar);
    ReadValue(Element, "min_discharge", &Node::min_discharge, flow.FMinDischarge);
    ReadValue(Element, "max_discharge", &Node::max_discharge, flow.FMaxDischarge);
    ReadValue(Element, "min_discharge_date", &Node::min_discharge_date, flow.FMinDischargeDate);
    ReadValue(Element, "max_discharge_date", &Node::max_discharge_date, flow.FMaxDischargeDate);
    ReadValue(Element, "data_from_year", &Node::data_from_year, flow.FDataFromYear);
    ReadValue(Element, "data_to_year", &Node::data_to_year, flow.FDataToYear);
    ReadValue(Element, "data_URL", &Node::data_URL, flow.FDataURL);
    ReadValue(Element, "data_agency", &Node::data_agency, flow.FDataAgency);
    ReadValue(Element, "annual_data", &Node::annual_data, flow.FAnnualData);
    ReadValue(Element, "ltaa", &Node::ltaa, flow.FLTAA);
    ReadIndexedItems(Element.monthly_data(), "monthly_data", flow.FMonthlyData);
    ReadIndexedItems(Element.ltaa_data(), "ltaa_data", flow.FLTAAData);
    ReadIndexedItems(Element.daily_data(), "daily_data", flow.FDailyData);
    ReadValue(Element, "ltaa_from_year", &Node::ltaa_from_year, flow.FLTAAFromYear);
    ReadValue(Element, "ltaa_to_year", &Node::ltaa_to_year, flow.FLTAAToYear);
}

void ReadWell(const TXMLOzr_wq_region_well& Element, TRegion& Region, TDataFileStaging& Staging)
{
    using Node = TXMLOzr_wq_region_well;
    TWell& well = CreateStation<TWell>(Element, Region, Staging);
    ReadValue(Element, "gwb", &Node::gwb, well.FGWB);
    well.FGWBOutsideRB = IsPresent(Element, "gwb_outside_rb") ? StrToYesNo(Element.gwb_outside_rb())
                                                              : MissingInteger;
    well.FGWBOutsideRBD = IsPresent(Element, "gwb_outside_rbd")
                              ? StrToYesNo(Element.gwb_outside_rbd())
                              : MissingInteger;
    ReadQuantity(Element, "mean_level", &Node::mean_level, well.FMeanLevel);
    ReadValue(Element, "ltaa_from_year", &Node::ltaa_from_year, well.FLTAAFromYear);
    ReadValue(Element, "ltaa_to_year", &Node::ltaa_to_year, well.FLTAAToYear);
    ReadValue(Element, "month_min_level", &Node::month_min_level, well.FMonthMinLevel);
    ReadValue(Element, "month_max_level", &Node::month_max_level, well.FMonthMaxLevel);
}

void ReadReservoir(const TXMLOzr_wq_region_reservoir& Element, TRegion& Region,
                   TDataFileStaging& Staging)
{
    using Node = TXMLOzr_wq_region_reservoir;
    TReservoir& reservoir = CreateStation<TReservoir>(Element, Region, Staging);
    reservoir.FReservoirType =
        IsPresent(Element, "type") ? StrToReservoirType(Element.type()) : rsUnknown;
    ReadValue(Element, "storage_capacity", &Node::storage_capacity, reservoir.FStorageCapacity);
    ReadValue(Element, "ltaa_from_year", &Node::ltaa_from_year, reservoir.FLTAAFromYear);
    ReadValue(Element, "ltaa_to_year", &Node::ltaa_to_year, reservoir.FLTAAToYear);
    ReadQuantity(Element, "inflow", &Node::inflow, reservoir.FInflow);
    ReadQuantity(Element, "outflow", &Node::outflow, reservoir.FOutflow);
}

template <class List, class Read>
void ReadEach(const List& Elements, TRegion& Region, TDataFileStaging& Staging, Read ReadOne)
{
    for (int i = 0; i < Elements.Count(); ++i)
        ReadOne(Elements.Items(i), Region, Staging);
}

}  // namespace

void ReadStations(const TXMLOzr_wq_region& Element, TRegion& Region, TDataFileStaging& Staging)
{
    ReadEach(Element.precipitation(), Region, Staging, ReadRainGauge);
    ReadEach(Element.flow(), Region, Staging, ReadStreamFlow);
    ReadEach(Element.well(), Region, Staging, ReadWell);
    ReadEach(Element.reservoir(), Region, Staging, ReadReservoir);
}
