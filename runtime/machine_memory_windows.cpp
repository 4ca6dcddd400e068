#include <windows.h>

#include <limits>

#include "runtime/machine_memory.h"

std::uint64_t machine_memory() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return std::numeric_limits<std::uint64_t>::max();
    return status.ullTotalPageFile;  // the commit limit: physical memory plus page file
}
