#pragma once

// Replacing a file without ever destroying what was there: the bytes go to a
// temporary file beside the target, which is flushed to the disk and then
// renamed over the target in one step.

#include <string>
#include <string_view>

#include "platform/exception.h"

// A file that could not be written; the message names it and the system's reason.
class EFileWriteError : public Exception {
public:
    using Exception::Exception;
};

// Writes Bytes as the whole content of Path. On failure the old file stays as
// it was, no temporary file is left, and EFileWriteError is raised.
void WriteFileAtomically(const std::string& Path, std::string_view Bytes);
