// The report "saida.txt" and the profile "u.dat", written once at the end of
// the run; then the plots and the editor on the report.
#pragma once

#include "driver/problem_state.h"

// Reads the problem state and changes nothing in it.
void resultados(const ProblemState& s);
