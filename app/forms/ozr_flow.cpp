#include "app/forms/ozr_flow.h"

#include <span>

#include <QSignalBlocker>

#include "app/form_support.h"
#include "app/forms/station_controls.h"
#include "appcore/check_messages.h"
#include "appcore/daily_dates.h"
#include "appcore/form_checks.h"
#include "appcore/form_values.h"
#include "components/command_guard.h"
#include "components/ozr_grid_utils.h"
#include "ui_ozr_flow.h"

TFormFlow* FormFlow = nullptr;

namespace {

constexpr int kHelpContext = 3230;
constexpr int kMonths = 12;
constexpr int kDays = 366;
// Day 366 as a row of the table below the title row.
constexpr int kDay366TableRow = 365;

void SetBackground(QWidget& box, const QColor& color)
{
    if (box.palette().color(QPalette::Base) == color)
        return;
    QPalette colours = box.palette();
    colours.setColor(QPalette::Base, color);
    box.setPalette(colours);
}

QStringList MonthlyColumnTitles()
{
    return {QStringLiteral("Mean monthly streamflow"),
            QStringLiteral("LTA Streamflow of that month")};
}

QColor MonthlyColumnColor(int col)
{
    return col == 1 ? BgrColor(0xEEEEEE) : BgrColor(0xB9FFFF);
}

}  // namespace

TFormFlow::TFormFlow(QWidget* parent)
    : TStationEditor(parent, kHelpContext), ui_(std::make_unique<Ui::FormFlow>())
{
    setWindowFlags(Qt::Tool);
    setObjectName(QStringLiteral("FormFlow"));
}

void TFormFlow::BuildForm()
{
    ui_->setupUi(this);
    SetUpStationForm(*this, StationControlsOf(*ui_));
    SetUpEditor(*ui_->btnInput, *ui_->btnCancel, *ui_->BitBtn1, ui_->PageControl1);
    SetUpDataGrid(*ui_->gridMonthlyData, {131, 180, 180}, kMonths + 1, 20, Qt::white, 0);
    ResetGrid(*ui_->gridMonthlyData, MonthlyColumnTitles(), MonthTitles());
    WidenColumnsToCells(*ui_->gridMonthlyData, 0);
    DrawCellBackgrounds(*ui_->gridMonthlyData,
                        [](int col, int) { return MonthlyColumnColor(col); });
    SetUpDataGrid(*ui_->gridDailyData, {164, 224}, kDays + 1, 20, Qt::white, -1);
    ui_->gridDailyData->SetCell(0, 0, QStringLiteral("Date"));
    ui_->gridDailyData->SetCell(1, 0, QStringLiteral("Mean daily streamflow (m3/s)"));
    // Inline completion would turn the first digit typed into another year,
    // which the daily grid would follow at once.
    ui_->cmboxYear->setCompleter(nullptr);
    ConnectCommand(ui_->cmboxYear, &QComboBox::currentTextChanged, this, &TFormFlow::cmboxYearChange);
    ConnectCommand(ui_->BitBtn8, &QPushButton::clicked, this, &TFormFlow::BitBtn8Click);
    ConnectCommand(ui_->BitBtn2, &QPushButton::clicked, this, &TFormFlow::BitBtn2Click);
}

TFormFlow::~TFormFlow() = default;

void TFormFlow::ResetForm()
{
    const QSignalBlocker keepDailyGrid(ui_->cmboxYear);
    ResetControls(*this);
    ui_->cmboxYear->setCurrentIndex(0);
    SetBackground(*ui_->edtannual_data, BgrColor(0xC0DCC0));
    SetBackground(*ui_->edtLTAA, BgrColor(0xB9FFFF));
    ResetGrid(*ui_->gridMonthlyData, MonthlyColumnTitles(), MonthTitles());
}

void TFormFlow::LoadStation()
{
    const TStreamFlow& station = *FStation;
    {
        const QSignalBlocker relabelledBelow(ui_->cmboxYear);
        LoadStationControls(StationControlsOf(*ui_), station);
    }
    LabelDailyRows(ReportingYear(ToStd(ui_->cmboxYear->currentText())).value());
    FillBox(*ui_->edtRiver, station.FRiver);
    LoadCatchmentControls(CatchmentControlsOf(*ui_), CatchmentFieldsOf(*FStation));
    FillBox(*ui_->edtMinDischarge, RealText(station.FMinDischarge));
    FillBox(*ui_->edtMinDischargeDate, station.FMinDischargeDate);
    FillBox(*ui_->edtMaxDischarge, RealText(station.FMaxDischarge));
    FillBox(*ui_->edtMaxDischargeDate, station.FMaxDischargeDate);
    FillBox(*ui_->edtannual_data, RealText(station.FAnnualData));
    FillBox(*ui_->edtLTAA, RealText(station.FLTAA));
    FillBox(*ui_->edtFromYear, IntegerText(station.FLTAAFromYear));
    FillBox(*ui_->edtToYear, IntegerText(station.FLTAAToYear));
    LoadGridColumn(*ui_->gridMonthlyData, 1, 1, station.FMonthlyData, NonNegativeRealText);
    LoadGridColumn(*ui_->gridMonthlyData, 2, 1, station.FLTAAData, NonNegativeRealText);
    // Every value cell is written, so the grid needs no clearing first.
    LoadGridColumn(*ui_->gridDailyData, 1, 1, std::span(station.FDailyData).first(FDayCount),
                   NonNegativeRealText);
    if (FDayCount < kDays)
        ui_->gridDailyData->SetCell(1, kDays, QString());
}

void TFormFlow::StoreStation()
{
    TStreamFlow& station = *FStation;
    StoreStationControls(StationControlsOf(*ui_), station);
    station.FRiver = TextOf(*ui_->edtRiver);
    StoreCatchmentControls(CatchmentControlsOf(*ui_), CatchmentFieldsOf(station));
    station.FMinDischarge = StoredReal(TextOf(*ui_->edtMinDischarge));
    station.FMinDischargeDate = TextOf(*ui_->edtMinDischargeDate);
    station.FMaxDischarge = StoredReal(TextOf(*ui_->edtMaxDischarge));
    station.FMaxDischargeDate = TextOf(*ui_->edtMaxDischargeDate);
    station.FAnnualData = StoredReal(TextOf(*ui_->edtannual_data));
    station.FLTAA = StoredReal(TextOf(*ui_->edtLTAA));
    station.FLTAAFromYear = StoredInteger(TextOf(*ui_->edtFromYear));
    station.FLTAAToYear = StoredInteger(TextOf(*ui_->edtToYear));
    StoreGridColumn(*ui_->gridMonthlyData, 1, 1, station.FMonthlyData);
    StoreGridColumn(*ui_->gridMonthlyData, 2, 1, station.FLTAAData);
    // Day 366 keeps its value in a year of 365 days.
    StoreGridColumn(*ui_->gridDailyData, 1, 1, std::span(station.FDailyData).first(FDayCount));
}

bool TFormFlow::Validate()
{
    TCheckMessages messages;
    CheckFourDigitYear(ToStd(ui_->cmboxYear->currentText()), messages);
    CheckStationIdentity(StationControlsOf(*ui_), skStreamFlow, *FStation,
                         "A unique identifier for the streamflow station is needed", messages);
    CheckAltitude(TextOf(*ui_->edtAltitude), messages);
    CheckNetworkMembership(ui_->chbDUNMAR->isChecked(), ui_->chbWFD->isChecked(), messages);
    const std::pair<const QLineEdit*, const char*> extremes[] = {
        {ui_->edtMinDischarge, "Min. streamflow"}, {ui_->edtMaxDischarge, "Max. streamflow"}};
    for (const auto& [box, name] : extremes)
        CheckNumberField(TextOf(*box), TNumberKind::NonNegativeReal, name, messages);
    CheckMinNotAboveMax(TextOf(*ui_->edtMinDischarge), TextOf(*ui_->edtMaxDischarge), messages);
    const std::pair<const QLineEdit*, const char*> period[] = {
        {ui_->edtDataFromYear, "Period of available data (From)"},
        {ui_->edtDataToYear, "Period of available data (To)"}};
    for (const auto& [box, name] : period)
        CheckNumberField(TextOf(*box), TNumberKind::NonNegativeInteger, name, messages);
    const std::pair<const QLineEdit*, const char*> quantities[] = {
        {ui_->edtRiver_basin_area, "River basin area"},
        {ui_->edtSubcatchment_area, "Subcatchment area"},
        {ui_->edtannual_data, "Annual streamflow"},
        {ui_->edtLTAA, "LTAA streamflow (for the whole period)"}};
    for (const auto& [box, name] : quantities)
        CheckNumberField(TextOf(*box), TNumberKind::NonNegativeReal, name, messages);
    CheckLTAAPeriod(TextOf(*ui_->edtFromYear), TextOf(*ui_->edtToYear),
                    ToStd(ui_->cmboxYear->currentText()), messages);
    CheckGridNumbers(*ui_->gridMonthlyData, 1, kMonths,
                     {"Mean monthly streamflow", "Mean LTAA streamflow"},
                     TNumberKind::NonNegativeReal, messages);
    CheckGridNumbers(*ui_->gridDailyData, 1, FDayCount, {"Mean daily streamflow"},
                     TNumberKind::NonNegativeReal, messages);
    CheckDataEntered(
        !IsGridEmpty(*ui_->gridMonthlyData, 1, 1) || !IsGridEmpty(*ui_->gridDailyData, 1, 1),
        messages);
    return ShowFindings(messages);
}

// Only another four-digit year clears the daily values: the texts the user
// passes through while typing a year, and the labelled year typed over
// itself, leave labels and values as they are.
void TFormFlow::cmboxYearChange(const QString& text)
{
    const std::optional<int> year = FourDigitYear(ToStd(text));
    if (!year || year == FLabelledYear)
        return;
    LabelDailyRows(*year);
    ClearGridCells(*ui_->gridDailyData, 1, 1, 1);
}

void TFormFlow::LabelDailyRows(int year)
{
    FDayCount = DaysInYear(year);
    if (FLabelledYear == year)
        return;
    FLabelledYear = year;
    QStringList labels;
    for (int day = 1; day <= kDays; ++day)
        labels << (day <= FDayCount ? ToQt(DailyRowLabel(year, day)) : QString());
    SetRowTitles(*ui_->gridDailyData, labels);
    // A day the year does not have takes no input.
    ui_->gridDailyData->setRowHidden(kDay366TableRow, FDayCount < kDays);
}

void TFormFlow::BitBtn8Click()
{
    ClearGridCells(*ui_->gridMonthlyData, 1, 1, 1);
}

void TFormFlow::BitBtn2Click()
{
    ClearGridCells(*ui_->gridDailyData, 1, 1, 1);
}

bool EditStreamFlow(TObject* object)
{
    auto* streamFlow = dynamic_cast<TStreamFlow*>(object);
    return streamFlow != nullptr && FormFlow->Edit(streamFlow);
}
