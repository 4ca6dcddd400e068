#include "numerics/solver.h"

void solver(std::int32_t N, const RealArray& ap, const RealArray& aw, const RealArray& ae,
            const RealArray& bp, RealArray& u) {
    WorkArray P(N);
    solve_rows(N, ap, aw, ae, bp, u, P);
}

void solve_rows(std::int32_t N, const RealArray& ap, const RealArray& aw, const RealArray& ae,
                const RealArray& bp, RealArray& u, WorkArray& P) {
    double first_P = ae(1) / ap(1);
    WrittenOrder::in_order(first_P);
    P(1) = first_P;
    u(1) = bp(1) / ap(1);
    for (std::int32_t i = 2; i <= N; ++i) {
        const EliminatedRow row = eliminated_row<WrittenOrder>(ap(i), aw(i), ae(i), bp(i), P(i - 1), u(i - 1));
        P(i) = row.P;
        u(i) = row.Q;
    }
    back_substitution(N, P, u);
}
