#include "numerics/iteracao.h"

#include <cmath>
#include <cstdint>

#include "numerics/coef.h"
#include "numerics/coef_row.h"
#include "numerics/solver.h"
#include "runtime/fp_environment.h"
#include "runtime/math_functions.h"

namespace {

bool finite(const AssembledRow& row) {
    return std::isfinite(row.aw) && std::isfinite(row.ap) && std::isfinite(row.bp);
}

// The forward sweep with each real row assembled just before its
// elimination, Q(i) kept in u(i). Row i reads u(i-1) to u(i+1) as the
// previous iteration left them, so Q(i-1) is stored only once row i has been
// assembled. Returns 0, or the first row whose assembled values are not all
// finite; u(i-1) to u(N) then still hold the estimate.
std::int32_t assemble_and_eliminate(ProblemState& s, const RowConstants& c, WorkArray& P) {
    const std::int32_t N = s.N;
    double p = s.ae(1) / s.ap(1);
    double q = s.bp(1) / s.ap(1);
    P(1) = p;
    double west = s.u(1);
    double centre = s.u(2);
    for (std::int32_t i = 2; i <= N - 1; ++i) {
        const double east = s.u(i + 1);
        const AssembledRow row = assembled_row<AnyOrder>(west, centre, east, s.S(i), c);
        if (!finite(row)) return i;
        s.aw(i) = row.aw;
        s.ae(i) = kEastCoefficient;
        s.ap(i) = row.ap;
        s.bp(i) = row.bp;
        s.u(i - 1) = q;
        const EliminatedRow eliminated = eliminated_row<AnyOrder>(row.ap, row.aw, kEastCoefficient, row.bp, p, q);
        p = eliminated.P;
        q = eliminated.Q;
        P(i) = p;
        west = centre;
        centre = east;
    }
    s.u(N - 1) = q;
    const EliminatedRow last = eliminated_row<AnyOrder>(s.ap(N), s.aw(N), s.ae(N), s.bp(N), p, q);
    P(N) = last.P;
    s.u(N) = last.Q;
    return 0;
}

}  // namespace

void iteracao(ProblemState& s) {
    if (s.N < 3) {
        // No real row to assemble.
        solver(s.N, s.ap, s.aw, s.ae, s.bp, s.u);
        return;
    }
    const RowConstants c{s.dx, math_square(s.dx), s.Re, s.beta};
    WorkArray P(s.N);

    // The sweep runs with the traps held: coef assembles every row before the
    // solver starts, so a failure of the solver in one row must not be
    // reported ahead of a failure of the assembly in a later one.
    std::int32_t unassembled;
    bool flagged;
    {
        TrapsMasked held;
        unassembled = assemble_and_eliminate(s, c, P);
        flagged = held.trapped_flag_raised();
    }

    // A row that is not finite, or a flag raised, means a stop of coef or of
    // the solver. With finite inputs an assembled row is finite exactly when
    // its assembly raised no trapped flag, and the solve does not depend on
    // how the rows were assembled: done again as coef and the solver do it,
    // with the traps armed, the stop comes at the very same operation.
    if (unassembled != 0) {
        coef_rows(s, unassembled, s.N - 1);
        solve_rows(s.N, s.ap, s.aw, s.ae, s.bp, s.u, P);
    } else if (flagged) {
        solve_rows(s.N, s.ap, s.aw, s.ae, s.bp, s.u, P);
    } else {
        back_substitution(s.N, P, s.u);
    }
}
