#include "app/ozr_water_use.h"

#include <algorithm>

#include "app/form_support.h"
#include "app/table_grids.h"
#include "checks/form_checks.h"
#include "checks/form_values.h"
#include "checks/water_use_checks.h"
#include "components/StrGrdQv.h"
#include "components/ozr_grid_utils.h"
#include "ui_ozr_water_use.h"

TFormWaterUse* FormWaterUse = nullptr;

namespace {

constexpr int kSectorRows = 17;
constexpr int kSectorColWidth = 170;
constexpr int kLargeItemMinRows = 31;
constexpr int kLargeItemColWidth = 100;
constexpr int kNameColWidth = 165;
constexpr int kClassColWidth = 102;
// The manufacturing sector and its four sub-sectors in the 16-sector grids.
constexpr int kFirstManufacturingCol = 6;
constexpr int kLastManufacturingCol = 10;
constexpr QColor kTitleColor = BgrColor(0xBBCCCC);

constexpr std::array<const char*, 16> kSixteenSectorTitles = {"Total volume",
                                                              "Domestic water use",
                                                              "Agriculture (NACE A)",
                                                              "Irrigation",
                                                              "Mining & Quarrying (NACE B)",
                                                              "Manufacturing industry (NACE C)",
                                                              "Food processing industry",
                                                              "Basic metals",
                                                              "Transport equipment",
                                                              "Textiles",
                                                              "Cooling water for industry",
                                                              "Production of electricity (NACE D)",
                                                              "Cooling water for electricity",
                                                              "Hydropower generation",
                                                              "Services (e.g. tourism) (NACE I)",
                                                              "Other (e.g. construction)"};

constexpr std::array<const char*, 11> kRecycledSectorTitles = {"Total volume",
                                                               "Domestic",
                                                               "Agriculture (NACE A)",
                                                               "Irrigation",
                                                               "Mining & Quarrying (NACE B)",
                                                               "Manufacturing industry (NACE C)",
                                                               "Cooling water for industry",
                                                               "Prod. of electricity (NACE D)",
                                                               "Cooling water for electricity",
                                                               "Services (e.g. tourism) (NACE I)",
                                                               "Other"};

// The sector grids in check order: the table's name in the number messages
// and in the monthly-sum messages, which spell self-supply differently.
struct TSectorTableNames {
    const char* Number;
    const char* Sum;
};
constexpr std::array<TSectorTableNames, 4> kSectorTableNames = {{
    {"Total volume of freshwater used", "Total volume of freshwater used"},
    {"Provided by public water supply systems", "Provided by public water supply systems"},
    {"Self-suply", "Self-supply"},
    {"Recycled water", "Recycled water"},
}};

constexpr std::array<const char*, 3> kLargeItemTableNames = {
    "Total volume of water use per large city", "Total volume of water use per large industry",
    "Total volume of water use per large agricultural unit"};

void SetLargeItemTitles(TQvStringGrid& grid)
{
    grid.SetCell(LargeItemNameCol, 0, QStringLiteral("Name of item"));
    grid.SetCell(LargeItemClassCol, 0, QStringLiteral("Item class (1,2 or 3)"));
    for (std::size_t p = 0; p < PeriodTitles.size(); ++p)
        grid.SetCell(LargeItemFirstValueCol + static_cast<int>(p), 0,
                     QString::fromLatin1(PeriodTitles[p]));
}

void SetUpLargeItemGrid(TQvStringGrid& grid)
{
    SetUpTableGrid(grid, LargeItemCols, kLargeItemMinRows, kLargeItemColWidth);
    grid.SetFixedCols(0);
    grid.SetColWidth(LargeItemNameCol, kNameColWidth);
    grid.SetColWidth(LargeItemClassCol, kClassColWidth);
    SetColumnTitleColor(grid, LargeItemNameCol, kTitleColor);
    SetColumnTitleColor(grid, LargeItemClassCol, kTitleColor);
    DrawPeriodColumns(grid, LargeItemFirstValueCol);
    SetLargeItemTitles(grid);
    FitColumnsToTitles(grid);
}

TLargeItemRow LargeItemRowOf(const TQvStringGrid& grid, int row)
{
    TLargeItemRow texts;
    for (int col = 0; col < LargeItemCols; ++col)
        texts[col] = ToStd(grid.Cell(col, row));
    return texts;
}

// Every item has a row, and there are always 30 rows for new items at least.
int LargeItemRows(const std::vector<ozr_wu_large_item>& items)
{
    return std::max(kLargeItemMinRows, static_cast<int>(items.size()) + 1);
}

void LoadLargeItems(TQvStringGrid& grid, const std::vector<ozr_wu_large_item>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TLargeItemRow texts = LargeItemRowTexts(items[i]);
        for (int col = 0; col < LargeItemCols; ++col)
            grid.SetCell(col, static_cast<int>(i) + 1, ToQt(texts[col]));
    }
}

// The region's code, name and type are shown, never edited.
void ShowAsReadOnly(QLineEdit& box)
{
    QPalette colours = box.palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    box.setPalette(colours);
}

}  // namespace

TFormWaterUse::TFormWaterUse(QWidget* parent)
    : TRegionEditor(parent, HelpContext), ui_(std::make_unique<Ui::TFormWaterUse>())
{
    ui_->setupUi(this);
    SetFormFont(*this);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowState(Qt::WindowMaximized);
    sectorGrids_ = {{{ui_->gridDataTot, ui_->BitBtn4},
                     {ui_->GridDataPub, ui_->BitBtn5},
                     {ui_->GridDataSelf, ui_->BitBtn7},
                     {ui_->GridDataRec, ui_->BitBtn8}}};
    largeItemGrids_ = {
        {{ui_->gridLargeCities, ui_->BitBtn1, &TRegionTables::FWULargeItemsCity},
         {ui_->gridLargeIndustries, ui_->BitBtn2, &TRegionTables::FWULargeItemsIndustry},
         {ui_->gridLargeAgricult, ui_->BitBtn3, &TRegionTables::FWULargeItemsAgricUnit}}};
    InitYearBox(*ui_->cmboxYear);
    for (QLineEdit* box : {ui_->edtRegionCode, ui_->edtRegionDescription, ui_->edtRegionType})
        ShowAsReadOnly(*box);
    SetUpGrids();
    ConnectButtons();
    SetUpEditor(*ui_->btnInput, *ui_->btnCancel, *ui_->BitBtn6, ui_->PageControl1);
}

TFormWaterUse::~TFormWaterUse() = default;

void TFormWaterUse::SetUpGrids()
{
    for (const TSectorGrid& sectors : sectorGrids_) {
        const bool recycled = sectors.Grid == ui_->GridDataRec;
        SetUpTableGrid(*sectors.Grid,
                       1 + static_cast<int>(recycled ? kRecycledSectorTitles.size()
                                                     : kSixteenSectorTitles.size()),
                       kSectorRows, kSectorColWidth);
        DrawPeriodRows(*sectors.Grid);
        if (!recycled)
            for (int col = kFirstManufacturingCol; col <= kLastManufacturingCol; ++col)
                SetColumnTitleColor(*sectors.Grid, col, kTitleColor);
    }
    SetSectorTitles();
    for (const TSectorGrid& sectors : sectorGrids_)
        FitColumnsToTitles(*sectors.Grid);
    for (const TLargeItemGrid& items : largeItemGrids_)
        SetUpLargeItemGrid(*items.Grid);
}

void TFormWaterUse::ConnectButtons()
{
    for (const TSectorGrid& sectors : sectorGrids_)
        connect(sectors.ClearButton, &QPushButton::clicked, this,
                [grid = sectors.Grid] { ClearGridCells(*grid, 1, 1, 1); });
    for (const TLargeItemGrid& items : largeItemGrids_)
        connect(items.ClearButton, &QPushButton::clicked, this, [grid = items.Grid] {
            ClearGridAndScroll(*grid, 0);
            SetLargeItemTitles(*grid);
        });
    connect(ui_->BitBtnClear, &QPushButton::clicked, this, &TFormWaterUse::BitBtnClearClick);
}

std::vector<TQvStringGrid*> TFormWaterUse::AllGrids() const
{
    std::vector<TQvStringGrid*> grids;
    for (const TSectorGrid& sectors : sectorGrids_)
        grids.push_back(sectors.Grid);
    for (const TLargeItemGrid& items : largeItemGrids_)
        grids.push_back(items.Grid);
    return grids;
}

void TFormWaterUse::SetSectorTitles()
{
    for (const TSectorGrid& sectors : sectorGrids_)
        if (sectors.Grid == ui_->GridDataRec)
            SetQuantityGridTitles(*sectors.Grid, kRecycledSectorTitles);
        else
            SetQuantityGridTitles(*sectors.Grid, kSixteenSectorTitles);
}

void TFormWaterUse::BitBtnClearClick()
{
    ResetForm();
    update();
}

void TFormWaterUse::ResetForm()
{
    ui_->edtRegionCode->clear();
    ui_->edtRegionType->clear();
    ui_->cmboxYear->setCurrentIndex(0);
    ui_->edtFromYear->clear();
    ui_->edtToYear->clear();
    ui_->edtRegionDescription->clear();
    ui_->Memo1->clear();
    for (const TSectorGrid& sectors : sectorGrids_)
        ClearGridAndScroll(*sectors.Grid, 1);
    for (const TLargeItemGrid& items : largeItemGrids_)
        ClearGridAndScroll(*items.Grid, 0);
    SetSectorTitles();
    for (const TLargeItemGrid& items : largeItemGrids_)
        SetLargeItemTitles(*items.Grid);
}

void TFormWaterUse::LoadRegion()
{
    const TRegionTables& tables = FRegion->Tables();
    ui_->edtRegionCode->setText(ToQt(FRegion->GetCode()));
    LoadYearBox(*ui_->cmboxYear, tables.FWUYear >= 1 ? tables.FWUYear : CurrentSession().FYear);
    ui_->edtRegionType->setText(ToQt(RegionTypeToStr(FRegion->GetRegionType())));
    ui_->edtRegionDescription->setText(ToQt(FRegion->FName));
    LoadRemarks(*ui_->Memo1, tables.FWURemarks);
    ui_->edtFromYear->setText(ToQt(IntegerText(tables.FWULTAAFromYear)));
    ui_->edtToYear->setText(ToQt(IntegerText(tables.FWULTAAToYear)));
    for (const TLargeItemGrid& items : largeItemGrids_)
        items.Grid->SetRowCount(LargeItemRows(tables.*items.Items));
    const TGridBulkWrite bulk(AllGrids());
    LoadSectorTable(*ui_->gridDataTot, tables.FWUTotalFreshwaterUsed);
    LoadSectorTable(*ui_->GridDataPub, tables.FWUPublicWaterSupply);
    LoadSectorTable(*ui_->GridDataSelf, tables.FWUSelfSupply);
    LoadSectorTable(*ui_->GridDataRec, tables.FWURecycledWater);
    for (const TLargeItemGrid& items : largeItemGrids_)
        LoadLargeItems(*items.Grid, tables.*items.Items);
}

bool TFormWaterUse::Validate()
{
    TCheckMessages messages;
    const std::string year = ToStd(ui_->cmboxYear->currentText());
    CheckReportingYear(year, messages);
    for (std::size_t i = 0; i < sectorGrids_.size(); ++i)
        CheckNonNegativeCells(*sectorGrids_[i].Grid, SWaterUseValueExpected,
                              kSectorTableNames[i].Number, messages);
    CheckLTAAPeriod(TextOf(*ui_->edtFromYear), TextOf(*ui_->edtToYear), year, messages);
    for (std::size_t i = 0; i < sectorGrids_.size(); ++i)
        CheckMonthlySums(*sectorGrids_[i].Grid, kSectorTableNames[i].Sum, messages);
    CheckLargeItems(messages);
    return ShowFindings(messages);
}

void TFormWaterUse::CheckLargeItems(TCheckMessages& messages) const
{
    for (std::size_t i = 0; i < largeItemGrids_.size(); ++i) {
        const TQvStringGrid& grid = *largeItemGrids_[i].Grid;
        for (int row = 1; row < grid.RowCount(); ++row)
            CheckLargeItemRow(LargeItemRowOf(grid, row), kLargeItemTableNames[i], messages);
    }
}

void TFormWaterUse::StoreRegion()
{
    TRegionTables& tables = FRegion->EditTables();
    tables.FWUYear = StoreYearBox(*ui_->cmboxYear);
    tables.FWURemarks = StoredRemarks(*ui_->Memo1);
    tables.FWULTAAFromYear = StoredInteger(TextOf(*ui_->edtFromYear));
    tables.FWULTAAToYear = StoredInteger(TextOf(*ui_->edtToYear));
    StoreSectorTable(*ui_->gridDataTot, tables.FWUTotalFreshwaterUsed);
    StoreSectorTable(*ui_->GridDataPub, tables.FWUPublicWaterSupply);
    StoreSectorTable(*ui_->GridDataSelf, tables.FWUSelfSupply);
    StoreSectorTable(*ui_->GridDataRec, tables.FWURecycledWater);
    StoreLargeItems(tables);
}

// Rows without a name are dropped; the others keep their order.
void TFormWaterUse::StoreLargeItems(TRegionTables& tables) const
{
    for (const TLargeItemGrid& items : largeItemGrids_) {
        TLargeItems& list = tables.*items.Items;
        list.clear();
        for (int row = 1; row < items.Grid->RowCount(); ++row)
            if (auto item = LargeItemOfRow(LargeItemRowOf(*items.Grid, row)))
                list.push_back(std::move(*item));
    }
}
