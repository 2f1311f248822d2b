#include "app/station_controls.h"

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
        controls.RegionCode.setText(ToQt(region->GetCode()));
        controls.RegionType.setText(ToQt(RegionTypeToStr(region->GetRegionType())));
        controls.RegionDescription.setText(ToQt(region->FName));
    }
    controls.ID.setText(ToQt(station.GetID()));
    LoadYearBox(controls.Year, station.FYear);
    controls.Name.setText(ToQt(station.FName));
    controls.Latitude.setText(ToQt(RealText(station.FLatitude)));
    controls.Longitude.setText(ToQt(RealText(station.FLongitude)));
    controls.Altitude.setText(ToQt(RealText(station.FAltitude)));
    controls.CoordinateSys.setText(ToQt(station.FCoordinateSystem));
    controls.ProjectionSys.setText(ToQt(station.FProjectionSystem));
    controls.Remarks.setPlainText(ToQt(station.FRemarks));
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
    station.FRemarks = ToStd(controls.Remarks.toPlainText());
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
    controls.RiverBasin.setText(ToQt(fields.RiverBasin));
    controls.RiverBasinArea.setText(ToQt(RealText(fields.RiverBasinArea)));
    controls.Subcatchment.setText(ToQt(fields.Subcatchment));
    controls.SubcatchmentArea.setText(ToQt(RealText(fields.SubcatchmentArea)));
    controls.Dunmar.setChecked(fields.Dunmar);
    controls.WFD.setChecked(fields.WFD);
    controls.Agency.setText(ToQt(fields.DataAgency));
    controls.URL.setText(ToQt(fields.DataURL));
    controls.DataFromYear.setText(ToQt(IntegerText(fields.DataFromYear)));
    controls.DataToYear.setText(ToQt(IntegerText(fields.DataToYear)));
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
