// Real arrays of the problem state and the solver's work arrays.
#pragma once
#include <cstdint>

// `count` reals, all zero. A failed allocation, or a size in bytes that cannot
// be represented, is the allocation failure stop.
double* allocate_reals(std::int64_t count);

void release_reals(double* reals);
