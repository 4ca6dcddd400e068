#include "runtime/array_allocation.h"

#include <cstddef>
#include <cstdlib>
#include <limits>

#include "runtime/error_messages.h"
#include "runtime/failure_stop.h"
#include "runtime/large_pages.h"
#include "runtime/machine_memory.h"
#include "runtime/process_exit.h"

namespace {

// Under memory overcommit the allocator hands out far more than the machine
// has: the seven arrays of N = 2147483647 (16 GiB each) are all granted, and
// the system kills the run only when they are first written, with no failure
// stop and no frame. Every element of every array is written during a run,
// so memory beyond what the machine can give is never usable: asking for more
// in total is the allocation failure stop up front.
std::uint64_t bytes_held = 0;

bool fits(std::uint64_t bytes) {
    static const std::uint64_t ceiling = machine_memory();
    return bytes <= ceiling && bytes_held <= ceiling - bytes;
}

std::uint64_t bytes_of(std::int64_t count) {
    return static_cast<std::uint64_t>(count > 0 ? count : 1) * sizeof(double);
}

[[noreturn]] void allocation_stop() {
    failure_stop(error_number::kAllocation, FailureKind::Allocation, "",
                 error_message(error_number::kAllocation));
    end_process(1);  // reached only if raised while the run is already ending
}

}  // namespace

double* allocate_reals(std::int64_t count) {
    constexpr auto kMaxCount = std::numeric_limits<std::size_t>::max() / sizeof(double);
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxCount) allocation_stop();
    const std::uint64_t bytes = bytes_of(count);
    if (!fits(bytes)) allocation_stop();
    void* memory = std::calloc(static_cast<std::size_t>(bytes / sizeof(double)), sizeof(double));
    if (memory == nullptr) allocation_stop();
    prefer_large_pages(memory, bytes);
    bytes_held += bytes;
    return static_cast<double*>(memory);
}

void release_reals(double* reals, std::int64_t count) {
    if (reals == nullptr) return;
    bytes_held -= bytes_of(count);
    std::free(reals);
}
