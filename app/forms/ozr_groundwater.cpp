#include "app/forms/ozr_groundwater.h"

#include "app/form_support.h"
#include "app/forms/station_controls.h"
#include "appcore/check_messages.h"
#include "appcore/form_checks.h"
#include "appcore/form_texts.h"
#include "appcore/form_values.h"
#include "components/command_guard.h"
#include "components/ozr_grid_utils.h"
#include "platform/sysutils.h"
#include "ui_ozr_groundwater.h"

TFormGroundwater* FormGroundwater = nullptr;

namespace {

constexpr int kHelpContext = 3210;
constexpr const char* kLevelField = "Mean Groundwater level";

QStringList PeriodTitles()
{
    return MonthTitles() << QStringLiteral("Mean Annual") << QStringLiteral("Mean Wet Season")
                         << QStringLiteral("Mean Dry Season") << QStringLiteral("Mean LTAA");
}

void LoadYesNo(QRadioButton& yes, QRadioButton& no, QRadioButton& unknown, int value)
{
    yes.setChecked(value == 1);
    no.setChecked(value == 0);
    unknown.setChecked(value != 1 && value != 0);
}

int StoredYesNo(const QRadioButton& yes, const QRadioButton& no)
{
    if (yes.isChecked())
        return 1;
    return no.isChecked() ? 0 : MissingInteger;
}

// A stored month outside January (0) to December (11) chooses no item.
void LoadMonth(QComboBox& box, int month)
{
    box.setCurrentIndex(month >= 0 && month < box.count() ? month : -1);
}

}  // namespace

TFormGroundwater::TFormGroundwater(QWidget* parent)
    : TStationEditor(parent, kHelpContext), ui_(std::make_unique<Ui::FormGroundwater>())
{
    setWindowFlags(Qt::Tool);
    setObjectName(QStringLiteral("FormGroundwater"));
}

void TFormGroundwater::BuildForm()
{
    ui_->setupUi(this);
    SetUpStationForm(*this, StationControlsOf(*ui_));
    SetUpEditor(*ui_->btnInput, *ui_->btnCancel, *ui_->BitBtn1, ui_->PageControl1);
    SetUpDataGrid(*ui_->gridData, {177, 180}, 17, 18, Qt::white, 0);
    ui_->gridData->SetSelectedCellColor(BgrColor(0x804000));
    ui_->gridData->SetSelectedFontColor(Qt::gray);
    DrawPeriodRows(*ui_->gridData);
    for (QComboBox* box : {ui_->cbMonthMinLevel, ui_->cbMonthMaxLevel}) {
        box->addItems(MonthTitles());
        box->setPlaceholderText(QStringLiteral("Select month..."));
    }
    ConnectCommand(ui_->BitBtn8, &QPushButton::clicked, this, &TFormGroundwater::BitBtn8Click);
}

TFormGroundwater::~TFormGroundwater() = default;

void TFormGroundwater::ResetForm()
{
    ResetControls(*this);
    ui_->cmboxYear->setCurrentIndex(0);
    ui_->cbMonthMinLevel->setCurrentIndex(-1);
    ui_->cbMonthMaxLevel->setCurrentIndex(-1);
    ResetGrid(*ui_->gridData, {QStringLiteral("Mean Groundwater level")}, PeriodTitles());
}

void TFormGroundwater::LoadStation()
{
    const TWell& station = *FStation;
    LoadStationControls(StationControlsOf(*ui_), station);
    ShowQuestionsFor(station.FRegion);
    FillBox(*ui_->edtAquifer, station.FGWB);
    LoadYesNo(*ui_->rbGWBOutsideRBYes, *ui_->rbGWBOutsideRBNo, *ui_->rbGWBOutsideRBUnknown,
              station.FGWBOutsideRB);
    LoadYesNo(*ui_->rbGWBOutsideRBDYes, *ui_->rbGWBOutsideRBDNo, *ui_->rbGWBOutsideRBDUnknown,
              station.FGWBOutsideRBD);
    LoadGridColumn(*ui_->gridData, 1, 1, station.FMeanLevel, RealText);
    FillBox(*ui_->edtFromYear, IntegerText(station.FLTAAFromYear));
    FillBox(*ui_->edtToYear, IntegerText(station.FLTAAToYear));
    LoadMonth(*ui_->cbMonthMinLevel, station.FMonthMinLevel);
    LoadMonth(*ui_->cbMonthMaxLevel, station.FMonthMaxLevel);
}

// A basin district asks only whether the body reaches beyond the district, a
// basin only whether it reaches beyond the basin; other regions ask both.
void TFormGroundwater::ShowQuestionsFor(const TRegion* region)
{
    const TRegionType type = region ? region->GetRegionType() : rtCountry;
    ui_->grpBoxGWBOutsideRB->setVisible(type != rtRBD);
    ui_->grpBoxGWBOutsideRBD->setVisible(type != rtRB);
}

void TFormGroundwater::StoreStation()
{
    TWell& station = *FStation;
    StoreStationControls(StationControlsOf(*ui_), station);
    station.FGWB = TextOf(*ui_->edtAquifer);
    station.FGWBOutsideRB = StoredYesNo(*ui_->rbGWBOutsideRBYes, *ui_->rbGWBOutsideRBNo);
    station.FGWBOutsideRBD = StoredYesNo(*ui_->rbGWBOutsideRBDYes, *ui_->rbGWBOutsideRBDNo);
    StoreGridColumn(*ui_->gridData, 1, 1, station.FMeanLevel);
    station.FLTAAFromYear = StoredInteger(TextOf(*ui_->edtFromYear));
    station.FLTAAToYear = StoredInteger(TextOf(*ui_->edtToYear));
    station.FMonthMinLevel = ui_->cbMonthMinLevel->currentIndex();
    station.FMonthMaxLevel = ui_->cbMonthMaxLevel->currentIndex();
}

bool TFormGroundwater::Validate()
{
    TCheckMessages messages;
    CheckStationIdentity(StationControlsOf(*ui_), skWell, *FStation,
                         "A unique identifier for the specific well is needed", messages);
    CheckAltitude(TextOf(*ui_->edtAltitude), messages);
    // Unlike the other grids, a cell of blanks is not blank here but no number.
    for (int row = 1; row <= 16; ++row) {
        const std::string level = ToStd(ui_->gridData->Cell(1, row));
        if (!level.empty() && !IsNumberOfKind(Trim(level), TNumberKind::Real))
            messages.Error(FormatText(SRealExpected, {kLevelField}));
    }
    CheckLTAAPeriod(TextOf(*ui_->edtFromYear), TextOf(*ui_->edtToYear),
                    ToStd(ui_->cmboxYear->currentText()), messages);
    CheckDataEntered(!IsGridEmpty(*ui_->gridData, 1, 1), messages);
    return ShowFindings(messages);
}

void TFormGroundwater::BitBtn8Click()
{
    ClearGridCells(*ui_->gridData, 1, 1, 1);
}

bool EditWell(TObject* object)
{
    auto* well = dynamic_cast<TWell*>(object);
    return well != nullptr && FormGroundwater->Edit(well);
}
