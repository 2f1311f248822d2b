// Times of fill, copy, paste and sort on a grid of 367 x 17 (the daily grid of
// a year, the largest the forms use) and of 10,000 x 17, run offscreen. The
// ratio of the two sizes should stay near 10,000 / 367 (about 27); a step
// that grew quadratically would show a ratio in the hundreds.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <string>

#include <QClipboard>
#include <QGuiApplication>

#include "bench/support/ratio_reporter.h"
#include "components/StrGrdQv.h"

namespace {

constexpr int kCols = 17;
constexpr int kSmallRows = 367;
constexpr int kLargeRows = 10000;

QString Value(std::mt19937& random)
{
    return QString::number(std::uniform_real_distribution<double>(0.0, 1000.0)(random), 'f', 3);
}

void FillGrid(TQvStringGrid& grid, int rows, std::mt19937& random)
{
    grid.SetColCount(kCols);
    grid.SetRowCount(rows);
    for (int col = 1; col < kCols; ++col)
        grid.SetCell(col, 0, QStringLiteral("Column ") + QString::number(col));
    for (int row = 1; row < rows; ++row) {
        grid.SetCell(0, row, QString::number(row));
        for (int col = 1; col < kCols; ++col)
            grid.SetCell(col, row, Value(random));
    }
}

void BM_Fill(benchmark::State& state)
{
    std::mt19937 random(1);
    for (auto _ : state) {
        TQvStringGrid grid;
        FillGrid(grid, static_cast<int>(state.range(0)), random);
    }
}

void BM_Copy(benchmark::State& state)
{
    std::mt19937 random(2);
    TQvStringGrid grid;
    FillGrid(grid, static_cast<int>(state.range(0)), random);
    for (auto _ : state)
        CopyGridToClipboard(grid, 0, grid.ColCount() - 1, grid.RowCount() - 1, 0);
}

void BM_Paste(benchmark::State& state)
{
    std::mt19937 random(3);
    TQvStringGrid source;
    FillGrid(source, static_cast<int>(state.range(0)), random);
    CopyGridToClipboard(source, 1, source.ColCount() - 1, source.RowCount() - 1, 1);
    TQvStringGrid grid;
    grid.SetColCount(kCols);
    grid.SetRowCount(static_cast<int>(state.range(0)));
    grid.SetOptions(grid.Options() | goEditing);
    for (auto _ : state)
        grid.PasteFromClipboard(1, 1);
}

void BM_Sort(benchmark::State& state)
{
    std::mt19937 random(4);
    TQvStringGrid grid;
    FillGrid(grid, static_cast<int>(state.range(0)), random);
    for (auto _ : state) {
        state.PauseTiming();
        for (int row = 1; row < grid.RowCount(); ++row)
            grid.SetCell(3, row, Value(random));
        state.ResumeTiming();
        SortGridByColumn(grid, 3, true);
    }
}

double Milliseconds(const wqbench::RatioReporter& reporter, const std::string& step, int rows)
{
    return reporter.Seconds(step + "/" + std::to_string(rows)) * 1e3;
}

}  // namespace

void wqbench::PrintRatios(const RatioReporter& reporter)
{
    constexpr double kLimit = 60.0;
    for (const char* step : {"BM_Fill", "BM_Copy", "BM_Paste", "BM_Sort"}) {
        const double small = Milliseconds(reporter, step, kSmallRows);
        const double large = Milliseconds(reporter, step, kLargeRows);
        std::printf("\n%s: %.3f ms at %d rows, %.3f ms at %d rows\n", step + 3, small, kSmallRows,
                    large, kLargeRows);
        AtMost(std::string(step + 3) + " time ratio", Ratio(large, small), kLimit);
    }
}

BENCHMARK(BM_Fill)->Arg(kSmallRows)->Arg(kLargeRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Arg(kSmallRows)->Arg(kLargeRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Arg(kSmallRows)->Arg(kLargeRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Arg(kSmallRows)->Arg(kLargeRows)->Unit(benchmark::kMillisecond);
