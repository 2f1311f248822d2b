#pragma once

#include "platform/exception.h"

// Failures of the XML document layer: a file that cannot be read, text that is
// not well-formed XML, or a node used in a way its content does not allow.
class EXMLDocError : public Exception {
public:
    using Exception::Exception;
};
