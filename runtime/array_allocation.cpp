#include "runtime/array_allocation.h"

#include <cstddef>
#include <cstdlib>
#include <limits>

#if defined(__linux__)
#include <malloc.h>
#include <sys/sysinfo.h>
#endif

#include "runtime/error_messages.h"
#include "runtime/failure_stop.h"
#include "runtime/process_exit.h"

namespace {

#if defined(__linux__)
// Under memory overcommit the allocator hands out far more than the machine
// has: the seven arrays of N = 2147483647 (16 GiB each) are all granted, and
// the system kills the run only when malha and analitica touch them, with no
// failure stop and no frame. Every element of every array is written during a
// run, so memory beyond physical memory plus swap can never be used: asking
// for more in total is the allocation failure stop up front.
std::uint64_t bytes_held = 0;

std::uint64_t machine_memory() {
    struct sysinfo info;
    if (::sysinfo(&info) != 0) return std::numeric_limits<std::uint64_t>::max();
    return (static_cast<std::uint64_t>(info.totalram) + info.totalswap) * info.mem_unit;
}

bool fits(std::uint64_t bytes) {
    static const std::uint64_t ceiling = machine_memory();
    return bytes <= ceiling && bytes_held <= ceiling - bytes;
}

// The same measure on the way in and out, so released blocks stop counting.
void count_in(void* block) { bytes_held += ::malloc_usable_size(block); }
void count_out(void* block) { bytes_held -= ::malloc_usable_size(block); }
#else
// Without overcommit, memory the machine cannot give is refused by calloc.
bool fits(std::uint64_t) { return true; }
void count_in(void*) {}
void count_out(void*) {}
#endif

[[noreturn]] void allocation_stop() {
    failure_stop(error_number::kAllocation, FailureKind::Allocation, "",
                 error_message(error_number::kAllocation));
    end_process(1);  // reached only if raised while the run is already ending
}

}  // namespace

double* allocate_reals(std::int64_t count) {
    constexpr auto kMaxCount = std::numeric_limits<std::size_t>::max() / sizeof(double);
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxCount) allocation_stop();
    const std::size_t reals = count > 0 ? static_cast<std::size_t>(count) : 1;
    if (!fits(static_cast<std::uint64_t>(reals) * sizeof(double))) allocation_stop();
    void* memory = std::calloc(reals, sizeof(double));
    if (memory == nullptr) allocation_stop();
    count_in(memory);
    return static_cast<double*>(memory);
}

void release_reals(double* reals) {
    if (reals == nullptr) return;
    count_out(reals);
    std::free(reals);
}
