// The main window's commands that open the data forms: the imports, the
// station lists and the wizard.

#include "app/form_support.h"
#include "app/forms/ozr_flow.h"
#include "app/forms/ozr_groundwater.h"
#include "app/forms/ozr_rain_gauge.h"
#include "app/forms/ozr_reservoirs.h"
#include "app/imports/ozr_io_load_CSV_flow.h"
#include "app/imports/ozr_io_load_CSV_stations.h"
#include "app/main/ozr_main.h"
#include "app/main/ozr_regions.h"
#include "app/wizard/ozr_wizard.h"
#include "appcore/form_texts.h"
#include "appcore/station_lists.h"
#include "components/frmproperties.h"
#include "components/modal_run.h"

namespace {

TPropEditProc StationEditProc(TStationKind kind)
{
    switch (kind) {
        case skWell: return EditWell;
        case skReservoir: return EditReservoir;
        case skStreamFlow: return EditStreamFlow;
        case skRainGauge: return EditRainGauge;
    }
    return {};
}

}  // namespace

void ShowStationList(TPropertiesDialog& dialog, TStationKind kind)
{
    dialog.SetCaption(QString::fromLatin1(StationListCaption(kind)));
    dialog.NewProc = nullptr;
    dialog.EditProc = StationEditProc(kind);
    // The kinds publish no properties of their own: every list shows the
    // columns of a station.
    dialog.execute(&TEntity::StaticClassInfo(), *CurrentSession().StationList(kind));
}

bool TFormMain::CountryChosen()
{
    if (CurrentSession().GetCountry())
        return true;
    Dialogs().MessageDlg(SNoCountry, TMsgDlgType::mtError, mbOK);
    return false;
}

void TFormMain::ShowCountryForm(QDialog& form)
{
    if (!CountryChosen())
        return;
    ShowModal(form);
    FormRegions->FillRegionsGrid();
}

void TFormMain::Stations1Click()
{
    ShowCountryForm(*FormCSVStationsImport);
}

void TFormMain::Streamflowdailydata1Click()
{
    ShowCountryForm(*FormCSVFlowImport);
}

void TFormMain::RunWizard()
{
    ShowCountryForm(*FormWizard);
}

void TFormMain::ListStations(TStationKind kind)
{
    ShowStationList(PropDlg(), kind);
    FormRegions->FillRegionsGrid();
}
