#include <sys/sysinfo.h>

#include <limits>

#include "runtime/machine_memory.h"

std::uint64_t machine_memory() {
    struct sysinfo info;
    if (::sysinfo(&info) != 0) return std::numeric_limits<std::uint64_t>::max();
    return (static_cast<std::uint64_t>(info.totalram) + info.totalswap) * info.mem_unit;
}
