#include "app/forms/station_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/form_support.h"
#include "appcore/check_messages.h"
#include "appcore/form_checks.h"
#include "appcore/form_values.h"

void SetUpStationForm(QWidget& form, const TStationControls& controls)
{
    SetFormFont(form);
    InitYearBox(controls.Year);
    CentreOnScreen(form);
}

void LoadStationControls(const TStationControls& controls, const TEntity& station)
{
    if (const TRegion* region = station.FRegion) {
        FillBox(controls.RegionCode, region->GetCode());
        FillBox(controls.RegionType, RegionTypeToStr(region->GetRegionType()));
        FillBox(controls.RegionDescription, region->FName);
    }
    FillBox(controls.ID, station.GetID());
    LoadYearBox(controls.Year, station.FYear);
    FillBox(controls.Name, station.FName);
    FillBox(controls.Latitude, RealText(station.FLatitude));
    FillBox(controls.Longitude, RealText(station.FLongitude));
    FillBox(controls.Altitude, RealText(station.FAltitude));
    FillBox(controls.CoordinateSys, station.FCoordinateSystem);
    FillBox(controls.ProjectionSys, station.FProjectionSystem);
    ShowRemarks(controls.Remarks, station.FRemarks, TLineEnds::Between);
}

void StoreStationControls(const TStationControls& controls, TEntity& station)
{
    station.SetID(TextOf(controls.ID));
    station.FYear = StoreYearBox(controls.Year);
    station.FName = TextOf(controls.Name);
    station.FLatitude = StoredReal(TextOf(controls.Latitude));
    station.FLongitude = StoredReal(TextOf(controls.Longitude));
    station.FAltitude = StoredReal(TextOf(controls.Altitude));
    station.FCoordinateSystem = TextOf(controls.CoordinateSys);
    station.FProjectionSystem = TextOf(controls.ProjectionSys);
    station.FRemarks = RemarksOf(controls.Remarks, TLineEnds::Between);
}

void CheckStationIdentity(const TStationControls& controls, TStationKind kind,
                          const TEntity& station, const char* missingIdText,
                          TCheckMessages& messages)
{
    CheckReportingYear(ToStd(controls.Year.currentText()), messages);
    CheckIdentifierGiven(TextOf(controls.ID), missingIdText, messages);
    CheckIdentifierUnique(TextOf(controls.ID), kind, &station, messages);
    CheckCoordinate(TextOf(controls.Latitude), "Latitude", messages);
    CheckCoordinate(TextOf(controls.Longitude), "Longitude", messages);
}

TCatchmentFields CatchmentFieldsOf(TStreamFlow& station)
{
    return {station.FRiverBasin,       station.FRiverBasinArea, station.FSubcatchment,
            station.FSubcatchmentArea, station.FDunmar,         station.FWFD,
            station.FDataAgency,       station.FDataURL,        station.FDataFromYear,
            station.FDataToYear};
}

TCatchmentFields CatchmentFieldsOf(TRainGauge& station)
{
    return {station.FRiverBasin,       station.FRiverBasinArea, station.FSubcatchment,
            station.FSubcatchmentArea, station.FDunmar,         station.FWFD,
            station.FDataAgency,       station.FDataURL,        station.FDataPeriodFrom,
            station.FDataPeriodTo};
}

void LoadCatchmentControls(const TCatchmentControls& controls, const TCatchmentFields& fields)
{
    FillBox(controls.RiverBasin, fields.RiverBasin);
    FillBox(controls.RiverBasinArea, RealText(fields.RiverBasinArea));
    FillBox(controls.Subcatchment, fields.Subcatchment);
    FillBox(controls.SubcatchmentArea, RealText(fields.SubcatchmentArea));
    controls.Dunmar.setChecked(fields.Dunmar);
    controls.WFD.setChecked(fields.WFD);
    FillBox(controls.Agency, fields.DataAgency);
    FillBox(controls.URL, fields.DataURL);
    FillBox(controls.DataFromYear, IntegerText(fields.DataFromYear));
    FillBox(controls.DataToYear, IntegerText(fields.DataToYear));
}

void StoreCatchmentControls(const TCatchmentControls& controls, const TCatchmentFields& fields)
{
    fields.RiverBasin = TextOf(controls.RiverBasin);
    fields.RiverBasinArea = StoredReal(TextOf(controls.RiverBasinArea));
    fields.Subcatchment = TextOf(controls.Subcatchment);
    fields.SubcatchmentArea = StoredReal(TextOf(controls.SubcatchmentArea));
    fields.Dunmar = controls.Dunmar.isChecked();
    fields.WFD = controls.WFD.isChecked();
    fields.DataAgency = TextOf(controls.Agency);
    fields.DataURL = TextOf(controls.URL);
    fields.DataFromYear = StoredInteger(TextOf(controls.DataFromYear));
    fields.DataToYear = StoredInteger(TextOf(controls.DataToYear));
}
