// The exponential and the power with exponent 2.0 of the numerical routines,
// checked as the failure stops require: an overflow ends the run with
// "exp: OVERFLOW error" or "**: OVERFLOW error"; an underflow quietly gives
// the gradual-underflow result. Results are rounded to 64-bit reals.
#pragma once

double math_exp(double argument);

// base ** 2.0
double math_square(double base);
