// The grid: the position of every volume on the interval from 0 to 1 m.
#pragma once

#include "driver/problem_state.h"

// x(1) = 0 and x(N) = 1 for the fictitious volumes; the real ones at their
// centres, (i - 1.5) dx.
void malha(ProblemState& s);
