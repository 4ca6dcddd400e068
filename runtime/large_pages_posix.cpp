#include "runtime/large_pages.h"

#include <sys/mman.h>

namespace {
constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
}

void prefer_large_pages(void* memory, std::uint64_t bytes) {
    // Only the whole 2 MiB pages inside the block can be large ones.
    const auto first = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t start = (first + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (first + bytes) & ~(kLargePage - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}
