#include "runtime/math_functions.h"

#include <cmath>

#include "runtime/failure_stop.h"
#include "runtime/fp_environment.h"
#include "runtime/host_exp.h"

namespace {

constexpr int kOverflow = 6203;

// Below this argument the exponential stays far from the largest real, so the
// library call cannot raise a trapped flag.
constexpr double kExpSafeBelow = 709.0;

// The largest real scaled down by 2^-1200: base * 2^-600 squared exceeds it
// exactly when base squared, rounded, exceeds the largest real.
constexpr double kScaledLargest = 0x1.fffffffffffffp-177;
constexpr double kSquareSafeBelow = 0x1p511;

}  // namespace

double math_exp(double argument) {
    if (argument < kExpSafeBelow) return host_exp(argument);
    double result;
    bool overflow;
    {
        TrapsMasked masked;
        result = host_exp(argument);
        overflow = std::isinf(result) || masked.overflow_raised();
    }
    if (overflow) failure_stop(kOverflow, FailureKind::Math, "", "exp: OVERFLOW error");
    return result;
}

double math_square(double base) {
    const double magnitude = std::fabs(base);
    if (magnitude >= kSquareSafeBelow) {
        const double scaled = magnitude * 0x1p-600;  // exact: a power-of-two scaling
        if (scaled * scaled > kScaledLargest) {
            failure_stop(kOverflow, FailureKind::Math, "", "**: OVERFLOW error");
        }
    }
    return base * base;
}
