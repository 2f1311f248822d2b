// Opening and closing the stream-flow form on a station with every field set
// and 366 daily values, from emptying the form to storing the station (the
// modal run left out), against filling and reading the same 366 + 24 cells of
// two grids directly. The form should take at most twice as long.

#include <benchmark/benchmark.h>
#include <cstdio>

#include "app/forms/ozr_flow.h"
#include "bench/support/ratio_reporter.h"
#include "components/StrGrdQv.h"
#include "platform/sysutils.h"

namespace {

constexpr int kDays = 366;
constexpr int kMonths = 12;

// The form's own steps, without the modal run in between.
class TTimedFlowForm : public TFormFlow {
public:
    TTimedFlowForm() { EnsureBuilt(); }

    void LoadAndStore(TStreamFlow& station)
    {
        FStation = &station;
        ResetForm();
        LoadStation();
        StoreStation();
    }
};

void SetEveryField(TStreamFlow& station, double offset)
{
    station.FYear = 2008;
    station.FName = "Gauging station";
    station.FLatitude = 38.25;
    station.FLongitude = 21.5;
    station.FAltitude = 120.5;
    station.FCoordinateSystem = "WGS84";
    station.FProjectionSystem = "UTM 34N";
    station.FRemarks = "Rated curve of 2004";
    station.FRiver = "Alfeios";
    station.FRiverBasin = "Alfeios basin";
    station.FRiverBasinArea = 3658;
    station.FSubcatchment = "Ladon";
    station.FSubcatchmentArea = 750.5;
    station.FDunmar = true;
    station.FWFD = true;
    station.FDataFromYear = 1950;
    station.FDataToYear = 2008;
    station.FDataURL = "https://example.org/flows";
    station.FDataAgency = "Water Agency";
    station.FMinDischarge = 0.5;
    station.FMinDischargeDate = "3/8/2008";
    station.FMaxDischarge = 120;
    station.FMaxDischargeDate = "1/2/2008";
    station.FAnnualData = 10.25;
    station.FLTAA = 11;
    station.FLTAAFromYear = 1970;
    station.FLTAAToYear = 2000;
    for (int month = 0; month < kMonths; ++month) {
        station.FMonthlyData[month] = offset + month * 1.5;
        station.FLTAAData[month] = offset + month * 1.25;
    }
    for (int day = 0; day < kDays; ++day)
        station.FDailyData[day] = offset + day * 0.125;
}

// Two stations that differ in every value, so that each fill changes the cells.
struct TStations {
    TStations()
    {
        Session = &session;
        auto* region = new TRegion(nullptr, rtCountry, "GR");
        for (int i = 0; i < 2; ++i) {
            stations[i] = new TStreamFlow(region, "F" + std::to_string(i));
            SetEveryField(*stations[i], i);
        }
    }
    ~TStations() { Session = nullptr; }

    TSession session;
    TStreamFlow* stations[2] = {};
};

void BM_FlowFormLoadStore(benchmark::State& state)
{
    TStations data;
    TTimedFlowForm form;
    int next = 0;
    for (auto _ : state)
        form.LoadAndStore(*data.stations[next++ % 2]);
}

void FillAndRead(TQvStringGrid& grid, int col, int firstRow, std::span<double> values)
{
    int row = firstRow;
    for (double value : values)
        grid.SetCell(col, row++, QString::fromStdString(FloatToStr(value)));
    row = firstRow;
    for (double& value : values)
        value = StrToFloat(grid.Cell(col, row++).toStdString());
}

void BM_GridFillRead(benchmark::State& state)
{
    TStations data;
    TQvStringGrid daily;
    daily.SetColCount(2);
    daily.SetRowCount(kDays + 1);
    TQvStringGrid monthly;
    monthly.SetColCount(3);
    monthly.SetRowCount(kMonths + 1);
    int next = 0;
    for (auto _ : state) {
        TStreamFlow& station = *data.stations[next++ % 2];
        FillAndRead(monthly, 1, 1, station.FMonthlyData);
        FillAndRead(monthly, 2, 1, station.FLTAAData);
        FillAndRead(daily, 1, 1, station.FDailyData);
    }
}

}  // namespace

void wqbench::PrintRatios(const RatioReporter& reporter)
{
    const double form = reporter.Seconds("BM_FlowFormLoadStore");
    const double grid = reporter.Seconds("BM_GridFillRead");
    std::printf("\nstream-flow form load and store %.3f ms, grid cells alone %.3f ms\n", form * 1e3,
                grid * 1e3);
    AtMost("form / grid cells", Ratio(form, grid), 2.0);
}

BENCHMARK(BM_FlowFormLoadStore)->Unit(benchmark::kMicrosecond)->Repetitions(7);
BENCHMARK(BM_GridFillRead)->Unit(benchmark::kMicrosecond)->Repetitions(7);
