#include "app/forms/ozr_reservoirs.h"

#include "app/form_support.h"
#include "app/forms/station_controls.h"
#include "appcore/check_messages.h"
#include "appcore/form_checks.h"
#include "appcore/form_values.h"
#include "components/command_guard.h"
#include "components/ozr_grid_utils.h"
#include "ui_ozr_reservoirs.h"

TFormReservoirs* FormReservoirs = nullptr;

namespace {

constexpr int kHelpContext = 3220;
constexpr const char* kTableTitle = "Data";

QStringList PeriodTitles()
{
    return MonthTitles() << QStringLiteral("Annual (hm3/year)")
                         << QStringLiteral("Wet Season (hm3/month)")
                         << QStringLiteral("Dry Season (hm3/month)")
                         << QStringLiteral("LTAA (hm3/year)");
}

}  // namespace

TFormReservoirs::TFormReservoirs(QWidget* parent)
    : TStationEditor(parent, kHelpContext), ui_(std::make_unique<Ui::FormReservoirs>())
{
    setWindowFlags(Qt::Tool);
    setObjectName(QStringLiteral("FormReservoirs"));
}

void TFormReservoirs::BuildForm()
{
    ui_->setupUi(this);
    SetUpStationForm(*this, StationControlsOf(*ui_));
    SetUpEditor(*ui_->btnInput, *ui_->btnCancel, *ui_->BitBtn1, ui_->PageControl1);
    SetUpDataGrid(*ui_->gridData, {157, 100, 100}, 17, 18, BgrColor(0xF4DAC1), 0);
    ui_->gridData->SetSelectedCellColor(BgrColor(0x804000));
    ui_->gridData->SetSelectedFontColor(Qt::gray);
    DrawPeriodRows(*ui_->gridData);
    ConnectCommand(ui_->BitBtn8, &QPushButton::clicked, this, &TFormReservoirs::BitBtn8Click);
}

TFormReservoirs::~TFormReservoirs() = default;

void TFormReservoirs::ResetForm()
{
    ResetControls(*this);
    ui_->cmboxYear->setCurrentIndex(0);
    ResetGrid(*ui_->gridData, {QStringLiteral("Inflow"), QStringLiteral("Outflow")},
              PeriodTitles());
}

void TFormReservoirs::LoadStation()
{
    const TReservoir& station = *FStation;
    LoadStationControls(StationControlsOf(*ui_), station);
    FillBox(*ui_->edtStorage, RealText(station.FStorageCapacity));
    ui_->rbManMade->setChecked(station.FReservoirType == rsManMade);
    ui_->rbNatural->setChecked(station.FReservoirType == rsNatural);
    FillBox(*ui_->edtFromYear, IntegerText(station.FLTAAFromYear));
    FillBox(*ui_->edtToYear, IntegerText(station.FLTAAToYear));
    LoadGridColumn(*ui_->gridData, 1, 1, station.FInflow, NonNegativeRealText);
    LoadGridColumn(*ui_->gridData, 2, 1, station.FOutflow, NonNegativeRealText);
}

void TFormReservoirs::StoreStation()
{
    TReservoir& station = *FStation;
    StoreStationControls(StationControlsOf(*ui_), station);
    station.FStorageCapacity = StoredReal(TextOf(*ui_->edtStorage));
    if (ui_->rbManMade->isChecked())
        station.FReservoirType = rsManMade;
    else if (ui_->rbNatural->isChecked())
        station.FReservoirType = rsNatural;
    station.FLTAAFromYear = StoredInteger(TextOf(*ui_->edtFromYear));
    station.FLTAAToYear = StoredInteger(TextOf(*ui_->edtToYear));
    StoreGridColumn(*ui_->gridData, 1, 1, station.FInflow);
    StoreGridColumn(*ui_->gridData, 2, 1, station.FOutflow);
}

bool TFormReservoirs::Validate()
{
    const TQvStringGrid& grid = *ui_->gridData;
    TCheckMessages messages;
    CheckStationIdentity(StationControlsOf(*ui_), skReservoir, *FStation,
                         "A unique identifier for the specific reservoir is needed", messages);
    CheckNumberField(TextOf(*ui_->edtStorage), TNumberKind::PositiveReal, "Storage capacity",
                     messages);
    CheckAltitude(TextOf(*ui_->edtAltitude), messages);
    if (!ui_->rbManMade->isChecked() && !ui_->rbNatural->isChecked())
        messages.Error("The type of the reservoir should be selected");
    CheckGridNumbers(grid, 1, 16, {"Inflow volume value", "Outflow volume value"},
                     TNumberKind::NonNegativeReal, messages);
    CheckLTAAPeriod(TextOf(*ui_->edtFromYear), TextOf(*ui_->edtToYear),
                    ToStd(ui_->cmboxYear->currentText()), messages);
    CheckDataEntered(!IsGridEmpty(grid, 1, 1), messages);
    for (int col = 1; col <= 2; ++col)
        CheckMonthlySum(GridColumnTexts(grid, col, 1, 13), kTableTitle, ToStd(grid.Cell(col, 0)),
                        messages);
    return ShowFindings(messages);
}

void TFormReservoirs::BitBtn8Click()
{
    ClearGridCells(*ui_->gridData, 1, 1, 1);
}

bool EditReservoir(TObject* object)
{
    auto* reservoir = dynamic_cast<TReservoir*>(object);
    return reservoir != nullptr && FormReservoirs->Edit(reservoir);
}
