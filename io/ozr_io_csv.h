#pragma once

// What the two CSV imports share: the file's lines, the fields of a line, the
// checks of the settings, and the runs behind "Check" and "Import". Every line
// is checked in a dry run first; the import runs only when no line failed, so
// that a file is taken whole or not at all.

#include <string>
#include <string_view>
#include <vector>

// The settings as the user typed them.
struct TCsvSettingsText {
    std::string FileName;
    std::string Delimiter;
    std::string StartRow;
};

// The trimmed line cut at every occurrence of the delimiter, each field
// trimmed; there is no quoting. The fields point into the line.
void SplitFields(std::string_view line, std::string_view delimiter,
                 std::vector<std::string_view>& fields);
// The field at index, or an empty one past the last.
inline std::string_view FieldAt(const std::vector<std::string_view>& fields, std::size_t index)
{
    return index < fields.size() ? fields[index] : std::string_view();
}

// What one "Check" or "Import" shows: the memo's lines, and whether the dry run
// passed (an import whose dry run failed also tells the user in a box).
struct TCsvRunResult {
    std::vector<std::string> Lines;
    bool Passed = false;
};

// One import: "Check" runs the checks of the settings and of every line; a
// line that passes is kept. "Import" runs the same checks and, only when no
// line failed, makes the changes of the lines kept, so that it applies exactly
// what was checked.
class TCsvImport {
public:
    explicit TCsvImport(TCsvSettingsText settings) : FSettings(std::move(settings)) {}
    virtual ~TCsvImport() = default;

    // The findings, and "Check passed" when there are none.
    TCsvRunResult Check();
    // The findings, or "Data imported" when there were none.
    TCsvRunResult Import();

protected:
    // A line that failed a check, and the message that the memo shows for it.
    struct TLineFailure {
        std::size_t Number;
        std::string Message;
    };

    // The checks of the settings each import adds to the shared ones.
    virtual void CheckOwnSettings(std::vector<std::string>& errors) const = 0;
    virtual void ReadOwnSettings() = 0;
    // Forgets the lines kept by an earlier pass.
    virtual void BeginPass() = 0;
    // Checks one line in the order of its checks; a line that passes is kept.
    // The fields live only during the call: what a line keeps is copied.
    virtual bool ImportLine(const std::vector<std::string_view>& fields, std::string& message) = 0;
    // Ends a pass once every line was checked, for the checks that need all
    // lines: they may change the message of a failed line or add failures.
    // The memo lists the failures in the order of their lines.
    virtual void EndPass(std::vector<TLineFailure>& /*failures*/) {}
    // Makes the changes of the lines kept.
    virtual void ApplyLines() = 0;
    // The number in the file of the line that ImportLine checks, from 1.
    std::size_t LineNumber() const { return FLineNumber; }

private:
    bool CheckSettings(std::vector<std::string>& errors) const;
    void ReadSettings();
    bool CheckLines(std::vector<std::string>& errors);
    bool CheckRun(std::vector<std::string>& errors);

    TCsvSettingsText FSettings;
    // One character, which may take several bytes.
    std::string FDelimiter = ";";
    std::size_t FStartRow = 1;
    std::size_t FLineNumber = 0;
};
