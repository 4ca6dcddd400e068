// The tridiagonal matrix algorithm for rows ap(i) u(i) = aw(i) u(i-1) +
// ae(i) u(i+1) + bp(i), i = 1 to N: a forward sweep, then back substitution.
#pragma once
#include <cstdint>

#include "driver/real_array.h"

// Overwrites all N elements of u; what u held on entry plays no part. No
// pivoting: a zero denominator ends the run with the floating-point stop.
void solver(std::int32_t N, const RealArray& ap, const RealArray& aw, const RealArray& ae,
            const RealArray& bp, RealArray& u);
