#pragma once

// The one exception class of the archiver: a numbered error code whose
// message names the raising component and ends with the code in five digits.

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/exception.h"
#include "zip/format/ZAConst.h"

class EZAException : public Exception {
public:
    // componentName is the Name of the raising component; empty when there is
    // no component or it has no name, which leaves the message without prefix.
    EZAException(int errorCode, std::string_view componentName);
    EZAException(int errorCode, std::string_view componentName,
                 std::initializer_list<TZAFormatArg> args);

    int ErrorCode() const { return errorCode_; }
    int MessageIndex() const { return messageIndex_; }

private:
    EZAException(int errorCode, int messageIndex, std::string message);

    int errorCode_;
    int messageIndex_;
};
