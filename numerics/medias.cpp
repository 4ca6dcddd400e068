#include "numerics/medias.h"

#include <cmath>

#include "runtime/math_functions.h"

namespace {

// Above this Re, (exp(Re) - 1) Re may exceed the largest double although the
// quotient, about 1/Re, does not. Numerator and denominator are then both
// scaled by 2^-64, which is exact for these normal numbers and leaves the
// quotient bit for bit what a wide-exponent evaluation gives.
constexpr double kScaleAbove = 512.0;
constexpr double kDown = 0x1p-64;

}  // namespace

void medias(ProblemState& s) {
    s.um = 0.0;
    for (std::int32_t i = 2; i <= s.N - 1; ++i) {
        s.um = s.um + s.u(i);
    }
    s.um = s.dx * s.um;

    s.L1 = 0.0;
    for (std::int32_t i = 2; i <= s.N - 1; ++i) {
        s.L1 = s.L1 + std::fabs(s.ua(i) - s.u(i));
    }

    const double numerator = (math_exp(s.Re) - s.Re) - 1.0;
    if (s.Re > kScaleAbove) {
        const double denominator = ((math_exp(s.Re) - 1.0) * kDown) * s.Re;
        s.uma = (numerator * kDown) / denominator;
    } else {
        const double denominator = (math_exp(s.Re) - 1.0) * s.Re;
        s.uma = numerator / denominator;
    }
}
