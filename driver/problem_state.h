// Everything one run computes: the parameters, the scalars and the arrays of
// the volumes 1 to N.
#pragma once
#include <cstdint>

#include "driver/real_array.h"

struct ProblemState {
    // Parameters, read from the parameters file.
    std::int32_t N = 0;      // control volumes, real ones plus the two fictitious ones
    double Re = 0.0;         // Reynolds number
    double beta = 0.0;       // 0.0 = upwind (UDS), 1.0 = central (CDS)
    std::int32_t itmax = 0;  // number of iterations

    double dx = 0.0;         // width of a real volume [m]
    std::int32_t it = 0;     // current iteration
    double um = 0.0;         // mean numerical velocity [m/s]
    double uma = 0.0;        // mean analytic velocity [m/s]
    double L1 = 0.0;         // L1 norm of the velocity error [m/s]

    RealArray x;             // position of each volume [m]
    RealArray u;             // numerical velocity [m/s]
    RealArray ua;            // analytic velocity [m/s]
    RealArray aw, ae, ap, bp;  // row i: ap u(i) = aw u(i-1) + ae u(i+1) + bp
    RealArray S;             // source term of each real row, from the first assembly on
};

// Creates the arrays of N zeros, in the run's order: ae, ap, bp, u, ua, x, aw
// and S (the allocation failure stop when the memory cannot be had).
void create_arrays(ProblemState& s);

// The central volume: the middle real volume for odd N, the left of the two
// middle ones for even N.
inline std::int32_t central_volume(const ProblemState& s) {
    return static_cast<std::int32_t>((std::int64_t{s.N} + 1) / 2);
}
