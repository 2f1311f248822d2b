#pragma once

// What every station form has, whatever the kind of its station: the region
// the station belongs to, its identity and reporting year, its location and
// remarks. The forms share the loading, storing and checking of these.

#include "model/ozr_types.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class TCheckMessages;

struct TStationControls {
    QLineEdit& RegionCode;
    QLineEdit& RegionDescription;
    QLineEdit& RegionType;
    QLineEdit& ID;
    QComboBox& Year;
    QLineEdit& Name;
    QLineEdit& Latitude;
    QLineEdit& Longitude;
    QLineEdit& Altitude;
    QLineEdit& CoordinateSys;
    QLineEdit& ProjectionSys;
    QPlainTextEdit& Remarks;
};

// The station forms name these controls alike in their designs.
template <typename TUi>
TStationControls StationControlsOf(const TUi& ui)
{
    return {*ui.edtRegionCode,    *ui.edtRegionDescription,
            *ui.edtRegionType,    *ui.edtID,
            *ui.cmboxYear,        *ui.edtName,
            *ui.edtLatitude,      *ui.edtLongitude,
            *ui.edtAltitude,      *ui.edtCoordinateSys,
            *ui.edtProjectionSys, *ui.Memo1};
}

// Sets up the year box, the font and the place of a newly created station form.
void SetUpStationForm(QWidget& form, const TStationControls& controls);

void LoadStationControls(const TStationControls& controls, const TEntity& station);
// Also makes the year the session's reporting year.
void StoreStationControls(const TStationControls& controls, TEntity& station);

// The checks every station form runs first, in this order: the reporting
// year, the identifier given (missingIdText when not) and unique within the
// kind, latitude and longitude.
void CheckStationIdentity(const TStationControls& controls, TStationKind kind,
                          const TEntity& station, const char* missingIdText,
                          TCheckMessages& messages);

// The river basin, network and data-availability controls that the
// stream-flow and rain-gauge forms share.
struct TCatchmentControls {
    QLineEdit& RiverBasin;
    QLineEdit& RiverBasinArea;
    QLineEdit& Subcatchment;
    QLineEdit& SubcatchmentArea;
    QCheckBox& Dunmar;
    QCheckBox& WFD;
    QLineEdit& Agency;
    QLineEdit& URL;
    QLineEdit& DataFromYear;
    QLineEdit& DataToYear;
};

template <typename TUi>
TCatchmentControls CatchmentControlsOf(const TUi& ui)
{
    return {*ui.edtRiver_basin,  *ui.edtRiver_basin_area,
            *ui.edtSubcatchment, *ui.edtSubcatchment_area,
            *ui.chbDUNMAR,       *ui.chbWFD,
            *ui.edtAgency,       *ui.edtURL,
            *ui.edtDataFromYear, *ui.edtDataToYear};
}

// The fields behind those controls, in a stream-flow station or a rain gauge.
struct TCatchmentFields {
    std::string& RiverBasin;
    double& RiverBasinArea;
    std::string& Subcatchment;
    double& SubcatchmentArea;
    bool& Dunmar;
    bool& WFD;
    std::string& DataAgency;
    std::string& DataURL;
    int& DataFromYear;
    int& DataToYear;
};

TCatchmentFields CatchmentFieldsOf(TStreamFlow& station);
TCatchmentFields CatchmentFieldsOf(TRainGauge& station);

void LoadCatchmentControls(const TCatchmentControls& controls, const TCatchmentFields& fields);
void StoreCatchmentControls(const TCatchmentControls& controls, const TCatchmentFields& fields);
