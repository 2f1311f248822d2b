#include "app/forms/ozr_water_use.h"

#include <algorithm>

#include "app/form_support.h"
#include "app/forms/quantity_grid.h"
#include "app/forms/table_grids.h"
#include "appcore/form_checks.h"
#include "appcore/form_values.h"
#include "appcore/water_use_checks.h"
#include "components/StrGrdQv.h"
#include "components/command_guard.h"
#include "components/ozr_grid_utils.h"
#include "ui_ozr_water_use.h"

TFormWaterUse* FormWaterUse = nullptr;

namespace {

constexpr int kSectorColWidth = 170;
constexpr int kLargeItemMinRows = 31;
constexpr int kLargeItemColWidth = 100;
constexpr int kNameCol = 0;
constexpr int kClassCol = 1;
constexpr int kFirstValueCol = 2;
constexpr int kLargeItemCols = kFirstValueCol + 16;
constexpr int kNameColWidth = 165;
constexpr int kClassColWidth = 102;
// The manufacturing sector and its four sub-sectors in the 16-sector grids.
constexpr int kFirstManufacturingCol = 6;
constexpr int kLastManufacturingCol = 10;
constexpr QColor kTitleColor = BgrColor(0xBBCCCC);

const std::array<std::string, 16> kSixteenSectorTitles = {"Total volume",
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

const std::array<std::string, 11> kRecycledSectorTitles = {"Total volume",
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

void LoadSectorTable(TQvStringGrid& grid, std::span<const TEntityData> table)
{
    for (std::size_t sector = 0; sector < table.size(); ++sector)
        SetColumnTexts(grid, static_cast<int>(sector) + 1, ShownQuantity(table[sector]));
}

void StoreSectorTable(const TQvStringGrid& grid, std::span<TEntityData> table)
{
    for (std::size_t sector = 0; sector < table.size(); ++sector)
        table[sector] = StoredQuantity(ColumnTexts(grid, static_cast<int>(sector) + 1));
}

void SetLargeItemTitles(TQvStringGrid& grid)
{
    grid.SetCell(kNameCol, 0, QStringLiteral("Name of item"));
    grid.SetCell(kClassCol, 0, QStringLiteral("Item class (1,2 or 3)"));
    for (std::size_t p = 0; p < PeriodTitles.size(); ++p)
        grid.SetCell(kFirstValueCol + static_cast<int>(p), 0, QString::fromLatin1(PeriodTitles[p]));
}

// The quantity grids' look and editing, with the items down the rows and the
// periods along the columns from column 2 on; no fixed column.
void SetUpLargeItemGrid(TQvStringGrid& grid)
{
    SetUpQuantityGrid(grid, kLargeItemCols, kLargeItemColWidth);
    grid.SetFixedCols(0);
    grid.SetRowCount(kLargeItemMinRows);
    grid.SetColWidth(kNameCol, kNameColWidth);
    grid.SetColWidth(kClassCol, kClassColWidth);
    SetColumnTitleColor(grid, kNameCol, kTitleColor);
    SetColumnTitleColor(grid, kClassCol, kTitleColor);
    DrawPeriodColumns(grid, kFirstValueCol);
}

// Every item has a row, and there are always 30 rows for new items at least.
int LargeItemRows(const std::vector<ozr_wu_large_item>& items)
{
    return std::max(kLargeItemMinRows, static_cast<int>(items.size()) + 1);
}

TLargeItemRow LargeItemRowOf(const TQvStringGrid& grid, int row)
{
    TLargeItemRow texts{ToStd(grid.Cell(kNameCol, row)), ToStd(grid.Cell(kClassCol, row)), {}};
    for (std::size_t p = 0; p < texts.Values.size(); ++p)
        texts.Values[p] = ToStd(grid.Cell(kFirstValueCol + static_cast<int>(p), row));
    return texts;
}

void LoadLargeItems(TQvStringGrid& grid, const std::vector<ozr_wu_large_item>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const TLargeItemRow texts = LargeItemRowTexts(items[i]);
        grid.SetCell(kNameCol, row, ToQt(texts.Name));
        grid.SetCell(kClassCol, row, ToQt(texts.ItemClass));
        for (std::size_t p = 0; p < texts.Values.size(); ++p)
            grid.SetCell(kFirstValueCol + static_cast<int>(p), row, ToQt(texts.Values[p]));
    }
}

}  // namespace

TFormWaterUse::TFormWaterUse(QWidget* parent)
    : TRegionEditor(parent, HelpContext), ui_(std::make_unique<Ui::TFormWaterUse>())
{
    setObjectName(QStringLiteral("FormWaterUse"));
}

void TFormWaterUse::BuildForm()
{
    ui_->setupUi(this);
    SetFormFont(*this);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    sectorGrids_ = {{
        {ui_->gridDataTot, ui_->BitBtn4, kSixteenSectorTitles, "Total volume of freshwater used",
         "Total volume of freshwater used"},
        {ui_->GridDataPub, ui_->BitBtn5, kSixteenSectorTitles,
         "Provided by public water supply systems", "Provided by public water supply systems"},
        {ui_->GridDataSelf, ui_->BitBtn7, kSixteenSectorTitles, "Self-suply", "Self-supply"},
        {ui_->GridDataRec, ui_->BitBtn8, kRecycledSectorTitles, "Recycled water", "Recycled water"},
    }};
    largeItemGrids_ = {{
        {ui_->gridLargeCities, ui_->BitBtn1, &TRegionTables::FWULargeItemsCity,
         "Total volume of water use per large city"},
        {ui_->gridLargeIndustries, ui_->BitBtn2, &TRegionTables::FWULargeItemsIndustry,
         "Total volume of water use per large industry"},
        {ui_->gridLargeAgricult, ui_->BitBtn3, &TRegionTables::FWULargeItemsAgricUnit,
         "Total volume of water use per large agricultural unit"},
    }};
    InitYearBox(*ui_->cmboxYear);
    for (QLineEdit* box : {ui_->edtRegionCode, ui_->edtRegionDescription, ui_->edtRegionType})
        ShowAsReadOnly(*box);
    SetUpGrids();
    ConnectButtons();
    SetUpEditor(*ui_->btnInput, *ui_->btnCancel, *ui_->BitBtn6, ui_->PageControl1);
    SetTitles();
}

TFormWaterUse::~TFormWaterUse() = default;

void TFormWaterUse::SetUpGrids()
{
    for (const TSectorGrid& sectors : sectorGrids_) {
        SetUpQuantityGrid(*sectors.Grid, static_cast<int>(sectors.Titles.size()) + 1,
                          kSectorColWidth);
        if (sectors.Titles.size() == kSixteenSectorTitles.size())
            for (int col = kFirstManufacturingCol; col <= kLastManufacturingCol; ++col)
                SetColumnTitleColor(*sectors.Grid, col, kTitleColor);
    }
    for (const TLargeItemGrid& items : largeItemGrids_)
        SetUpLargeItemGrid(*items.Grid);
}

void TFormWaterUse::ConnectButtons()
{
    for (const TSectorGrid& sectors : sectorGrids_)
        ConnectCommand(sectors.ClearButton, &QPushButton::clicked, this,
                       [grid = sectors.Grid] { ClearGridCells(*grid, 1, 1, 1); });
    for (const TLargeItemGrid& items : largeItemGrids_)
        ConnectCommand(items.ClearButton, &QPushButton::clicked, this, [grid = items.Grid] {
            ClearGridAndScroll(*grid, 0);
            SetLargeItemTitles(*grid);
        });
    ConnectCommand(ui_->BitBtnClear, &QPushButton::clicked, this, &TFormWaterUse::BitBtnClearClick);
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

void TFormWaterUse::SetTitles()
{
    for (const TSectorGrid& sectors : sectorGrids_)
        SetQuantityGridTitles(*sectors.Grid, sectors.Titles);
    for (const TLargeItemGrid& items : largeItemGrids_)
        SetLargeItemTitles(*items.Grid);
}

void TFormWaterUse::BitBtnClearClick()
{
    ResetForm();
    update();
}

void TFormWaterUse::ResetForm()
{
    ResetControls(*this);
    ui_->cmboxYear->setCurrentIndex(0);
    for (const TSectorGrid& sectors : sectorGrids_)
        ClearGridAndScroll(*sectors.Grid, 1);
    for (const TLargeItemGrid& items : largeItemGrids_)
        ClearGridAndScroll(*items.Grid, 0);
    SetTitles();
}

void TFormWaterUse::LoadRegion()
{
    const TRegionTables& tables = FRegion->Tables();
    FillBox(*ui_->edtRegionCode, FRegion->GetCode());
    LoadYearBox(*ui_->cmboxYear, tables.FWUYear >= 1 ? tables.FWUYear : CurrentSession().FYear);
    FillBox(*ui_->edtRegionType, RegionTypeToStr(FRegion->GetRegionType()));
    FillBox(*ui_->edtRegionDescription, FRegion->FName);
    ui_->edtRegionDescription->setCursorPosition(0);
    ShowRemarks(*ui_->Memo1, tables.FWURemarks, TLineEnds::AfterEvery);
    FillBox(*ui_->edtFromYear, IntegerText(tables.FWULTAAFromYear));
    FillBox(*ui_->edtToYear, IntegerText(tables.FWULTAAToYear));
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
    std::vector<std::vector<TPeriodTexts>> sectorTexts;
    for (const TSectorGrid& sectors : sectorGrids_) {
        sectorTexts.push_back(TableTexts(*sectors.Grid));
        CheckTableNumbers(sectorTexts.back(), TNumberKind::NonNegativeReal, SWaterUseValueExpected,
                          sectors.NumberName, messages);
    }
    CheckLTAAPeriod(TextOf(*ui_->edtFromYear), TextOf(*ui_->edtToYear), year, messages);
    for (std::size_t i = 0; i < sectorGrids_.size(); ++i)
        CheckMonthlySums(sectorTexts[i], sectorGrids_[i].Titles, sectorGrids_[i].SumName, messages);
    CheckLargeItems(messages);
    CheckEntriesKept(TNationalTable::WaterUse, messages);
    return ShowFindings(messages);
}

void TFormWaterUse::CheckLargeItems(TCheckMessages& messages) const
{
    for (const TLargeItemGrid& items : largeItemGrids_)
        for (int row = 1; row < items.Grid->RowCount(); ++row)
            CheckLargeItemRow(LargeItemRowOf(*items.Grid, row), items.TableName, messages);
}

void TFormWaterUse::StoreRegion()
{
    TRegionTables& tables = FRegion->EditTables();
    tables.FWUYear = StoreYearBox(*ui_->cmboxYear);
    StoreTables(tables);
}

void TFormWaterUse::StoreTables(TRegionTables& tables) const
{
    tables.FWURemarks = RemarksOf(*ui_->Memo1, TLineEnds::AfterEvery);
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
