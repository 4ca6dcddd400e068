// The rows of the two fictitious volumes, which impose u = 0 at x = 0 and
// u = 1 at x = 1 through the mean of each fictitious volume and its neighbour.
#pragma once

#include "driver/problem_state.h"

// Row 1: u(1) = -u(2). Row N: u(N) = 2 - u(N-1).
void contorno(ProblemState& s);
