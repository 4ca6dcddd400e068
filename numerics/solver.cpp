#include "numerics/solver.h"

void solver(std::int32_t N, const RealArray& ap, const RealArray& aw, const RealArray& ae,
            const RealArray& bp, RealArray& u) {
    // u(i) = P(i) u(i+1) + Q(i) after elimination.
    RealArray Q(N);
    RealArray P(N);

    P(1) = ae(1) / ap(1);
    Q(1) = bp(1) / ap(1);
    for (std::int32_t i = 2; i <= N; ++i) {
        const double d = ap(i) - (P(i - 1) * aw(i));
        P(i) = ae(i) / d;
        Q(i) = ((Q(i - 1) * aw(i)) + bp(i)) / d;
    }

    u(N) = Q(N);
    for (std::int32_t i = N - 1; i >= 1; --i) {
        u(i) = (P(i) * u(i + 1)) + Q(i);
    }

    // Q is released first, then P.
    Q = RealArray();
    P = RealArray();
}
