// FillRegionsGrid over a session whose regions all hold data, ten stations
// each, against putting the same texts into the same grid directly (the grid
// holding the previous fill in both cases, as at every refill after a
// command); and the time per region at 10,000 regions against 1,000, for the
// refill and, as the floor the grid sets, for the direct fill.
//
//   build/bench/bench_overview          (offscreen unless QT_QPA_PLATFORM is set)

#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/ozr_regions.h"
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

// In the program a refill follows a command, which has been through other
// memory, so the session and the grid are no longer in the caches. Each round
// starts so, untimed, for every case and size alike.
void EvictCaches(benchmark::State& state)
{
    static std::vector<char> other(std::size_t{256} << 20);
    state.PauseTiming();
    for (std::size_t i = 0; i < other.size(); i += 64)
        ++other[i];
    benchmark::DoNotOptimize(other.data());
    state.ResumeTiming();
}

void BM_FillRegionsGrid(benchmark::State& state)
{
    OverviewSession session(static_cast<int>(state.range(0)));
    TFormRegions form;
    form.FillRegionsGrid();
    for (auto _ : state) {
        EvictCaches(state);
        form.FillRegionsGrid();
    }
}

// The texts of the table as FillRegionsGrid fills it, kept as the model keeps
// texts, so that the direct fill converts them as the refill does.
std::vector<std::array<std::string, kColumns>> CellTexts()
{
    TFormRegions form;
    form.FillRegionsGrid();
    const TQvStringGrid& grid = *form.gridRegions();
    std::vector<std::array<std::string, kColumns>> rows(grid.RowCount());
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < kColumns; ++col)
            rows[row][col] = grid.Cell(col, row).toStdString();
    return rows;
}

void BM_FillCellsDirectly(benchmark::State& state)
{
    OverviewSession session(static_cast<int>(state.range(0)));
    const auto texts = CellTexts();
    TFormRegions form;
    form.FillRegionsGrid();
    TQvStringGrid& grid = *form.gridRegions();
    for (auto _ : state) {
        EvictCaches(state);
        grid.SetRowCount(2);
        grid.SetRowCount(static_cast<int>(texts.size()));
        for (int row = 0; row < static_cast<int>(texts.size()); ++row)
            for (int col = 0; col < kColumns; ++col)
                grid.SetCell(col, row, QString::fromStdString(texts[row][col]));
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
    return small > 0 ? large / small : 0.0;
}

}  // namespace

void wqbench::PrintRatios(const RatioReporter& reporter)
{
    const std::string large = "/" + std::to_string(kLarge);
    const double fill = Milliseconds(reporter, "BM_FillRegionsGrid" + large);
    const double direct = Milliseconds(reporter, "BM_FillCellsDirectly" + large);
    std::printf(
        "\nFillRegionsGrid, %d regions: %.1f ms; the same cells directly: %.1f ms\n"
        "ratio %.2f (limit 1.5)\n",
        kLarge, fill, direct, direct > 0 ? fill / direct : 0.0);
    std::printf(
        "time per region at %d over %d regions: FillRegionsGrid %.2f (limit 1.3), "
        "the cells directly %.2f\n",
        kLarge, kSmall, Growth(reporter, "BM_FillRegionsGrid"),
        Growth(reporter, "BM_FillCellsDirectly"));
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
