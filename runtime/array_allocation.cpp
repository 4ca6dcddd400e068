#include "runtime/array_allocation.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__linux__)
#include <sys/sysinfo.h>
#endif

#include "runtime/error_messages.h"
#include "runtime/failure_stop.h"
#include "runtime/process_exit.h"

namespace {

// Each block starts with a header holding its size in bytes, so that the
// memory still held can be counted down when a block is released. Two reals
// keep the reals that follow aligned as the allocator aligns the block.
constexpr std::size_t kHeaderReals = 2;

std::uint64_t bytes_held = 0;

// Under memory overcommit the allocator hands out far more than the machine
// has: the arrays of N = 2147483647 (seven of 16 GiB) are all granted, and the
// run is killed by the system only when malha and analitica touch them, with
// no failure stop and no frame. Every element of every array is written
// during a run, so memory beyond physical memory plus swap can never be
// used; asking for more is the allocation failure stop up front.
std::uint64_t memory_ceiling() {
#if defined(__linux__)
    struct sysinfo info;
    if (::sysinfo(&info) == 0) {
        const std::uint64_t unit = info.mem_unit;
        return (static_cast<std::uint64_t>(info.totalram) + info.totalswap) * unit;
    }
#endif
    return std::numeric_limits<std::uint64_t>::max();
}

[[noreturn]] void allocation_stop() {
    failure_stop(error_number::kAllocation, FailureKind::Allocation, "",
                 error_message(error_number::kAllocation));
    end_process(1);  // reached only if raised while the run is already ending
}

}  // namespace

double* allocate_reals(std::int64_t count) {
    constexpr auto kMaxCount =
        std::numeric_limits<std::size_t>::max() / sizeof(double) - kHeaderReals;
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxCount) allocation_stop();
    const std::size_t reals = static_cast<std::size_t>(count) + kHeaderReals;
    const std::uint64_t bytes = reals * sizeof(double);
    static const std::uint64_t ceiling = memory_ceiling();
    if (bytes > ceiling || bytes_held > ceiling - bytes) allocation_stop();

    void* memory = std::calloc(reals, sizeof(double));
    if (memory == nullptr) allocation_stop();
    bytes_held += bytes;
    std::memcpy(memory, &bytes, sizeof bytes);
    return static_cast<double*>(memory) + kHeaderReals;
}

void release_reals(double* reals) {
    if (reals == nullptr) return;
    double* block = reals - kHeaderReals;
    std::uint64_t bytes;
    std::memcpy(&bytes, block, sizeof bytes);
    bytes_held -= bytes;
    std::free(block);
}
