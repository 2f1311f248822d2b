#pragma once

#include <stdexcept>
#include <string>

// Root of the program's exception classes. Callers catch `Exception` to show
// the message to the user; everything the program raises derives from it.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that does not convert to the number asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
