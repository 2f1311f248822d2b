#include "app/main/ozr_regions.h"

#include <algorithm>
#include <array>
#include <vector>

#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QStyle>

#include "app/form_support.h"
#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "app/main/ozr_main.h"
#include "appcore/regions_overview.h"
#include "appcore/station_lists.h"
#include "components/command_guard.h"
#include "components/frmproperties.h"
#include "components/ozr_grid_utils.h"
#include "model/ozr_types.h"
#include "ui_ozr_regions.h"

TFormRegions* FormRegions = nullptr;

namespace {

constexpr int kColumns = 10;
constexpr int kFirstTableCol = 3;
constexpr int kFirstStationCol = 6;
constexpr std::array<int, kColumns> kColWidths = {105, 143, 72, 77, 95, 75, 66, 67, 77, 84};
const std::array<QString, kColumns> kTitles = {QStringLiteral("Region code"),
                                               QStringLiteral("Region name"),
                                               QStringLiteral("Region type"),
                                               QStringLiteral("Water balance"),
                                               QStringLiteral("Water abstraction"),
                                               QStringLiteral("Water use"),
                                               QStringLiteral("Wells"),
                                               QStringLiteral("Reservoirs"),
                                               QStringLiteral("Streamflow st."),
                                               QStringLiteral("Precipitation st.")};

constexpr QColor kCream = BgrColor(0xF0FBFF);
constexpr QColor kFixedGrey = BgrColor(14540253);
constexpr QColor kTableMarkColour = BgrColor(12639424);
constexpr QColor kStationCountColour = BgrColor(15780518);

QString Mark(bool present)
{
    return present ? QStringLiteral("YES") : QString();
}

QString Count(int count)
{
    return count > 0 ? QString::number(count) : QString();
}

void FillRow(TQvStringGrid& grid, int row, const TRegionsOverviewRow& content)
{
    const TRegion& region = *content.Region;
    grid.SetCell(0, row, ToQt(region.GetCode()));
    grid.SetCell(1, row, ToQt(region.FName));
    grid.SetCell(2, row, ToQt(RegionTypeToStr(region.GetRegionType())));
    grid.SetCell(3, row, Mark(content.WaterBalance));
    grid.SetCell(4, row, Mark(content.WaterAbstraction));
    grid.SetCell(5, row, Mark(content.WaterUse));
    for (int kind = 0; kind < 4; ++kind)
        grid.SetCell(kFirstStationCol + kind, row, Count(content.Stations[kind]));
}

// Every column and a vertical scroll bar in view.
int TableWidth(const TQvStringGrid& grid)
{
    int width = 2 * grid.frameWidth() + grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int col = 0; col < grid.ColCount(); ++col)
        width += grid.ColWidth(col);
    return width;
}

}  // namespace

TFormRegions::TFormRegions(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TFormRegions>())
{
    ui_->setupUi(this);
    SetFormFont(*this);
    SetUpGrid();
    FormCreate();
}

TFormRegions::~TFormRegions() = default;

// The overview lives in the main window; a form made without one (as in a
// test of the table alone) keeps its panel.
void TFormRegions::FormCreate()
{
    if (!FormMain)
        return;
    FormMain->pnlData()->layout()->addWidget(ui_->pnlReportedData);
    FormMain->FitDataWidth(TableWidth(*ui_->gridRegions));
}

void TFormRegions::SetUpGrid()
{
    TQvStringGrid& grid = *ui_->gridRegions;
    grid.SetColCount(kColumns);
    grid.SetFixedCols(kFirstTableCol);
    grid.SetColor(kCream);
    grid.SetFixedColor(kFixedGrey);
    grid.SetSelectedCellColor(kCream);
    grid.SetSelectedFontColor(Qt::black);
    grid.SetDefaultRowHeight(18);
    for (int col = 0; col < kColumns; ++col)
        grid.SetColWidth(col, kColWidths[col]);
    // Wide enough for the titles where the font is wider than the one the
    // widths were chosen for.
    InitRegionsGrid();
    WidenColumnsToCells(grid, 0);
    grid.SetOptions((grid.Options() | goRowSelect | goRangeSelect) & ~TGridOptions(goEditing));
    grid.OnDrawCell = [this](QPainter& canvas, int col, int row, const QRect& rect,
                             TGridDrawState) { gridRegionsDrawCell(canvas, col, row, rect); };
    ConnectCommand(&grid, &TQvStringGrid::MouseDown, this, &TFormRegions::gridRegionsMouseDown);
    ConnectCommand(&grid, &TQvStringGrid::DblClick, this, &TFormRegions::gridRegionsDblClick);
    grid.installEventFilter(this);
}

TQvStringGrid* TFormRegions::gridRegions() const
{
    return ui_->gridRegions;
}

// The rows go first: emptying thousands of cells that are then removed
// would cost as much as filling them.
void TFormRegions::InitRegionsGrid()
{
    TQvStringGrid& grid = *ui_->gridRegions;
    grid.SetRowCount(2);
    ClearGrid(grid);
    for (int col = 0; col < kColumns; ++col)
        grid.SetCell(col, 0, kTitles[col]);
}

void TFormRegions::FillRegionsGrid()
{
    InitRegionsGrid();
    const std::vector<TRegionsOverviewRow> rows = RegionsOverviewRows(CurrentSession());
    TQvStringGrid& grid = *ui_->gridRegions;
    grid.SetRowCount(std::max<int>(2, static_cast<int>(rows.size()) + 1));
    for (std::size_t i = 0; i < rows.size(); ++i)
        FillRow(grid, static_cast<int>(i) + 1, rows[i]);
}

void TFormRegions::gridRegionsMouseDown(int col, int row)
{
    lastPressCell_ = QPoint(col, row);
}

TPropertiesDialog& TFormRegions::PropDlg()
{
    if (!propDlg_)
        propDlg_ = new TPropertiesDialog(this);
    return *propDlg_;
}

void TFormRegions::gridRegionsDblClick()
{
    OpenCell(lastPressCell_);
}

bool TFormRegions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->gridRegions && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunGuarded([this] { OpenCell(ui_->gridRegions->CurrentCell()); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormRegions::OpenCell(QPoint cell)
{
    const TQvStringGrid& grid = *ui_->gridRegions;
    const int row = cell.y();
    const TOverviewOpening opening =
        OverviewCellOpening(cell.x(), row, ToStd(grid.Cell(0, row)), ToStd(grid.Cell(2, row)));
    switch (opening.Target) {
        case TOverviewTarget::None: break;
        case TOverviewTarget::WaterBalance: FormWaterBalance->Edit(opening.Region); break;
        case TOverviewTarget::WaterAbstraction: FormWaterAbs->Edit(opening.Region); break;
        case TOverviewTarget::WaterUse: FormWaterUse->Edit(opening.Region); break;
        case TOverviewTarget::StationList: ShowStationList(PropDlg(), opening.Kind); break;
    }
    FillRegionsGrid();
}

void TFormRegions::gridRegionsDrawCell(QPainter& canvas, int col, int row, const QRect& rect)
{
    if (row < 1 || col < kFirstTableCol)
        return;
    const QColor background = col < kFirstStationCol ? kTableMarkColour : kStationCountColour;
    FillCellText(canvas, rect, background, ui_->gridRegions->Cell(col, row));
}
