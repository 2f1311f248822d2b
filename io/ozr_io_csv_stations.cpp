#include "io/ozr_io_csv_stations.h"

#include "appcore/form_texts.h"
#include "platform/sysutils.h"

namespace {

enum TStationField { sfScale, sfRegion, sfCode, sfName, sfLongitude, sfLatitude, sfType };

std::optional<TRegionType> ScaleOf(std::string_view scale)
{
    if (AsciiSameText(scale, "country"))
        return rtCountry;
    if (AsciiSameText(scale, "rbd"))
        return rtRBD;
    if (AsciiSameText(scale, "su"))
        return rtSU;
    return std::nullopt;
}

std::optional<TReservoirType> ReservoirTypeOf(std::string_view type)
{
    if (type == "M" || type == "m")
        return rsManMade;
    if (type == "N" || type == "n")
        return rsNatural;
    return std::nullopt;
}

TEntity* NewStation(TStationKind kind, TRegion* region, const std::string& code)
{
    switch (kind) {
        case skReservoir: return new TReservoir(region, code);
        case skStreamFlow: return new TStreamFlow(region, code);
        case skRainGauge: return new TRainGauge(region, code);
        case skWell: break;
    }
    return new TWell(region, code);
}

}  // namespace

TCsvStationsImport::TCsvStationsImport(const TStationImportSettings& settings)
    : TCsvImport(settings.Csv), FChosenKind(settings.Kind), FYearText(settings.YearText)
{
}

void TCsvStationsImport::CheckOwnSettings(std::vector<std::string>& errors) const
{
    if (!FChosenKind)
        errors.emplace_back("No data type selected");
    int year = 0;
    if (!TryStrToInt(Trim(FYearText), year))
        errors.emplace_back(SYearNotInteger);
}

void TCsvStationsImport::ReadOwnSettings()
{
    FKind = FChosenKind.value_or(skWell);
    FYear = StrToInt(Trim(FYearText));
}

void TCsvStationsImport::BeginPass()
{
    FNewStations.clear();
    FTexts.Clear();
    FCodesOfPass.Clear();
    FLastRegionCode.clear();
}

TRegion* TCsvStationsImport::RegionOf(TRegionType type, std::string_view code)
{
    if (type == FLastRegionType && code == FLastRegionCode)
        return FLastRegion;
    TRegion* region = nullptr;
    if (!FindRegion(std::string(code), type, region) ||
        region->GetCountry() != CurrentSession().GetCountry())
        region = nullptr;
    FLastRegionType = type;
    FLastRegionCode = code;
    FLastRegion = region;
    return region;
}

std::optional<std::string> TCsvStationsImport::LineError(
    const std::vector<std::string_view>& fields, std::uint32_t codePrint, TNewStation& station)
{
    static constexpr std::pair<TStationField, const char*> kRequired[] = {
        {sfScale, "No spatial scale found"}, {sfRegion, "No region code found"},
        {sfCode, "No station code found"},   {sfName, "No station name found"},
        {sfLongitude, "No longitude found"}, {sfLatitude, "No latitude found"},
    };
    for (const auto& [field, message] : kRequired)
        if (FieldAt(fields, field).empty())
            return message;
    const bool reservoir = FKind == skReservoir;
    if (reservoir && FieldAt(fields, sfType).empty())
        return "No reservoir type found ('M': Man made 'N': Natural)";

    const std::string_view scale = FieldAt(fields, sfScale);
    const std::optional<TRegionType> regionType = ScaleOf(scale);
    if (!regionType)
        return "Unrecognized spatial scale '" + std::string(scale) + "'";
    const std::string_view regionCode = FieldAt(fields, sfRegion);
    station.Region = RegionOf(*regionType, regionCode);
    if (!station.Region) {
        const TRegion* country = CurrentSession().GetCountry();
        return "Unrecognized region with code '" + std::string(regionCode) + "' in Country '" +
               (country ? country->FName : std::string()) + "'";
    }
    station.Code = FieldAt(fields, sfCode);
    const std::string code(station.Code);
    TEntity* existing = nullptr;
    if (FindStation(code, FKind, existing) || FCodesOfPass.Contains(station.Code, codePrint))
        return "A station with code '" + code + "' already exists";
    if (!TryStrToFloat(FieldAt(fields, sfLongitude), station.Longitude))
        return std::string("A real number is expected for the Longitude");
    if (!TryStrToFloat(FieldAt(fields, sfLatitude), station.Latitude))
        return std::string("A real number is expected for the Latitude");
    if (reservoir) {
        const std::optional<TReservoirType> type = ReservoirTypeOf(FieldAt(fields, sfType));
        if (!type)
            return "The reservoir type could not be recognized ('M': Man made 'N': Natural)";
        station.ReservoirType = *type;
    }
    station.Name = FieldAt(fields, sfName);
    return std::nullopt;
}

bool TCsvStationsImport::ImportLine(const std::vector<std::string_view>& fields,
                                    std::string& message)
{
    // The set of codes is large and its slots scattered: fetching the code's
    // slot while the checks before it run spares the wait for memory.
    const std::uint32_t codePrint = TCaselessCodeSet::Fingerprint(FieldAt(fields, sfCode));
    FCodesOfPass.Prefetch(codePrint);
    TNewStation station;
    if (std::optional<std::string> error = LineError(fields, codePrint, station)) {
        message = std::move(*error);
        return false;
    }
    station.Code = FTexts.Keep(station.Code);
    station.Name = FTexts.Keep(station.Name);
    FCodesOfPass.Insert(station.Code, codePrint);
    FNewStations.push_back(station);
    return true;
}

void TCsvStationsImport::ApplyLines()
{
    TSession& session = CurrentSession();
    const int added = static_cast<int>(FNewStations.size());
    for (TListOZR* list : {&session.FEntities, session.StationList(FKind)})
        list->Reserve(list->Count() + added);
    for (const TNewStation& line : FNewStations) {
        TEntity* station = NewStation(FKind, line.Region, std::string(line.Code));
        station->FYear = FYear;
        station->FName = line.Name;
        station->FLongitude = line.Longitude;
        station->FLatitude = line.Latitude;
        if (FKind == skReservoir)
            static_cast<TReservoir*>(station)->FReservoirType = line.ReservoirType;
    }
}
