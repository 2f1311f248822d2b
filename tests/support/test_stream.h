#pragma once

// A stream that fails or runs short on demand, so that tests reach the
// archiver's error paths without a full disk or a broken device.

#include <cstddef>
#include <cstdint>

#include "zip/ZAStream.h"

namespace wqtest {

// A memory stream that behaves like a full disk, a truncated file or a
// failing device when told to.
class TTestStream : public TMemoryStream {
public:
    // Writes stop at this position, as on a disk that is full there.
    void SetWriteLimit(std::int64_t position) { writeLimit_ = position; }
    // Reads stop at this position, as in a file cut short there.
    void SetReadLimit(std::int64_t position) { readLimit_ = position; }
    // The n-th read or write from now on (1 = the next) raises EStreamError.
    void FailAfter(int operations) { operationsLeft_ = operations; }

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;

private:
    void CountOperation();
    std::size_t Allowed(std::int64_t limit, std::size_t count) const;

    std::int64_t writeLimit_ = -1;
    std::int64_t readLimit_ = -1;
    int operationsLeft_ = 0;
};

}  // namespace wqtest
