#pragma once

#include "platform/exception.h"

// Failures of the XML document layer: a file that cannot be read, text that is
// not well-formed XML, or a node used in a way its content does not allow.
class EXMLDocError : public Exception {
public:
    using Exception::Exception;
};

// A value that is absent or empty where a number or a boolean is read.
class EVariantTypeCastError : public EConvertError {
public:
    using EConvertError::EConvertError;
};

// A position outside a list's items.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// A document element of another name than the binding expects.
class EIntfCastError : public Exception {
public:
    using Exception::Exception;
};
