// One linearisation iteration: coef, then solver, with the same results and
// the same failure stops, but the rows assembled inside the forward sweep so
// that the assembly runs beside the sweep's chain of dependent divisions
// instead of in a pass of its own. Needs the source terms of fonte.
#pragma once

#include "driver/problem_state.h"

void iteracao(ProblemState& s);
