#include "io/ozr_io_csv_stations.h"

#include <algorithm>

#include "model/key_index.h"
#include "platform/sysutils.h"

namespace {

// The import's line for a year box that holds no whole number, in the words
// the forms use for their own year boxes.
constexpr const char* kYearNotInteger = "An integer number is expected for the Year";

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

std::string CodeTakenMessage(std::string_view code)
{
    return "A station with code '" + std::string(code) + "' already exists";
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
        errors.emplace_back(kYearNotInteger);
}

void TCsvStationsImport::ReadOwnSettings()
{
    FKind = FChosenKind.value_or(skWell);
    FYear = StrToInt(Trim(FYearText));
}

void TCsvStationsImport::BeginPass()
{
    FLines.clear();
    FClaims.clear();
    FTexts.Clear();
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

std::optional<std::string> TCsvStationsImport::CodeError(
    const std::vector<std::string_view>& fields, TCheckedLine& line)
{
    static constexpr std::pair<TStationField, const char*> kRequired[] = {
        {sfScale, "No spatial scale found"}, {sfRegion, "No region code found"},
        {sfCode, "No station code found"},   {sfName, "No station name found"},
        {sfLongitude, "No longitude found"}, {sfLatitude, "No latitude found"},
    };
    for (const auto& [field, message] : kRequired)
        if (FieldAt(fields, field).empty())
            return message;
    if (FKind == skReservoir && FieldAt(fields, sfType).empty())
        return "No reservoir type found ('M': Man made 'N': Natural)";

    const std::string_view scale = FieldAt(fields, sfScale);
    const std::optional<TRegionType> regionType = ScaleOf(scale);
    if (!regionType)
        return "Unrecognized spatial scale '" + std::string(scale) + "'";
    const std::string_view regionCode = FieldAt(fields, sfRegion);
    line.Region = RegionOf(*regionType, regionCode);
    if (!line.Region) {
        const TRegion* country = CurrentSession().GetCountry();
        return "Unrecognized region with code '" + std::string(regionCode) + "' in Country '" +
               (country ? country->FName : std::string()) + "'";
    }
    line.Code = FieldAt(fields, sfCode);
    TEntity* existing = nullptr;
    if (FindStation(line.Code, FKind, existing))
        return CodeTakenMessage(line.Code);
    return std::nullopt;
}

std::optional<std::string> TCsvStationsImport::ValueError(
    const std::vector<std::string_view>& fields, TCheckedLine& line) const
{
    if (!TryStrToFloat(FieldAt(fields, sfLongitude), line.Longitude))
        return "A real number is expected for the Longitude";
    if (!TryStrToFloat(FieldAt(fields, sfLatitude), line.Latitude))
        return "A real number is expected for the Latitude";
    if (FKind == skReservoir) {
        const std::optional<TReservoirType> type = ReservoirTypeOf(FieldAt(fields, sfType));
        if (!type)
            return "The reservoir type could not be recognized ('M': Man made 'N': Natural)";
        line.ReservoirType = *type;
    }
    line.Name = FieldAt(fields, sfName);
    return std::nullopt;
}

bool TCsvStationsImport::ImportLine(const std::vector<std::string_view>& fields,
                                    std::string& message)
{
    TCheckedLine& line = FLines.emplace_back();
    std::optional<std::string> error = CodeError(fields, line);
    if (error) {
        FLines.pop_back();
    } else {
        line.Number = LineNumber();
        line.Code = FTexts.Keep(line.Code);
        error = ValueError(fields, line);
        if (!error)
            line.Name = FTexts.Keep(line.Name);
        FClaims.push_back({CaselessKeyFingerprint(line.Code), !error});
    }
    if (!error)
        return true;
    message = std::move(*error);
    return false;
}

// A code that a passing line takes fails every later line that names it,
// whatever else that line failed for: the code comes first among its checks.
void TCsvStationsImport::EndPass(std::vector<TLineFailure>& failures)
{
    const auto before = [](const TLineFailure& failure, std::size_t number) {
        return failure.Number < number;
    };
    const std::size_t ownFailures = failures.size();
    for (const TCheckedLine* line : LinesOfTakenCodes()) {
        const auto own = failures.begin() + static_cast<std::ptrdiff_t>(ownFailures);
        const auto failure = std::lower_bound(failures.begin(), own, line->Number, before);
        if (failure != own && failure->Number == line->Number)
            failure->Message = CodeTakenMessage(line->Code);
        else
            failures.push_back({line->Number, CodeTakenMessage(line->Code)});
    }
}

// The lines are looked up in a table of the codes taken so far, which for a
// large file lies all over memory: the slots of a batch of lines are fetched
// together, so that the waits overlap. A slot holds the fingerprint of a code
// and the number of the checked line that took it, whose code is read only
// when fingerprints agree. Thirty-two bits number more checked lines than
// memory could keep.
std::vector<const TCsvStationsImport::TCheckedLine*> TCsvStationsImport::LinesOfTakenCodes() const
{
    struct TSlot {
        // 0 marks a free slot.
        std::uint32_t Print = 0;
        std::uint32_t Line = 0;
    };
    constexpr std::size_t kBatch = 32;
    std::size_t size = 16;
    while (size < 2 * FClaims.size())
        size *= 2;
    std::vector<TSlot> taken(size);
    const std::size_t mask = size - 1;
    std::vector<const TCheckedLine*> late;
    for (std::size_t from = 0; from < FClaims.size(); from += kBatch) {
        const std::size_t to = std::min(FClaims.size(), from + kBatch);
        for (std::size_t line = from; line < to; ++line)
            __builtin_prefetch(&taken[FClaims[line].CodePrint & mask]);
        for (std::size_t line = from; line < to; ++line) {
            const TCodeClaim& claim = FClaims[line];
            std::size_t at = claim.CodePrint & mask;
            while (taken[at].Print != 0 &&
                   (taken[at].Print != claim.CodePrint ||
                    !AsciiSameText(FLines[taken[at].Line].Code, FLines[line].Code)))
                at = (at + 1) & mask;
            if (taken[at].Print != 0)
                late.push_back(&FLines[line]);
            else if (claim.Passed)
                taken[at] = {claim.CodePrint, static_cast<std::uint32_t>(line)};
        }
    }
    return late;
}

void TCsvStationsImport::ApplyLines()
{
    TSession& session = CurrentSession();
    const int added = static_cast<int>(FLines.size());
    for (TListOZR* list : {&session.FEntities, session.StationList(FKind)})
        list->Reserve(list->Count() + added);
    for (std::size_t at = 0; at < FLines.size(); ++at) {
        const TCheckedLine& line = FLines[at];
        TEntity* station = NewStation(FKind, line.Region, std::string(line.Code));
        station->FYear = FYear;
        station->FName = line.Name;
        station->FLongitude = line.Longitude;
        station->FLatitude = line.Latitude;
        if (FKind == skReservoir)
            static_cast<TReservoir*>(station)->FReservoirType = line.ReservoirType;
    }
}
