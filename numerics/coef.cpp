#include "numerics/coef.h"

#include "numerics/coef_row.h"
#include "runtime/math_functions.h"

void coef(ProblemState& s) { coef_rows(s, 2, s.N - 1); }

void coef_rows(ProblemState& s, std::int32_t first, std::int32_t last) {
    if (first > last) return;
    const RowConstants c{s.dx, math_square(s.dx), s.Re, s.beta};
    for (std::int32_t i = first; i <= last; ++i) {
        const AssembledRow row = assembled_row<WrittenOrder>(s.u(i - 1), s.u(i), s.u(i + 1), s.S(i), c);
        s.aw(i) = row.aw;
        s.ae(i) = kEastCoefficient;
        s.ap(i) = row.ap;
        s.bp(i) = row.bp;
    }
}
