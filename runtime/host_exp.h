// The exponential the math functions evaluate: the C library's on POSIX
// systems, the program's own correctly rounded one on Windows, where the
// run-time's evaluates on the x87 unit and differs from the former in the
// last bit far more often.
#pragma once

double host_exp(double x);
