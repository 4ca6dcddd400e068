// The tridiagonal matrix algorithm for rows ap(i) u(i) = aw(i) u(i-1) +
// ae(i) u(i+1) + bp(i), i = 1 to N: a forward sweep, then back substitution.
#pragma once
#include <cstdint>

#include "driver/real_array.h"
#include "numerics/operation_order.h"
#include "runtime/work_array.h"

// Overwrites all N elements of u; what u held on entry plays no part. No
// pivoting: a zero denominator ends the run with the floating-point stop.
void solver(std::int32_t N, const RealArray& ap, const RealArray& aw, const RealArray& ae,
            const RealArray& bp, RealArray& u);

// The same with the caller's work array for the multipliers P. The constant
// terms Q need no array of their own: Q(i) is kept in u(i), which the back
// substitution then replaces by the solution.
void solve_rows(std::int32_t N, const RealArray& ap, const RealArray& aw, const RealArray& ae,
                const RealArray& bp, RealArray& u, WorkArray& P);

// One step of the forward sweep: row i after eliminating its west neighbour,
// u(i) = P(i) u(i+1) + Q(i), from the row and the P, Q of row i-1. The
// denominator serves both. In WrittenOrder the step starts after everything
// before it and ends with its last division.
struct EliminatedRow {
    double P;
    double Q;
};
template <typename Order>
inline EliminatedRow eliminated_row(double ap, double aw, double ae, double bp, double P_west,
                                    double Q_west) {
    Order::in_order(P_west, Q_west);
    const double d = ap - (P_west * aw);
    double P = ae / d;
    Order::in_order(P, Q_west);
    double Q = ((Q_west * aw) + bp) / d;
    Order::in_order(Q, P);
    return {P, Q};
}

// u(i) = P(i) u(i+1) + Q(i) for i = N-1 down to 1, with Q(i) in u(i) and u(N)
// already the solution Q(N). With finite P and Q a step can only overflow,
// so the order of its operations never changes the stop.
inline void back_substitution(std::int32_t N, const WorkArray& P, RealArray& u) {
    double east = u(N);
    for (std::int32_t i = N - 1; i >= 1; --i) {
        east = (P(i) * east) + u(i);
        u(i) = east;
    }
}
