#include "appcore/form_values.h"

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

std::string StoredRemarks(const std::string& memoText, TLineEnds ends)
{
    std::string stored;
    for (const char c : memoText) {
        if (c == '\n')
            stored += '\r';
        stored += c;
    }
    // A break at the end of the memo's text already ends its last line: the
    // memo's lines hold no empty one after it.
    if (ends == TLineEnds::AfterEvery && !memoText.empty() && memoText.back() != '\n')
        stored += "\r\n";
    return stored;
}

std::string ShownRemarks(const std::string& remarks, TLineEnds ends)
{
    std::string shown;
    for (std::size_t i = 0; i < remarks.size(); ++i) {
        if (remarks[i] == '\r' && i + 1 < remarks.size() && remarks[i + 1] == '\n')
            continue;
        shown += remarks[i];
    }
    // The last line needs no break of its own, unless it is empty: the break
    // then stands for that empty line.
    const std::size_t size = shown.size();
    if (ends == TLineEnds::AfterEvery && size >= 2 && shown[size - 1] == '\n' &&
        shown[size - 2] != '\n')
        shown.pop_back();
    return shown;
}
