#include "bench/support/process_memory.h"

#include <fstream>
#include <string>

namespace wqbench {

double StatusBytes(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':')
            return std::stod(line.substr(field.size() + 1)) * 1024.0;
    }
    return -1;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace wqbench
