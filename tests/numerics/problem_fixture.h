// Test support for the numerical routines: a problem state set up as the
// driver does it, a 53-bit arithmetic with an unbounded exponent to check the
// results that overflow only in between, and the failure frame of the math
// stops.
#pragma once
#include <cmath>
#include <cstdint>
#include <string>

#include "driver/problem_state.h"

// The seven arrays created in the driver's order and dx = 1 / (N - 2.0).
inline ProblemState make_state(std::int32_t N, double Re, double beta = 0.0) {
    ProblemState s;
    s.N = N;
    s.Re = Re;
    s.beta = beta;
    create_arrays(s);
    s.dx = 1.0 / (N - 2.0);
    return s;
}

// m * 2^e with 0.5 <= |m| < 1 (or m = 0): products and quotients rounded to
// 53 bits exactly as doubles are, but never overflowing.
struct Wide {
    double m = 0.0;
    int e = 0;

    static Wide of(double value) {
        Wide w;
        w.m = std::frexp(value, &w.e);
        return w;
    }
    Wide operator*(const Wide& other) const {
        Wide w = of(m * other.m);  // in [0.25, 1): rounded like the full product
        w.e += e + other.e;
        return w;
    }
    Wide operator/(const Wide& other) const {
        Wide w = of(m / other.m);  // in (0.5, 2)
        w.e += e - other.e;
        return w;
    }
    // Beyond the largest double: the value would not fit a 64-bit real.
    bool exceeds_double() const { return m != 0.0 && e > 1024; }
    double to_double() const { return std::ldexp(m, e); }
};

// The frame of a math or floating-point failure stop.
inline std::string math_frame(const std::string& number, const std::string& text) {
    return "\r\nrun-time error M" + number + ": MATH\r\n- " + text + "\r\n";
}
