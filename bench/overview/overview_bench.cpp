// FillRegionsGrid over a session whose regions all hold data, ten stations
// each, against putting the same texts into the same grid directly (the grid
// holding the previous fill in both cases, as at every refill after a
// command); and the time per region at 10,000 regions against 1,000, for the
// refill and, as the floor the grid sets, for the direct fill.
//
//   build/bench/bench_overview          (offscreen unless QT_QPA_PLATFORM is set)

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/main/ozr_regions.h"
#include "bench/support/caches.h"
#include "bench/support/ratio_reporter.h"
#include "model/ozr_types.h"

namespace {

constexpr int kSmall = 1000;
constexpr int kLarge = 10000;
constexpr int kStationsPerRegion = 10;
constexpr int kColumns = 10;

// Every region of the country holds stations of every kind, and every
// fourth also one value in one of its three tables.
class OverviewSession {
public:
    explicit OverviewSession(int regions) : session_(std::make_unique<TSession>())
    {
        Session = session_.get();
        auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
        for (int i = 0; i < regions; ++i) {
            const std::string code = "GR" + std::to_string(100000 + i);
            auto* region = new TRegion(country, rtRBD, code, "District " + code);
            AddStations(region, code);
            AddTableValue(*region, i);
        }
    }

private:
    static void AddStations(TRegion* region, const std::string& code)
    {
        for (int n = 0; n < kStationsPerRegion; ++n) {
            const std::string id = code + "-" + std::to_string(n);
            switch (n % 4) {
                case 0: new TWell(region, id); break;
                case 1: new TReservoir(region, id); break;
                case 2: new TStreamFlow(region, id); break;
                default: new TRainGauge(region, id);
            }
        }
    }

    static void AddTableValue(TRegion& region, int i)
    {
        if (i % 4 != 0)
            return;
        TRegionTables& tables = region.EditTables();
        switch (i / 4 % 3) {
            case 0: tables.FWBAdditional[4][LTAAIndex] = 1; break;
            case 1: tables.FWAAbstractionForSelfSupplyTotalGW[15][LTAAIndex] = 2; break;
            default: tables.FWULargeItemsAgricUnit.resize(1);
        }
    }

    std::unique_ptr<TSession> session_;
};

void BM_FillRegionsGrid(benchmark::State& state)
{
    OverviewSession session(static_cast<int>(state.range(0)));
    TFormRegions form;
    form.FillRegionsGrid();
    for (auto _ : state) {
        wqbench::EvictCaches(state);
        form.FillRegionsGrid();
    }
}

// A cell of a fill that holds a text.
struct TCellText {
    int Col;
    int Row;
    QString Text;
};

std::vector<TCellText> FilledCells(const TQvStringGrid& grid)
{
    std::vector<TCellText> cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int col = 0; col < kColumns; ++col)
            if (!grid.Cell(col, row).isEmpty())
                cells.push_back({col, row, grid.Cell(col, row)});
    return cells;
}

// The cheapest way to put the same texts into the same grid: the rows of the
// previous fill go, as in the refill, and only the cells that hold a text are
// written, from strings made before any timing.
void BM_FillCellsDirectly(benchmark::State& state)
{
    OverviewSession session(static_cast<int>(state.range(0)));
    TFormRegions form;
    form.FillRegionsGrid();
    TQvStringGrid& grid = *form.gridRegions();
    const int rows = grid.RowCount();
    const std::vector<TCellText> cells = FilledCells(grid);
    for (auto _ : state) {
        wqbench::EvictCaches(state);
        grid.SetRowCount(2);
        grid.SetRowCount(rows);
        for (const TCellText& cell : cells)
            grid.SetCell(cell.Col, cell.Row, cell.Text);
    }
}

double Milliseconds(const wqbench::RatioReporter& reporter, const std::string& name)
{
    return reporter.Seconds(name) * 1e3;
}

// Per region at the large size over per region at the small one.
double Growth(const wqbench::RatioReporter& reporter, const std::string& name)
{
    const double small = reporter.Seconds(name + "/" + std::to_string(kSmall)) / kSmall;
    const double large = reporter.Seconds(name + "/" + std::to_string(kLarge)) / kLarge;
    return wqbench::Ratio(large, small);
}

}  // namespace

void wqbench::PrintRatios(const RatioReporter& reporter)
{
    const std::string large = "/" + std::to_string(kLarge);
    const double fill = Milliseconds(reporter, "BM_FillRegionsGrid" + large);
    const double direct = Milliseconds(reporter, "BM_FillCellsDirectly" + large);
    std::printf("\nFillRegionsGrid, %d regions: %.1f ms; the same cells directly: %.1f ms\n",
                kLarge, fill, direct);
    AtMost("FillRegionsGrid / the cells directly", Ratio(fill, direct), 1.5);
    std::printf("time per region at %d over %d regions, the cells directly: %.2f\n", kLarge, kSmall,
                Growth(reporter, "BM_FillCellsDirectly"));
    AtMost("time per region at " + std::to_string(kLarge) + " over " + std::to_string(kSmall) +
               " regions, FillRegionsGrid",
           Growth(reporter, "BM_FillRegionsGrid"), 1.3);
}

BENCHMARK(BM_FillRegionsGrid)
    ->Arg(kSmall)
    ->Arg(kLarge)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillCellsDirectly)
    ->Arg(kSmall)
    ->Arg(kLarge)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);
