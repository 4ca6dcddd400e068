// The source term of each real row, S(i) = S(x(i)) for i = 2 to N-1, with
// S(x) = Re^2 e^(Re x) (2 e^(Re x) - e^Re - 1) / (e^Re - 1)^2, the source for
// which the analytic solution is exact. It depends on the row and Re only,
// never on u: the run computes it once, at its first assembly, and every
// coef reads it.
#pragma once

#include "driver/problem_state.h"

// Re above about 354.89 ends the run with the "**" overflow stop, before any
// row, when there is a row at all (N of 3 or more).
void fonte(ProblemState& s);
