// The exact solution ua(x) = (e^(Re x) - 1) / (e^Re - 1) at every volume.
#pragma once

#include "driver/problem_state.h"

// Fills ua(1) to ua(N). Re = 0 is 0/0 (the invalid-operation stop) and Re
// above about 709.78 the exponential's overflow stop, both at volume 1.
void analitica(ProblemState& s);
