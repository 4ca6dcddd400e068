#include "runtime/exponential.h"
#include "runtime/host_exp.h"

double host_exp(double x) { return exponential(x); }
