#include "app/forms/ozr_water_abstractions.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/diagrams/ozr_diag_abs1.h"
#include "app/diagrams/ozr_diag_abs2.h"
#include "app/diagrams/ozr_diag_abs3.h"
#include "app/diagrams/ozr_diag_abs4.h"
#include "app/diagrams/ozr_diag_abs5.h"
#include "app/form_support.h"
#include "app/forms/mirrored_cells.h"
#include "app/forms/quantity_grid.h"
#include "appcore/form_values.h"
#include "components/StrGrdQv.h"
#include "components/command_guard.h"
#include "components/modal_run.h"
#include "components/ozr_grid_utils.h"
#include "ui_ozr_water_abstractions.h"

TFormWaterAbs* FormWaterAbs = nullptr;

namespace {

constexpr int kHelpContext = 4000;
constexpr std::array<int, AbsTableCount> kDefaultColWidths = {180, 170, 150, 160, 160, 160, 230};
// The self-supply table's columns that show the totals of the by-sector tables.
constexpr int kSelfSupplySWCol = 2;
constexpr int kSelfSupplyGWCol = 3;
constexpr int kBySectorTotalCol = 1;

const char* const kSourceItems[] = {"Brackish swamp", "Estuary", "Lagoon", "Marine", "Other"};

}  // namespace

TFormWaterAbs::TFormWaterAbs(QWidget* parent)
    : TRegionEditor(parent, kHelpContext),
      ui(std::make_unique<Ui::FormWaterAbs>()),
      mirrors_(new TMirroredCells(this))
{
    setObjectName(QStringLiteral("FormWaterAbs"));
}

void TFormWaterAbs::BuildForm()
{
    ui->setupUi(this);
    SetFormFont(*this);
    for (QLineEdit* edit : {ui->edtRegionCode, ui->edtRegionDescription, ui->edtRegionType})
        ShowAsReadOnly(*edit);
    InitYearBox(*ui->cmboxYear);
    SetUpGrids();
    SetUpSourceBoxes();
    ConnectButtons();
    ResetForm();
}

TFormWaterAbs::~TFormWaterAbs() = default;

void TFormWaterAbs::SetUpGrids()
{
    grids_ = {ui->gridDataTot,    ui->GridDataPub,   ui->GridDataSelf, ui->GridDataSelfSW,
              ui->GridDataSelfGW, ui->GridDataNonFW, ui->GridDataOther};
    for (int table = 0; table < AbsTableCount; ++table) {
        const auto index = static_cast<std::size_t>(table);
        const int columns = static_cast<int>(WaterAbsTables()[index].Columns.size());
        SetUpQuantityGrid(Grid(table), columns + 1, kDefaultColWidths[index]);
    }
    mirrors_->Pair(*ui->GridDataSelf, kSelfSupplySWCol, *ui->GridDataSelfSW, kBySectorTotalCol);
    mirrors_->Pair(*ui->GridDataSelf, kSelfSupplyGWCol, *ui->GridDataSelfGW, kBySectorTotalCol);
}

void TFormWaterAbs::SetUpSourceBoxes()
{
    sourceBoxes_ = {ui->ComboBox1, ui->ComboBox2,  ui->ComboBox3, ui->ComboBox4,
                    ui->ComboBox5, ui->ComboBox6,  ui->ComboBox7, ui->ComboBox8,
                    ui->ComboBox9, ui->ComboBox10, ui->ComboBox11};
    for (QComboBox* box : sourceBoxes_) {
        box->setEditable(false);
        for (const char* item : kSourceItems)
            box->addItem(QString::fromLatin1(item));
    }
}

void TFormWaterAbs::ConnectButtons()
{
    SetUpEditor(*ui->btnInput, *ui->btnCancel, *ui->BitBtn6, ui->PageControl1);
    ConnectCommand(ui->BitBtn12, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn12Click);
    ConnectCommand(ui->BitBtn11, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn11Click);
    ConnectCommand(ui->BitBtn10, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn10Click);
    ConnectCommand(ui->BitBtn9, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn9Click);
    ConnectCommand(ui->BitBtn7, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn7Click);
    ConnectCommand(ui->BitBtn8, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn8Click);
    ConnectCommand(ui->BitBtn13, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn13Click);
    ConnectCommand(ui->BitBtn1, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn1Click);
    ConnectCommand(ui->BitBtn2, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn2Click);
    ConnectCommand(ui->BitBtn3, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn3Click);
    ConnectCommand(ui->BitBtn4, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn4Click);
    ConnectCommand(ui->BitBtn5, &QAbstractButton::clicked, this, &TFormWaterAbs::BitBtn5Click);
    ConnectCommand(ui->BitBtnClear, &QAbstractButton::clicked, this,
                   &TFormWaterAbs::BitBtnClearClick);
}

void TFormWaterAbs::BitBtn12Click()
{
    ClearGridCells(*ui->gridDataTot, 1, 1, 1);
}

void TFormWaterAbs::BitBtn11Click()
{
    ClearGridCells(*ui->GridDataPub, 1, 1, 1);
}

void TFormWaterAbs::BitBtn10Click()
{
    ClearGridCells(*ui->GridDataSelf, 1, 1, 1);
}

void TFormWaterAbs::BitBtn9Click()
{
    ClearGridCells(*ui->GridDataSelfSW, 1, 1, 1);
}

void TFormWaterAbs::BitBtn7Click()
{
    ClearGridCells(*ui->GridDataSelfGW, 1, 1, 1);
}

void TFormWaterAbs::BitBtn8Click()
{
    ClearGridCells(*ui->GridDataNonFW, 1, 1, 1);
}

void TFormWaterAbs::BitBtn13Click()
{
    ClearGridCells(*ui->GridDataOther, 1, 1, 1);
}

void TFormWaterAbs::BitBtn1Click()
{
    ShowModal(*FormAbs1);
}

void TFormWaterAbs::BitBtn2Click()
{
    ShowModal(*FormAbs2);
}

void TFormWaterAbs::BitBtn3Click()
{
    ShowModal(*FormAbs3);
}

void TFormWaterAbs::BitBtn4Click()
{
    ShowModal(*FormAbs4);
}

void TFormWaterAbs::BitBtn5Click()
{
    ShowModal(*FormAbs5);
}

void TFormWaterAbs::BitBtnClearClick()
{
    ResetForm();
    update();
}

void TFormWaterAbs::ResetForm()
{
    ui->edtRegionCode->clear();
    ui->edtRegionType->clear();
    ui->edtRegionDescription->clear();
    ui->cmboxYear->setCurrentIndex(0);
    ui->cmboxYear->setEditText(ui->cmboxYear->itemText(0));
    ui->edtFromYear->clear();
    ui->edtToYear->clear();
    ui->Memo1->clear();
    for (int table = 0; table < AbsTableCount; ++table) {
        ClearGridAndScroll(Grid(table), 1);
        SetQuantityGridTitles(Grid(table),
                              WaterAbsTables()[static_cast<std::size_t>(table)].Titles());
    }
    for (QComboBox* box : sourceBoxes_)
        box->setCurrentIndex(-1);
}

void TFormWaterAbs::LoadRegion()
{
    const TRegionTables& tables = FRegion->Tables();
    FillBox(*ui->edtRegionCode, FRegion->GetCode());
    LoadYearBox(*ui->cmboxYear, tables.FWAYear >= 1 ? tables.FWAYear : CurrentSession().FYear);
    FillBox(*ui->edtRegionType, RegionTypeToStr(FRegion->GetRegionType()));
    FillBox(*ui->edtRegionDescription, FRegion->FName);
    ShowRemarks(*ui->Memo1, tables.FWARemarks, TLineEnds::AfterEvery);
    FillBox(*ui->edtFromYear, IntegerText(tables.FWALTAAFromYear));
    FillBox(*ui->edtToYear, IntegerText(tables.FWALTAAToYear));
    ShowTableTexts(ShownWaterAbsTables(tables));
    LoadSources(tables);
}

bool TFormWaterAbs::Validate()
{
    const TWaterAbsEntries entries{ToStd(ui->cmboxYear->currentText()), TextOf(*ui->edtFromYear),
                                   TextOf(*ui->edtToYear), TableTexts()};
    TCheckMessages messages;
    CheckWaterAbsEntries(entries, messages);
    CheckEntriesKept(TNationalTable::WaterAbstraction, messages);
    return ShowFindings(messages);
}

void TFormWaterAbs::StoreRegion()
{
    TRegionTables& tables = FRegion->EditTables();
    tables.FWAYear = StoreYearBox(*ui->cmboxYear);
    StoreTables(tables);
}

void TFormWaterAbs::StoreTables(TRegionTables& tables) const
{
    tables.FWARemarks = RemarksOf(*ui->Memo1, TLineEnds::AfterEvery);
    tables.FWALTAAFromYear = StoredInteger(TextOf(*ui->edtFromYear));
    tables.FWALTAAToYear = StoredInteger(TextOf(*ui->edtToYear));
    StoreWaterAbsTables(TableTexts(), tables);
    StoreSources(tables);
}

TWaterAbsTexts TFormWaterAbs::TableTexts() const
{
    TWaterAbsTexts texts;
    for (int table = 0; table < AbsTableCount; ++table)
        texts[static_cast<std::size_t>(table)] = ::TableTexts(Grid(table));
    return texts;
}

void TFormWaterAbs::ShowTableTexts(const TWaterAbsTexts& texts)
{
    for (int table = 0; table < AbsTableCount; ++table)
        SetTableTexts(Grid(table), texts[static_cast<std::size_t>(table)]);
}

void TFormWaterAbs::LoadSources(const TRegionTables& tables)
{
    for (std::size_t i = 0; i < sourceBoxes_.size(); ++i)
        SelectComboItem(*sourceBoxes_[i], ToQt(NonFWSourceToStr(tables.FWANonFWSource[i])));
}

void TFormWaterAbs::StoreSources(TRegionTables& tables) const
{
    for (std::size_t i = 0; i < sourceBoxes_.size(); ++i) {
        const QComboBox& box = *sourceBoxes_[i];
        tables.FWANonFWSource[i] =
            box.currentIndex() < 0 ? nfsUnknown : StrToNonFWSource(ToStd(box.currentText()));
    }
}
