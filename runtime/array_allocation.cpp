#include "runtime/array_allocation.h"

#include <cstddef>
#include <cstdlib>
#include <limits>

#include "runtime/error_messages.h"
#include "runtime/failure_stop.h"

double* allocate_reals(std::int64_t count) {
    constexpr auto kMaxCount = std::numeric_limits<std::size_t>::max() / sizeof(double);
    void* memory = nullptr;
    if (count >= 0 && static_cast<std::uint64_t>(count) <= kMaxCount) {
        memory = std::calloc(count > 0 ? static_cast<std::size_t>(count) : 1, sizeof(double));
    }
    if (memory == nullptr) {
        failure_stop(error_number::kAllocation, FailureKind::Allocation, "",
                     error_message(error_number::kAllocation));
    }
    return static_cast<double*>(memory);
}

void release_reals(double* reals) { std::free(reals); }
