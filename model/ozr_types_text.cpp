#include <algorithm>
#include <array>
#include <utility>

#include "model/ozr_types.h"
#include "platform/exception.h"
#include "platform/sysutils.h"

namespace {

template <typename T, std::size_t N>
using TWordTable = std::array<std::pair<const char*, T>, N>;

const TWordTable<TRegionType, 7> regionTypeWords{{{"Country", rtCountry},
                                                  {"NUTS1", rtNUTS1},
                                                  {"NUTS2", rtNUTS2},
                                                  {"NUTS3", rtNUTS3},
                                                  {"RBD", rtRBD},
                                                  {"SU", rtSU},
                                                  {"RB", rtRB}}};
const TWordTable<TReservoirType, 2> reservoirTypeWords{
    {{"Man-made", rsManMade}, {"Natural", rsNatural}}};
const TWordTable<TTimeScale, 3> timeScaleWords{
    {{"daily", tsDaily}, {"monthly", tsMonthly}, {"annual", tsAnnual}}};
const TWordTable<TArtifGWOrigin, 4> artifGWOriginWords{{{"return flow", agoReturnFlow},
                                                        {"desalinated water", agoDesalinatedWater},
                                                        {"water imports", agoWaterImports},
                                                        {"unknown", agoUnknown}}};
const TWordTable<int, 3> yesNoWords{
    {{"yes", YesValue}, {"no", NoValue}, {"unknown", MissingInteger}}};
const TWordTable<TNonFWSource, 5> nonFWSourceWords{{{"brackish swamp", nfsBrackishSwamp},
                                                    {"estuary", nfsEstuary},
                                                    {"lagoon", nfsLagoon},
                                                    {"marine", nfsMarine},
                                                    {"other", nfsOther}}};

template <typename T, std::size_t N>
const std::pair<const char*, T>* FindWord(const TWordTable<T, N>& table, const std::string& text)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&text](const auto& entry) { return text == entry.first; });
    return found == table.end() ? nullptr : &*found;
}

template <typename T, std::size_t N>
T WordToValue(const TWordTable<T, N>& table, const std::string& text, const char* error)
{
    if (const auto* entry = FindWord(table, text))
        return entry->second;
    throw Exception(error + text);
}

template <typename T, std::size_t N>
std::string ValueToWord(const TWordTable<T, N>& table, T value)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [value](const auto& entry) { return entry.second == value; });
    return found == table.end() ? "unknown" : found->first;
}

}  // namespace

std::string RegionTypeToStr(TRegionType RegionType)
{
    return ValueToWord(regionTypeWords, RegionType);
}

TRegionType StrToRegionType(const std::string& Text)
{
    return WordToValue(regionTypeWords, Text, "Unknown region type: ");
}

TReservoirType StrToReservoirType(const std::string& Text)
{
    return WordToValue(reservoirTypeWords, Text, "Unknown reservoir type: ");
}

TTimeScale StrToTimeScale(const std::string& Text)
{
    return WordToValue(timeScaleWords, Text, "Unknown precipitation data time scale: ");
}

std::string TimeScaleToStr(TTimeScale TimeScale)
{
    return ValueToWord(timeScaleWords, TimeScale);
}

TArtifGWOrigin StrToArtifGWOrigin(const std::string& Text)
{
    return WordToValue(artifGWOriginWords, Text, "Unknown artificial groundwater origin: ");
}

int StrToYesNo(const std::string& Text)
{
    return WordToValue(yesNoWords, Text, "Unknown Boolean value: ");
}

TNonFWSource StrToNonFWSource(const std::string& Text)
{
    const auto* entry = FindWord(nonFWSourceWords, AsciiLowerCase(Text));
    return entry ? entry->second : nfsUnknown;
}

std::string NonFWSourceToStr(TNonFWSource Source)
{
    return ValueToWord(nonFWSourceWords, Source);
}

std::string RegionTypeDisplayName(TRegionType RegionType)
{
    switch (RegionType) {
        case rtCountry: return "Country";
        case rtNUTS1: return "NUTS level 1";
        case rtNUTS2: return "NUTS level 2";
        case rtNUTS3: return "NUTS level 3";
        case rtRBD: return "RBD";
        case rtSU: return "SU";
        case rtRB: return "RB";
    }
    return "Unknown";
}

int DaysInYear(int Year)
{
    return Year % 4 == 0 ? 366 : 365;
}

int FieldEnd(const std::string& Line, char Delimiter, bool SkipLeading, int& Start)
{
    const int length = static_cast<int>(Line.size());
    if (SkipLeading)
        while (Start >= 1 && Start <= length && Line[Start - 1] == Delimiter)
            ++Start;
    if (Start < 1 || Start > length)
        return -1;
    const auto next = Line.find(Delimiter, static_cast<std::size_t>(Start - 1));
    return next == std::string::npos ? length + 1 : static_cast<int>(next);
}

void NextField(const std::string& Line, char Delimiter, int& Start, std::string& Field,
               int& FieldEndPos)
{
    FieldEndPos = FieldEnd(Line, Delimiter, false, Start);
    if (FieldEndPos < 1)
        Field.clear();
    else
        Field = Line.substr(static_cast<std::size_t>(Start - 1),
                            static_cast<std::size_t>(FieldEndPos - Start + 1));
}

std::string DateTimeToText(const TDateTime& Moment)
{
    return std::to_string(Moment.Year) + "-" + std::to_string(Moment.Month) + "-" +
           std::to_string(Moment.Day) + " " + std::to_string(Moment.Hour) + ":" +
           std::to_string(Moment.Minute) + ":" + std::to_string(Moment.Second);
}
