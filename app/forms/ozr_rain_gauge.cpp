#include "app/forms/ozr_rain_gauge.h"

#include "app/form_support.h"
#include "app/forms/station_controls.h"
#include "appcore/check_messages.h"
#include "appcore/form_checks.h"
#include "appcore/form_values.h"
#include "ui_ozr_rain_gauge.h"

TFormRainGauge* FormRainGauge = nullptr;

namespace {

constexpr int kHelpContext = 3240;

}  // namespace

TFormRainGauge::TFormRainGauge(QWidget* parent)
    : TStationEditor(parent, kHelpContext), ui_(std::make_unique<Ui::FormRainGauge>())
{
    setObjectName(QStringLiteral("FormRainGauge"));
}

void TFormRainGauge::BuildForm()
{
    ui_->setupUi(this);
    SetUpStationForm(*this, StationControlsOf(*ui_));
    SetUpEditor(*ui_->btnInput, *ui_->btnCancel, *ui_->BitBtn1);
}

TFormRainGauge::~TFormRainGauge() = default;

void TFormRainGauge::ResetForm()
{
    ResetControls(*this);
    ui_->cmboxYear->setCurrentIndex(0);
}

void TFormRainGauge::LoadStation()
{
    const TRainGauge& station = *FStation;
    LoadStationControls(StationControlsOf(*ui_), station);
    LoadCatchmentControls(CatchmentControlsOf(*ui_), CatchmentFieldsOf(*FStation));
    ui_->rbDaily->setChecked(station.FTimeScale == tsDaily);
    ui_->rbMonthly->setChecked(station.FTimeScale == tsMonthly);
    ui_->rbAnnual->setChecked(station.FTimeScale == tsAnnual);
}

void TFormRainGauge::StoreStation()
{
    TRainGauge& station = *FStation;
    StoreStationControls(StationControlsOf(*ui_), station);
    StoreCatchmentControls(CatchmentControlsOf(*ui_), CatchmentFieldsOf(station));
    // Without a choice the time scale stays as it was.
    if (ui_->rbDaily->isChecked())
        station.FTimeScale = tsDaily;
    else if (ui_->rbMonthly->isChecked())
        station.FTimeScale = tsMonthly;
    else if (ui_->rbAnnual->isChecked())
        station.FTimeScale = tsAnnual;
}

bool TFormRainGauge::Validate()
{
    TCheckMessages messages;
    CheckStationIdentity(StationControlsOf(*ui_), skRainGauge, *FStation,
                         "A unique identifier for the precipitation station is needed", messages);
    CheckAltitude(TextOf(*ui_->edtAltitude), messages);
    CheckNetworkMembership(ui_->chbDUNMAR->isChecked(), ui_->chbWFD->isChecked(), messages);
    CheckNumberField(TextOf(*ui_->edtRiver_basin_area), TNumberKind::NonNegativeReal,
                     "River basin area", messages);
    CheckNumberField(TextOf(*ui_->edtSubcatchment_area), TNumberKind::NonNegativeReal,
                     "Subcatchment area", messages);
    CheckNumberField(TextOf(*ui_->edtDataFromYear), TNumberKind::NonNegativeInteger, "From year",
                     messages);
    CheckNumberField(TextOf(*ui_->edtDataToYear), TNumberKind::NonNegativeInteger, "To year",
                     messages);
    return ShowFindings(messages);
}

bool EditRainGauge(TObject* object)
{
    auto* rainGauge = dynamic_cast<TRainGauge*>(object);
    return rainGauge != nullptr && FormRainGauge->Edit(rainGauge);
}
