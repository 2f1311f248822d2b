#include "app/wizard/ozr_wizard.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QShowEvent>

#include "app/form_support.h"
#include "app/forms/ozr_flow.h"
#include "app/forms/ozr_groundwater.h"
#include "app/forms/ozr_rain_gauge.h"
#include "app/forms/ozr_reservoirs.h"
#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "app/help_viewer/help_service.h"
#include "components/choice_box.h"
#include "components/command_guard.h"
#include "ui_ozr_wizard.h"

TFormWizard* FormWizard = nullptr;

namespace {

constexpr int kHelpContext = 2200;

const std::array<const char*, 6> kStepHints = {
    "Specify in the group box the type of your data",
    "Specify the spatial scale which your reported data will be referring to",
    "Select from the drop down list the region for which you will provide data",
    "Specify if you intend to provide new data or change existing data",
    "Select an entity from the drop down list",
    "Press the button for the data entry form to appear",
};

QString CodeAndName(const std::string& code, const std::string& name)
{
    return ToQt(code + "/" + name);
}

}  // namespace

TFormWizard::TFormWizard(QWidget* parent)
    : QDialog(parent, Qt::Tool), ui_(std::make_unique<Ui::FormWizard>())
{
    ui_->setupUi(this);
    SetFormFont(*this);
    AlignBoxes();
    CentreOnScreen(*this);
    ConnectHandlers();
    SetUpKeyboard(*this, ui_->BitBtn1);
}

TFormWizard::~TFormWizard() = default;

void TFormWizard::ConnectHandlers()
{
    using TClick = void (TFormWizard::*)();
    const std::array<std::pair<QAbstractButton*, TClick>, 14> choices = {{
        {ui_->rbGroundwater, &TFormWizard::rbGroundwaterClick},
        {ui_->rbReservoir, &TFormWizard::rbReservoirClick},
        {ui_->rbFlow, &TFormWizard::rbFlowClick},
        {ui_->rbPrecipitation, &TFormWizard::rbPrecipitationClick},
        {ui_->rbWaterBalance, &TFormWizard::rbWaterBalanceClick},
        {ui_->rbWaterUse, &TFormWizard::rbWaterUseClick},
        {ui_->rbWaterAbstractions, &TFormWizard::rbWaterAbstractionsClick},
        {ui_->rbCountry, &TFormWizard::rbCountryClick},
        {ui_->rbNUTS, &TFormWizard::rbNUTSClick},
        {ui_->rbRBD, &TFormWizard::rbRBDClick},
        {ui_->rbSU, &TFormWizard::rbSUClick},
        {ui_->rbRB, &TFormWizard::rbRBClick},
        {ui_->rbNewEntity, &TFormWizard::rbNewEntityClick},
        {ui_->rbUpdateData, &TFormWizard::rbUpdateDataClick},
    }};
    // A click on the button already checked changes no answer, and so does
    // nothing: only a button that becomes checked answers its step.
    for (const auto& [button, choose] : choices)
        ConnectCommand(button, &QAbstractButton::toggled, this, [this, choose](bool checked) {
            if (checked)
                (this->*choose)();
        });
    ConnectCommand(ui_->btnInput, &QAbstractButton::clicked, this, &TFormWizard::btnInputClick);
    ConnectCommand(ui_->BitBtn1, &QAbstractButton::clicked, this, &TFormWizard::BitBtn1Click);
    ConnectCommand(ui_->cmboxRegions, &TChoiceBox::Chosen, this, &TFormWizard::cmboxRegionsSelect);
    ConnectCommand(ui_->cmboxEntities, &TChoiceBox::Chosen, this,
                   &TFormWizard::cmboxEntitiesSelect);
}

void TFormWizard::AlignBoxes()
{
    // The labels sit in nested panels, so no layout lines up the boxes after them.
    const std::array<QLabel*, 3> labels = {ui_->lblCountry, ui_->lblRegion, ui_->lblEntityName};
    int width = 0;
    for (const QLabel* label : labels)
        width = std::max(width, label->sizeHint().width());
    for (QLabel* label : labels)
        label->setMinimumWidth(width);
}

void TFormWizard::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is not opened anew.
    if (!event->spontaneous())
        FormShow();
}

void TFormWizard::FormShow()
{
    SetScale(RBDScale);
    SetStep(0);
    FocusFirstBox(*this);
}

void TFormWizard::SetStep(std::uint8_t step)
{
    FStep = step;
    ui_->StatusBar1->showMessage(QString::fromLatin1(kStepHints[step]));
    switch (step) {
        case 0:
            ShowCountry();
            ui_->pnlDataType->show();
            ui_->pnlRegionType->hide();
            ResetControls(*ui_->GroupBox1);
            break;
        case 1:
            ui_->pnlRegionType->show();
            ui_->pnlRegion->hide();
            ResetControls(*ui_->GroupBox2);
            break;
        case 2:
            FillRegions();
            ui_->pnlRegion->show();
            ui_->pnlEntity->hide();
            ui_->btnInput->hide();
            // The country is the only region of its scale: nothing to choose.
            if (FScale == CountryScale && !regions_.empty()) {
                ui_->cmboxRegions->setCurrentIndex(0);
                SelectRegion(regions_.front());
            }
            break;
        case 3:
            ui_->pnlEntity->show();
            ui_->pnlEntityName->hide();
            ui_->btnInput->hide();
            ResetControls(*ui_->GroupBox3);
            break;
        case 4:
            ui_->pnlEntity->show();
            ui_->pnlEntityName->show();
            ui_->btnInput->hide();
            break;
        default: ui_->btnInput->show(); break;
    }
}

void TFormWizard::ShowCountry()
{
    const TRegion* country = CurrentSession().GetCountry();
    ui_->edtCountry->setText(country ? CodeAndName(country->GetCode(), country->FName) : QString());
}

void TFormWizard::FillRegions()
{
    TSession& session = CurrentSession();
    const std::array<const TListOZR*, 5> lists = {&session.FCountries, &session.FNUTS,
                                                  &session.FRBDs, &session.FSUs, &session.FRBs};
    const TRegion* country = session.GetCountry();
    ui_->cmboxRegions->clear();
    regions_.clear();
    for (TObject* item : *lists[FScale]) {
        auto* region = static_cast<TRegion*>(item);
        if (region->GetCountry() != country)
            continue;
        regions_.push_back(region);
        ui_->cmboxRegions->addItem(CodeAndName(region->GetCode(), region->FName));
    }
    // No region is chosen yet: the box shows its prompt.
    ui_->cmboxRegions->setCurrentIndex(-1);
}

void TFormWizard::SetDataType(std::uint8_t dataType)
{
    FDataType = dataType;
    ui_->cmboxEntities->clear();
    entities_.clear();
    switch (dataType) {
        case skWell:
            ui_->GroupBox3->setTitle(QStringLiteral("Groundwater level"));
            ui_->rbNewEntity->setText(QStringLiteral("New groundwater level"));
            break;
        case skReservoir:
            ui_->GroupBox3->setTitle(QStringLiteral("Reservoirs"));
            ui_->rbNewEntity->setText(QStringLiteral("New reservoir"));
            break;
        case skStreamFlow:
        case skRainGauge:
            ui_->GroupBox3->setTitle(QStringLiteral("Stations"));
            ui_->rbNewEntity->setText(QStringLiteral("New station"));
            break;
        default: break;
    }
    OfferScales();
    SetStep(1);
    ResetControls(*ui_->GroupBox3);
}

void TFormWizard::OfferScales()
{
    const TRegion* country = CurrentSession().GetCountry();
    // Stations are not placed in NUTS regions.
    ui_->rbNUTS->setEnabled(!IsStationType() && CountryHasRegionsOfType(country, rtNUTS1));
    ui_->rbRBD->setEnabled(CountryHasRegionsOfType(country, rtRBD));
    ui_->rbSU->setEnabled(CountryHasRegionsOfType(country, rtSU));
    ui_->rbRB->setEnabled(CountryHasRegionsOfType(country, rtRB));
    ui_->rbCountry->setEnabled(true);
}

void TFormWizard::SetScale(std::uint8_t scale)
{
    FScale = scale;
    SetStep(2);
    RefreshEntities();
}

void TFormWizard::cmboxRegionsSelect()
{
    const int index = ui_->cmboxRegions->currentIndex();
    if (index < 0)
        return;
    SelectRegion(regions_[static_cast<std::size_t>(index)]);
    RefreshEntities();
}

void TFormWizard::SelectRegion(TRegion* region)
{
    FSelectedRegion = region;
    SetStep(IsStationType() ? 3 : 5);
}

void TFormWizard::rbNewEntityClick()
{
    SetStep(5);
    ui_->pnlEntityName->hide();
}

void TFormWizard::rbUpdateDataClick()
{
    SetStep(4);
}

void TFormWizard::cmboxEntitiesSelect()
{
    SetStep(5);
}

void TFormWizard::RefreshEntities()
{
    if (IsStationType())
        FillEntities(*CurrentSession().StationList(static_cast<TStationKind>(FDataType)));
}

void TFormWizard::FillEntities(const TListOZR& list)
{
    const int position = ui_->cmboxEntities->currentIndex();
    ui_->cmboxEntities->clear();
    entities_.clear();
    for (TObject* item : list) {
        auto* station = static_cast<TEntity*>(item);
        if (station->FRegion != FSelectedRegion)
            continue;
        entities_.push_back(station);
        ui_->cmboxEntities->addItem(CodeAndName(station->GetID(), station->FName));
    }
    ui_->cmboxEntities->setCurrentIndex(position);
}

template <typename TStation, typename TForm>
void TFormWizard::EnterStation(TForm& form)
{
    const int index = ui_->cmboxEntities->currentIndex();
    if (ui_->rbNewEntity->isChecked()) {
        TStation* created = nullptr;
        form.New(FSelectedRegion, "", created);
    } else if (ui_->rbUpdateData->isChecked() && index >= 0) {
        form.Edit(static_cast<TStation*>(entities_[static_cast<std::size_t>(index)]));
    }
    // A new station appears and a changed name shows.
    RefreshEntities();
}

void TFormWizard::btnInputClick()
{
    switch (FDataType) {
        case skWell: EnterStation<TWell>(*FormGroundwater); break;
        case skReservoir: EnterStation<TReservoir>(*FormReservoirs); break;
        case skStreamFlow: EnterStation<TStreamFlow>(*FormFlow); break;
        case skRainGauge: EnterStation<TRainGauge>(*FormRainGauge); break;
        case WaterBalanceType: FormWaterBalance->Edit(FSelectedRegion); break;
        case WaterUseType: FormWaterUse->Edit(FSelectedRegion); break;
        case WaterAbsType: FormWaterAbs->Edit(FSelectedRegion); break;
    }
}

void TFormWizard::BitBtn1Click()
{
    ShowHelp(kHelpContext);
}
