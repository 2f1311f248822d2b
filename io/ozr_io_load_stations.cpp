// The stations of one region, created in the kind order rain gauges, stream
// flows, wells, reservoirs, each kind in document order.

#include "io/ozr_io_load_reading.h"

namespace {

template <class Station>
Station& CreateStation(const TXMLChildIndex& Children, TRegion& Region, TDataFileStaging& Staging)
{
    const TXMLEntityAttributesWQ attributes(Children.Find("attributes_wq"));
    Station& station = Staging.NewStation<Station>(Region, attributes.id());
    ReadEntityAttributes(attributes, station);
    return station;
}

// What rain gauges and stream-flow stations both record of their catchment.
template <class Station>
void ReadCatchment(const TXMLChildIndex& Children, Station& Target)
{
    ReadValue(Children, "river_basin", Target.FRiverBasin);
    ReadValue(Children, "river_basin_area", Target.FRiverBasinArea);
    ReadValue(Children, "subcatchment", Target.FSubcatchment);
    ReadValue(Children, "subcatchment_area", Target.FSubcatchmentArea);
    ReadValue(Children, "wfd", Target.FWFD);
    ReadValue(Children, "dunmar", Target.FDunmar);
}

void ReadRainGauge(const TXMLChildIndex& Children, TRegion& Region, TDataFileStaging& Staging)
{
    TRainGauge& gauge = CreateStation<TRainGauge>(Children, Region, Staging);
    ReadCatchment(Children, gauge);
    ReadValue(Children, "data_period_from", gauge.FDataPeriodFrom);
    ReadValue(Children, "data_period_to", gauge.FDataPeriodTo);
    ReadValue(Children, "data_URL", gauge.FDataURL);
    ReadValue(Children, "data_agency", gauge.FDataAgency);
    ReadWord(Children, "time_scale", StrToTimeScale, tsUnknown, gauge.FTimeScale);
}

void ReadStreamFlow(const TXMLChildIndex& Children, TRegion& Region, TDataFileStaging& Staging)
{
    TStreamFlow& flow = CreateStation<TStreamFlow>(Children, Region, Staging);
    ReadValue(Children, "river", flow.FRiver);
    ReadCatchment(Children, flow);
    ReadValue(Children, "min_discharge", flow.FMinDischarge);
    ReadValue(Children, "max_discharge", flow.FMaxDischarge);
    ReadValue(Children, "min_discharge_date", flow.FMinDischargeDate);
    ReadValue(Children, "max_discharge_date", flow.FMaxDischargeDate);
    ReadValue(Children, "data_from_year", flow.FDataFromYear);
    ReadValue(Children, "data_to_year", flow.FDataToYear);
    ReadValue(Children, "data_URL", flow.FDataURL);
    ReadValue(Children, "data_agency", flow.FDataAgency);
    ReadValue(Children, "annual_data", flow.FAnnualData);
    ReadValue(Children, "ltaa", flow.FLTAA);
    ReadIndexedItems(Children.Find("monthly_data"), "monthly_data", flow.FMonthlyData);
    ReadIndexedItems(Children.Find("ltaa_data"), "ltaa_data", flow.FLTAAData);
    ReadIndexedItems(Children.Find("daily_data"), "daily_data", flow.FDailyData);
    ReadValue(Children, "ltaa_from_year", flow.FLTAAFromYear);
    ReadValue(Children, "ltaa_to_year", flow.FLTAAToYear);
}

void ReadWell(const TXMLChildIndex& Children, TRegion& Region, TDataFileStaging& Staging)
{
    TWell& well = CreateStation<TWell>(Children, Region, Staging);
    ReadValue(Children, "gwb", well.FGWB);
    ReadWord(Children, "gwb_outside_rb", StrToYesNo, MissingInteger, well.FGWBOutsideRB);
    ReadWord(Children, "gwb_outside_rbd", StrToYesNo, MissingInteger, well.FGWBOutsideRBD);
    ReadQuantity(Children, "mean_level", well.FMeanLevel);
    ReadValue(Children, "ltaa_from_year", well.FLTAAFromYear);
    ReadValue(Children, "ltaa_to_year", well.FLTAAToYear);
    ReadValue(Children, "month_min_level", well.FMonthMinLevel);
    ReadValue(Children, "month_max_level", well.FMonthMaxLevel);
}

void ReadReservoir(const TXMLChildIndex& Children, TRegion& Region, TDataFileStaging& Staging)
{
    TReservoir& reservoir = CreateStation<TReservoir>(Children, Region, Staging);
    ReadWord(Children, "type", StrToReservoirType, rsUnknown, reservoir.FReservoirType);
    ReadValue(Children, "storage_capacity", reservoir.FStorageCapacity);
    ReadValue(Children, "ltaa_from_year", reservoir.FLTAAFromYear);
    ReadValue(Children, "ltaa_to_year", reservoir.FLTAAToYear);
    ReadQuantity(Children, "inflow", reservoir.FInflow);
    ReadQuantity(Children, "outflow", reservoir.FOutflow);
}

// Reads every station element of one kind through an index of its own.
template <class List, class Read>
void ReadEach(const List& Elements, TRegion& Region, TDataFileStaging& Staging, Read ReadOne)
{
    for (const auto element : Elements)
        ReadOne(TXMLChildIndex(element), Region, Staging);
}

}  // namespace

void ReadStations(const TXMLOzr_wq_region& Element, TRegion& Region, TDataFileStaging& Staging)
{
    ReadEach(Element.precipitation(), Region, Staging, ReadRainGauge);
    ReadEach(Element.flow(), Region, Staging, ReadStreamFlow);
    ReadEach(Element.well(), Region, Staging, ReadWell);
    ReadEach(Element.reservoir(), Region, Staging, ReadReservoir);
}
