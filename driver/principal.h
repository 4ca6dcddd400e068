// The driver: one complete computation, from the parameters file to the
// report, on the problem state.
#pragma once
#include "driver/problem_state.h"

void principal(ProblemState& s);
