#include "io/ozr_io_csv.h"

#include <filesystem>
#include <fstream>

#include "platform/codepages.h"
#include "platform/exception.h"
#include "platform/regional_settings.h"
#include "platform/sysutils.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::string ReadWholeFile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    if (!in.is_open())
        throw Exception("Cannot open the file \"" + fileName + "\"");
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw Exception("Cannot read the file \"" + fileName + "\"");
    return bytes;
}

std::string Utf16ToUtf8Bytes(std::string_view bytes, bool bigEndian)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return Utf16ToUtf8(units);
}

std::string DecodeText(std::string bytes)
{
    const std::string_view view = bytes;
    if (view.starts_with(kUtf8Bom))
        return bytes.substr(kUtf8Bom.size());
    if (view.starts_with(kUtf16LeBom))
        return Utf16ToUtf8Bytes(view.substr(kUtf16LeBom.size()), false);
    if (view.starts_with(kUtf16BeBom))
        return Utf16ToUtf8Bytes(view.substr(kUtf16BeBom.size()), true);
    return IsValidUtf8(view) ? bytes : AnsiToUtf8(view);
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    while (start < end) {
        const char* stop = start;
        while (stop < end && *stop != '\n' && *stop != '\r')
            ++stop;
        lines.emplace_back(start, static_cast<std::size_t>(stop - start));
        if (stop + 1 < end && stop[0] == '\r' && stop[1] == '\n')
            ++stop;
        start = stop + 1;
    }
    return lines;
}

// Blank lines and comment lines, which start with "*", are not data.
bool IsDataLine(std::string_view line)
{
    return !TrimmedView(line).empty() && line.front() != '*';
}

}  // namespace

TTextFile::TTextFile(const std::string& fileName)
    : text_(DecodeText(ReadWholeFile(fileName))), lines_(SplitLines(text_))
{
}

void SplitFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields)
{
    fields.clear();
    line = TrimmedView(line);
    while (true) {
        const std::size_t end = line.find(delimiter);
        fields.push_back(TrimmedView(line.substr(0, end)));
        if (end == std::string_view::npos)
            return;
        line.remove_prefix(end + 1);
    }
}

std::string_view FieldAt(const std::vector<std::string_view>& fields, std::size_t index)
{
    return index < fields.size() ? fields[index] : std::string_view();
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
    FDelimiter = FSettings.Delimiter.front();
    FStartRow = StrToInt(FSettings.StartRow);
    ReadOwnSettings();
}

bool TCsvImport::CheckLines(std::vector<std::string>& errors)
{
    FFile.emplace(FSettings.FileName);
    const std::vector<std::string_view>& lines = FFile->Lines();
    BeginPass(lines.size());
    bool passed = true;
    std::vector<std::string_view> fields;
    std::string message;
    for (std::size_t index = static_cast<std::size_t>(FStartRow - 1); index < lines.size();
         ++index) {
        if (!IsDataLine(lines[index]))
            continue;
        SplitFields(lines[index], FDelimiter, fields);
        if (!ImportLine(fields, message)) {
            passed = false;
            errors.push_back("Line " + std::to_string(index + 1) + ": " + message);
        }
    }
    return passed;
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
