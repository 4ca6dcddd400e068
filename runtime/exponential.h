// The exponential rounded to the nearest double, the same on every platform.
// The host libraries differ in the last bit (one evaluates on the x87 unit at
// 53-bit precision), and a last-bit difference shows in the reports.
#pragma once

// exp(x) rounded to nearest, gradual underflow below about -708.4, an
// overflowing product (infinity, overflow flag) above about 709.78. Raises no
// invalid or divide-by-zero flag; an overflow only for such arguments.
double exponential(double x);
