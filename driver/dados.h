// The parameters of the run, taken from "dados.txt" after the user has
// edited it.
#pragma once

#include "driver/problem_state.h"

// Opens "dados.txt" in the text editor and waits for it, then reads N, Re,
// beta and itmax, one READ statement each, into `s`.
void dados(ProblemState& s);
