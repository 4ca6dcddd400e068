// Assembly of the rows of the real volumes, 2 to N-1, from the current
// estimate u: central diffusion, upwind advection linearised with the face
// velocities of u, beta times (upwind - central) flux and the source term
// S(i) of fonte in bp. Rows 1 and N are never touched.
#pragma once
#include <cstdint>

#include "driver/problem_state.h"

void coef(ProblemState& s);

// Rows first to last only, in ascending order.
void coef_rows(ProblemState& s, std::int32_t first, std::int32_t last);
