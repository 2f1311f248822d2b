// LoadRegion then StoreRegion of the water-use form on a region whose every
// water-use table is filled and which has 100 items in each large-item list,
// without the modal run, against putting the same texts into the same grid
// cells and reading them back. The form's round trip should take at most
// twice as long as the bare cells. As in every edit, the form is reset before
// each load (and the bare cells emptied), untimed, so that loading writes
// each cell anew.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

#include "app/forms/ozr_water_use.h"
#include "bench/support/ratio_reporter.h"
#include "components/StrGrdQv.h"

namespace {

constexpr int kLargeItems = 100;
constexpr double kLimit = 2.0;

// Opens the form's own load and store steps to the benchmark.
class TWaterUseBench : public TFormWaterUse {
public:
    explicit TWaterUseBench(TRegion* region)
    {
        FRegion = region;
        EnsureBuilt();
    }
    using TFormWaterUse::LoadRegion;
    using TFormWaterUse::ResetForm;
    using TFormWaterUse::StoreRegion;
};

// Values with a few decimals, as reported volumes have.
double Volume(int& next)
{
    return ++next * 0.731 + 0.125;
}

template <typename TTable>
void FillTable(TTable& table, int& next)
{
    for (TEntityData& values : table)
        for (double& value : values)
            value = Volume(next);
}

void FillItems(std::vector<ozr_wu_large_item>& items, int& next)
{
    items.resize(kLargeItems);
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].ItemName = "Large user " + std::to_string(i + 1);
        items[i].ItemClass = 1 + static_cast<int>(i % 3);
        for (double& value : items[i].WaterUse)
            value = Volume(next);
    }
}

struct TFilledSession {
    TFilledSession()
    {
        Session = &session;
        region = new TRegion(nullptr, rtNUTS2, "GR11", "Anatoliki Makedonia, Thraki");
        TRegionTables& tables = region->EditTables();
        int next = 0;
        FillTable(tables.FWUTotalFreshwaterUsed, next);
        FillTable(tables.FWUPublicWaterSupply, next);
        FillTable(tables.FWUSelfSupply, next);
        FillTable(tables.FWURecycledWater, next);
        FillItems(tables.FWULargeItemsCity, next);
        FillItems(tables.FWULargeItemsIndustry, next);
        FillItems(tables.FWULargeItemsAgricUnit, next);
        tables.FWUYear = 2006;
        tables.FWULTAAFromYear = 1971;
        tables.FWULTAAToYear = 2000;
    }
    ~TFilledSession() { Session = nullptr; }

    TSession session;
    TRegion* region = nullptr;
};

// Every data cell the form writes, with the text it writes there.
struct TCellText {
    TQvStringGrid* Grid;
    int Col;
    int Row;
    QString Text;
};

std::vector<TCellText> FormCells(TWaterUseBench& form)
{
    std::vector<TCellText> cells;
    for (TQvStringGrid* grid : form.findChildren<TQvStringGrid*>())
        for (int row = 1; row < grid->RowCount(); ++row)
            for (int col = grid->FixedCols(); col < grid->ColCount(); ++col)
                if (!grid->Cell(col, row).isEmpty())
                    cells.push_back({grid, col, row, grid->Cell(col, row)});
    return cells;
}

void BM_FormLoadStore(benchmark::State& state)
{
    TFilledSession filled;
    TWaterUseBench form(filled.region);
    for (auto _ : state) {
        state.PauseTiming();
        form.ResetForm();
        state.ResumeTiming();
        form.LoadRegion();
        form.StoreRegion();
    }
    benchmark::DoNotOptimize(filled.region->Tables().FWULargeItemsCity.size());
}

void BM_GridCells(benchmark::State& state)
{
    TFilledSession filled;
    TWaterUseBench form(filled.region);
    form.LoadRegion();
    const std::vector<TCellText> cells = FormCells(form);
    state.counters["cells"] = static_cast<double>(cells.size());
    qsizetype length = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const TCellText& cell : cells)
            cell.Grid->SetCell(cell.Col, cell.Row, QString());
        state.ResumeTiming();
        for (const TCellText& cell : cells)
            cell.Grid->SetCell(cell.Col, cell.Row, cell.Text);
        for (const TCellText& cell : cells)
            length += cell.Grid->Cell(cell.Col, cell.Row).size();
    }
    benchmark::DoNotOptimize(length);
}

}  // namespace

void wqbench::PrintRatios(const RatioReporter& reporter)
{
    const double form = reporter.Seconds("BM_FormLoadStore");
    const double cells = reporter.Seconds("BM_GridCells");
    std::printf("\nLoadRegion + StoreRegion %.3f ms, the same cells directly %.3f ms\n", form * 1e3,
                cells * 1e3);
    AtMost("form / cells", Ratio(form, cells), kLimit);
}

BENCHMARK(BM_FormLoadStore)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_GridCells)->Unit(benchmark::kMillisecond)->Repetitions(5);
