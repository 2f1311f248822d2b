#include "io/ozr_io_csv.h"

#include <algorithm>
#include <bit>
#include <filesystem>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "io/ozr_io_csv_file.h"
#include "platform/regional_settings.h"
#include "platform/sysutils.h"

namespace {

// Blank lines and comment lines, which start with "*", are not data.
bool IsDataLine(std::string_view line)
{
    return !TrimmedView(line).empty() && line.front() != '*';
}

// The bytes of the text's first UTF-8 character.
std::string_view FirstCharacter(std::string_view text)
{
    return text.empty() ? text : text.substr(0, Utf8Length(text.front()));
}

// Fields are a few bytes long: looking at the bytes in one pass costs less
// than a search call for each field. Sixteen bytes at a time are compared
// where the processor can, so that only the delimiters found are visited.
void SplitAtByte(std::string_view line, char delimiter, std::vector<std::string_view>& fields)
{
    const char* const begin = line.data();
    const char* start = begin;
    const auto cut = [&fields, &start](const char* at) {
        fields.push_back(TrimmedView({start, at}));
        start = at + 1;
    };
    std::size_t at = 0;
#if defined(__SSE2__)
    constexpr std::size_t kBlock = 16;
    const __m128i delimiters = _mm_set1_epi8(delimiter);
    for (; at + kBlock <= line.size(); at += kBlock) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + at));
        auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, delimiters)));
        for (; found != 0; found &= found - 1)
            cut(begin + at + std::countr_zero(found));
    }
#endif
    for (; at < line.size(); ++at)
        if (begin[at] == delimiter)
            cut(begin + at);
    fields.push_back(TrimmedView({start, begin + line.size()}));
}

}  // namespace

void SplitFields(std::string_view line, std::string_view delimiter,
                 std::vector<std::string_view>& fields)
{
    fields.clear();
    line = TrimmedView(line);
    if (delimiter.size() == 1) {
        SplitAtByte(line, delimiter.front(), fields);
        return;
    }
    while (true) {
        const std::size_t end = delimiter.empty() ? std::string_view::npos : line.find(delimiter);
        fields.push_back(TrimmedView(line.substr(0, end)));
        if (end == std::string_view::npos)
            return;
        line.remove_prefix(end + delimiter.size());
    }
}

bool TCsvImport::CheckSettings(std::vector<std::string>& errors) const
{
    const std::size_t before = errors.size();
    CheckOwnSettings(errors);
    if (FSettings.Delimiter == std::string(1, DecimalSeparator()))
        errors.push_back(
            "WARNING: System decimal separator is the same as the value delimiter in the file: '" +
            FSettings.Delimiter + "'");
    if (FSettings.Delimiter.empty())
        errors.emplace_back("No delimiter specified");
    if (!std::filesystem::is_regular_file(FSettings.FileName))
        errors.emplace_back("File does not exist");
    int startRow = 0;
    if (!TryStrToInt(FSettings.StartRow, startRow) || startRow < 1)
        errors.emplace_back("A positive integer number is expected for the starting row");
    return errors.size() == before;
}

void TCsvImport::ReadSettings()
{
    FDelimiter = FirstCharacter(FSettings.Delimiter);
    FStartRow = static_cast<std::size_t>(StrToInt(FSettings.StartRow));
    ReadOwnSettings();
}

bool TCsvImport::CheckLines(std::vector<std::string>& errors)
{
    TTextFile file(FSettings.FileName);
    std::vector<TLineFailure> failures;
    std::vector<std::string_view> fields;
    std::string message;
    std::string_view line;
    do {
        BeginPass();
        failures.clear();
        for (FLineNumber = 1; file.NextLine(line); ++FLineNumber) {
            if (FLineNumber < FStartRow || !IsDataLine(line))
                continue;
            SplitFields(line, FDelimiter, fields);
            if (!ImportLine(fields, message))
                failures.push_back({FLineNumber, std::move(message)});
        }
    } while (file.StartedOver());
    EndPass(failures);
    std::stable_sort(
        failures.begin(), failures.end(),
        [](const TLineFailure& a, const TLineFailure& b) { return a.Number < b.Number; });
    for (const TLineFailure& failure : failures)
        errors.push_back("Line " + std::to_string(failure.Number) + ": " + failure.Message);
    return failures.empty();
}

bool TCsvImport::CheckRun(std::vector<std::string>& errors)
{
    if (!CheckSettings(errors))
        return false;
    ReadSettings();
    return CheckLines(errors);
}

TCsvRunResult TCsvImport::Check()
{
    TCsvRunResult result;
    result.Passed = CheckRun(result.Lines);
    if (result.Passed)
        result.Lines.emplace_back("Check passed");
    return result;
}

TCsvRunResult TCsvImport::Import()
{
    TCsvRunResult result;
    result.Passed = CheckRun(result.Lines);
    if (!result.Passed)
        return result;
    ApplyLines();
    result.Lines.emplace_back("Data imported");
    return result;
}
