#include "checks/form_values.h"

#include "model/ozr_types.h"
#include "platform/sysutils.h"

std::string RealText(double value)
{
    return value > MissingReal ? FloatToStr(value) : std::string();
}

std::string NonNegativeRealText(double value)
{
    return value >= 0 ? FloatToStr(value) : std::string();
}

std::string IntegerText(int value)
{
    return value > MissingInteger ? IntToStr(value) : std::string();
}

double StoredReal(const std::string& text)
{
    const std::string trimmed = Trim(text);
    return trimmed.empty() ? MissingReal : StrToFloat(trimmed);
}

int StoredInteger(const std::string& text)
{
    const std::string trimmed = Trim(text);
    return trimmed.empty() ? MissingInteger : StrToInt(trimmed);
}
