#pragma once

// The memory of this process as the system counts it (/proc/self/status), for
// the benchmarks that report a peak.

#include <string_view>

namespace wqbench {

// The figure named field ("VmRSS", "VmHWM") in bytes; -1 when the system does
// not tell it.
double StatusBytes(std::string_view field);

// Lowers the high-water mark to the memory held now, so that VmHWM read later
// tells the peak from here on.
void ResetPeak();

}  // namespace wqbench
