#include "tests/support/test_stream.h"

#include <algorithm>

namespace wqtest {

void TTestStream::CountOperation()
{
    if (operationsLeft_ > 0 && --operationsLeft_ == 0) {
        throw EStreamError("Simulated device failure");
    }
}

std::size_t TTestStream::Allowed(std::int64_t limit, std::size_t count) const
{
    if (limit < 0) {
        return count;
    }
    const std::int64_t room = std::max<std::int64_t>(limit - Position(), 0);
    return static_cast<std::size_t>(std::min<std::int64_t>(room, static_cast<std::int64_t>(count)));
}

std::size_t TTestStream::Read(void* buffer, std::size_t count)
{
    CountOperation();
    return TMemoryStream::Read(buffer, Allowed(readLimit_, count));
}

std::size_t TTestStream::Write(const void* buffer, std::size_t count)
{
    CountOperation();
    return TMemoryStream::Write(buffer, Allowed(writeLimit_, count));
}

}  // namespace wqtest
