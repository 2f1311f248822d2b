#pragma once

#include <algorithm>

#include "platform/ZAStream.h"

namespace wqtest {

// A memory stream that behaves like a full disk, a truncated file or a
// failing device when told to, so that tests reach the archiver's error paths.
class TTestStream : public TMemoryStream {
public:
    // Writes or reads stop at the position, as on a full disk or in a file cut short.
    void SetWriteLimit(std::int64_t position) { writeLimit_ = position; }
    void SetReadLimit(std::int64_t position) { readLimit_ = position; }
    // The n-th read or write from now on (1 = the next) raises EStreamError.
    void FailAfter(int operations) { operationsLeft_ = operations; }
    std::size_t Read(void* buffer, std::size_t count) override
    {
        return TMemoryStream::Read(buffer, Allowed(readLimit_, count));
    }
    std::size_t Write(const void* buffer, std::size_t count) override
    {
        return TMemoryStream::Write(buffer, Allowed(writeLimit_, count));
    }

private:
    std::size_t Allowed(std::int64_t limit, std::size_t count)
    {
        if (operationsLeft_ > 0 && --operationsLeft_ == 0) {
            throw EStreamError("Simulated device failure");
        }
        const auto room = std::clamp<std::int64_t>(limit - Position(), 0, std::int64_t(count));
        return limit < 0 ? count : static_cast<std::size_t>(room);
    }
    std::int64_t writeLimit_ = -1, readLimit_ = -1;
    int operationsLeft_ = 0;
};

}  // namespace wqtest
