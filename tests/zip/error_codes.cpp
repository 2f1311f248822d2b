#include "tests/zip/error_codes.h"

#include "zip/format/ZAExcept.h"

namespace zatest {

int ErrorCodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EZAException& e) {
        return e.ErrorCode();
    }
    return -1;
}

}  // namespace zatest
