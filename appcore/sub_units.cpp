#include "appcore/sub_units.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "model/ozr_types.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "platform/sysutils.h"

namespace {

std::vector<std::string> ReadLines(const std::string& FileName)
{
    std::ifstream file(FileName, std::ios::binary);
    if (!file)
        throw Exception("Cannot open file \"" + FileName + "\". " + std::strerror(errno));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The first three fields of a line split at ";", each trimmed; missing ones
// are empty.
std::array<std::string, 3> FieldsOf(const std::string& Line)
{
    std::array<std::string, 3> fields;
    int start = 1;
    for (std::string& field : fields) {
        int end = 0;
        NextField(Line, ';', start, field, end);
        field = Trim(field);
        if (end < 1)
            break;
        start = end + 2;
    }
    return fields;
}

TRegion* SubUnitOf(const TRegion& District, const std::string& Code)
{
    for (int i = 0; i < District.GetChildCount(); ++i) {
        TRegion* child = District.GetChild(i);
        if (child->GetRegionType() == rtSU && child->GetCode() == Code)
            return child;
    }
    return nullptr;
}

void AddSubUnit(const std::string& DistrictCode, const std::string& Code)
{
    TRegion* district = nullptr;
    if (!FindRegion(DistrictCode, rtRBD, district)) {
        Dialogs().MessageDlg("Δεν αναγνωρίσθηκε RBD : " + DistrictCode, TMsgDlgType::mtError, mbOK);
        return;
    }
    TRegion* subUnit = SubUnitOf(*district, Code);
    if (subUnit)
        Dialogs().MessageDlg("Υφιστάμενο SU : " + Code, TMsgDlgType::mtError, mbOK);
    else
        subUnit = new TRegion(district, rtSU, Code);
    subUnit->FName = Code;
}

}  // namespace

void AddSubUnits(const std::string& FileName)
{
    for (const std::string& line : ReadLines(FileName)) {
        if (line.empty())
            continue;
        const std::array<std::string, 3> fields = FieldsOf(line);
        AddSubUnit(fields[1], fields[2]);
    }
}
