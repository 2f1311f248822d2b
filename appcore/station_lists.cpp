#include "appcore/station_lists.h"

namespace {

constexpr int kWaterBalanceCol = 3;
constexpr int kWaterAbstractionCol = 4;
constexpr int kWaterUseCol = 5;
constexpr int kFirstStationCol = 6;
constexpr int kLastStationCol = kFirstStationCol + skRainGauge;

}  // namespace

const char* StationListCaption(TStationKind Kind)
{
    switch (Kind) {
        case skWell: return "Groundwater level properties";
        case skReservoir: return "Reservoir properties";
        case skStreamFlow: return "Stream flow properties";
        case skRainGauge: return "Precipitation properties";
    }
    return "";
}

TOverviewOpening OverviewCellOpening(int Col, int Row, const std::string& Code,
                                     const std::string& TypeWord)
{
    // The one row of an overview without data names no region: a click there
    // is harmless and answers nothing.
    if (Col < kWaterBalanceCol || Col > kLastStationCol || Row < 1 || TypeWord.empty())
        return {};
    TRegion* region = nullptr;
    if (!FindRegion(Code, StrToRegionType(TypeWord), region))
        return {};
    switch (Col) {
        case kWaterBalanceCol: return {TOverviewTarget::WaterBalance, region};
        case kWaterAbstractionCol: return {TOverviewTarget::WaterAbstraction, region};
        case kWaterUseCol: return {TOverviewTarget::WaterUse, region};
        default:
            return {TOverviewTarget::StationList, region,
                    static_cast<TStationKind>(Col - kFirstStationCol)};
    }
}
