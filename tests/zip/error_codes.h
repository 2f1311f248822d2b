#pragma once

#include <functional>

namespace zatest {

// The code of the archiver's error the action throws; -1 when it throws none.
int ErrorCodeOf(const std::function<void()>& action);

}  // namespace zatest
