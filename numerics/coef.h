// Assembly of the rows of the real volumes, 2 to N-1, from the current
// estimate u: central diffusion, upwind advection linearised with the face
// velocities of u, beta times (upwind - central) flux and the source term in
// bp. Rows 1 and N are never touched.
#pragma once

#include "driver/problem_state.h"

// Re above about 354.89 ends the run with the "**" overflow stop as soon as
// one row is to be assembled.
void coef(ProblemState& s);
