// Real arrays of the problem state and the solver's work arrays.
#pragma once
#include <cstdint>

// `count` reals, all zero. A failed allocation, a size in bytes that cannot be
// represented, or arrays held in all beyond the machine's physical memory plus
// swap, is the allocation failure stop.
double* allocate_reals(std::int64_t count);

// Releases what allocate_reals(count) gave.
void release_reals(double* reals, std::int64_t count);
