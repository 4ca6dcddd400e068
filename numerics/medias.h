// The accuracy measures of the final solution: mean numerical velocity, L1
// norm of the error and mean analytic velocity.
#pragma once

#include "driver/problem_state.h"

// Sets um, L1 and uma, in this order, over the real volumes 2 to N-1.
void medias(ProblemState& s);
