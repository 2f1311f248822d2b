#include "app/forms/ozr_water_balance.h"

#include "app/diagrams/ozr_diag_wb_return_flow.h"
#include "app/form_support.h"
#include "app/forms/quantity_grid.h"
#include "appcore/form_checks.h"
#include "components/command_guard.h"
#include "components/modal_run.h"
#include "components/ozr_grid_utils.h"
#include "ui_ozr_water_balance.h"

TFormWaterBalance* FormWaterBalance = nullptr;

namespace {

constexpr int kHelpContext = 3100;
constexpr std::array<int, WaterBalanceTableCount> kColWidths = {150, 180, 150, 160, 160, 160};

// None checked is a valid state here (an unknown origin), which exclusive
// radio buttons do not allow by themselves.
void Uncheck(QRadioButton& button)
{
    button.setAutoExclusive(false);
    button.setChecked(false);
    button.setAutoExclusive(true);
}

}  // namespace

TFormWaterBalance::TFormWaterBalance(QWidget* parent)
    : TRegionEditor(parent, kHelpContext), ui_(std::make_unique<Ui::TFormWaterBalance>())
{
    setObjectName(QStringLiteral("FormWaterBalance"));
}

void TFormWaterBalance::BuildForm()
{
    ui_->setupUi(this);
    SetFormFont(*this);
    SetUpEditor(*ui_->btnInput, *ui_->btnCancel, *ui_->BitBtn6, ui_->PageControl1);
    for (QLineEdit* edit : {ui_->edtRegionCode, ui_->edtRegionDescription, ui_->edtRegionType})
        ShowAsReadOnly(*edit);
    InitYearBox(*ui_->cmboxYear);
    const std::array<QAbstractButton*, WaterBalanceTableCount> clearButtons = {
        ui_->BitBtn13, ui_->BitBtn1, ui_->BitBtn2, ui_->BitBtn3, ui_->BitBtn4, ui_->BitBtn5};
    const auto grids = Grids();
    for (int table = 0; table < WaterBalanceTableCount; ++table) {
        TQvStringGrid* grid = grids[table];
        const auto& titles = WaterBalanceTableInfo(static_cast<TWaterBalanceTable>(table)).Titles;
        SetUpQuantityGrid(*grid, static_cast<int>(titles.size()) + 1, kColWidths[table]);
        SetQuantityGridTitles(*grid, titles);
        ConnectCommand(clearButtons[table], &QAbstractButton::clicked, this,
                       [grid] { ClearGridCells(*grid, 1, 1, 1); });
    }
    ConnectCommand(ui_->BitBtnClear, &QAbstractButton::clicked, this,
                   &TFormWaterBalance::BitBtnClearClick);
    ConnectCommand(ui_->Help, &QAbstractButton::clicked, this, &TFormWaterBalance::HelpClick);
}

TFormWaterBalance::~TFormWaterBalance() = default;

std::array<TQvStringGrid*, WaterBalanceTableCount> TFormWaterBalance::Grids() const
{
    return {ui_->gridData1,      ui_->gridData2,     ui_->gridData3,
            ui_->gridDataReused, ui_->gridDataDesal, ui_->gridData4};
}

void TFormWaterBalance::BitBtnClearClick()
{
    ResetForm();
    update();
}

void TFormWaterBalance::HelpClick()
{
    ShowModal(*FormReturnFlowDiagram);
}

void TFormWaterBalance::ResetForm()
{
    ui_->edtRegionCode->clear();
    ui_->edtRegionType->clear();
    ui_->cmboxYear->setCurrentIndex(0);
    ui_->edtRegionDescription->clear();
    ui_->Memo1->clear();
    const auto grids = Grids();
    for (int table = 0; table < WaterBalanceTableCount; ++table) {
        ClearGridAndScroll(*grids[table], 1);
        SetQuantityGridTitles(*grids[table],
                              WaterBalanceTableInfo(static_cast<TWaterBalanceTable>(table)).Titles);
    }
    for (QLineEdit* edit : {ui_->edtImportsOrigin, ui_->edtExportsDestination, ui_->edtReturnedUnit,
                            ui_->edtReused, ui_->edtFromYear, ui_->edtToYear})
        edit->clear();
    CheckOrigin(agoUnknown);
}

void TFormWaterBalance::LoadRegion()
{
    const TRegionTables& tables = FRegion->Tables();
    FillBox(*ui_->edtRegionCode, FRegion->GetCode());
    LoadYearBox(*ui_->cmboxYear, tables.FWBYear >= 1 ? tables.FWBYear : CurrentSession().FYear);
    FillBox(*ui_->edtRegionType, RegionTypeToStr(FRegion->GetRegionType()));
    FillBox(*ui_->edtRegionDescription, FRegion->FName);
    ShowTexts(WaterBalanceTexts(tables));
}

void TFormWaterBalance::StoreRegion()
{
    StoreWaterBalance(FormTexts(), StoreYearBox(*ui_->cmboxYear), FRegion->EditTables());
}

void TFormWaterBalance::StoreTables(TRegionTables& tables) const
{
    StoreWaterBalance(FormTexts(), tables.FWBYear, tables);
}

bool TFormWaterBalance::Validate()
{
    TCheckMessages messages;
    const std::string yearText = ToStd(ui_->cmboxYear->currentText());
    CheckReportingYear(yearText, messages);
    CheckWaterBalance(FormTexts(), yearText, messages);
    CheckEntriesKept(TNationalTable::WaterBalance, messages);
    return ShowFindings(messages);
}

TWaterBalanceTexts TFormWaterBalance::FormTexts() const
{
    TWaterBalanceTexts texts;
    texts.Remarks = ToStd(ui_->Memo1->toPlainText());
    texts.LTAAFromYear = TextOf(*ui_->edtFromYear);
    texts.LTAAToYear = TextOf(*ui_->edtToYear);
    const auto grids = Grids();
    for (int table = 0; table < WaterBalanceTableCount; ++table)
        texts.Tables[table] = TableTexts(*grids[table]);
    texts.ReturnedUnit = TextOf(*ui_->edtReturnedUnit);
    texts.ReusedUnit = TextOf(*ui_->edtReused);
    texts.ImportsOrigin = TextOf(*ui_->edtImportsOrigin);
    texts.ExportsDestination = TextOf(*ui_->edtExportsDestination);
    texts.ArtifGWOrigin = CheckedOrigin();
    return texts;
}

void TFormWaterBalance::ShowTexts(const TWaterBalanceTexts& texts)
{
    ui_->Memo1->setPlainText(ToQt(texts.Remarks));
    FillBox(*ui_->edtFromYear, texts.LTAAFromYear);
    FillBox(*ui_->edtToYear, texts.LTAAToYear);
    const auto grids = Grids();
    for (int table = 0; table < WaterBalanceTableCount; ++table)
        SetTableTexts(*grids[table], texts.Tables[table]);
    FillBox(*ui_->edtReturnedUnit, texts.ReturnedUnit);
    FillBox(*ui_->edtReused, texts.ReusedUnit);
    FillBox(*ui_->edtImportsOrigin, texts.ImportsOrigin);
    FillBox(*ui_->edtExportsDestination, texts.ExportsDestination);
    CheckOrigin(texts.ArtifGWOrigin);
}

void TFormWaterBalance::CheckOrigin(TArtifGWOrigin origin)
{
    for (QRadioButton* button : {ui_->rbReturnFlow, ui_->rbDesalinatedWater, ui_->rbWaterImports})
        Uncheck(*button);
    switch (origin) {
        case agoReturnFlow: ui_->rbReturnFlow->setChecked(true); break;
        case agoDesalinatedWater: ui_->rbDesalinatedWater->setChecked(true); break;
        case agoWaterImports: ui_->rbWaterImports->setChecked(true); break;
        case agoUnknown: break;
    }
}

TArtifGWOrigin TFormWaterBalance::CheckedOrigin() const
{
    if (ui_->rbReturnFlow->isChecked())
        return agoReturnFlow;
    if (ui_->rbDesalinatedWater->isChecked())
        return agoDesalinatedWater;
    if (ui_->rbWaterImports->isChecked())
        return agoWaterImports;
    return agoUnknown;
}
