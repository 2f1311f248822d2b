#include "zip/format/ZAExcept.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string ComposeMessage(int errorCode, std::string_view componentName, std::string text)
{
    if (!componentName.empty())
        text = std::string(componentName) + ": " + text;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%5d", errorCode);
    std::string code(digits);
    std::replace(code.begin(), code.end(), ' ', '0');
    return text + " - Native error: " + code;
}

}  // namespace

EZAException::EZAException(int errorCode, int messageIndex, std::string message)
    : Exception(message), errorCode_(errorCode), messageIndex_(messageIndex)
{
}

EZAException::EZAException(int errorCode, std::string_view componentName)
    : EZAException(errorCode, ZAMessageIndexOf(errorCode),
                   ComposeMessage(errorCode, componentName,
                                  std::string(ZAMessageText(ZAMessageIndexOf(errorCode)))))
{
}

EZAException::EZAException(int errorCode, std::string_view componentName,
                           std::initializer_list<TZAFormatArg> args)
    : EZAException(errorCode, ZAMessageIndexOf(errorCode),
                   ComposeMessage(errorCode, componentName,
                                  ZAFormat(ZAMessageText(ZAMessageIndexOf(errorCode)), args)))
{
}
