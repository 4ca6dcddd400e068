#include "numerics/fonte.h"

#include <cmath>
#include <limits>

#include "runtime/math_functions.h"

namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr double kDown = 0x1p-64;
constexpr double kUp = 0x1p64;

}  // namespace

void fonte(ProblemState& s) {
    if (s.N - 2 < 1) return;

    // The terms that do not depend on the row, once: the same values a
    // per-row evaluation gives. G comes before any row, so that Re above
    // about 354.89 ends the run with the "**" overflow stop, as a
    // wide-exponent evaluation does, rather than with a hardware overflow in
    // B or M.
    const double F = math_exp(s.Re);
    const double Re2 = math_square(s.Re);
    const double G = math_square(F - 1.0);

    // For Re from about 349 to 354.89 the numerator M = B Re^2 of the last
    // rows exceeds the largest double while S = M / G does not. Above this
    // bound on |B|, M is formed scaled by 2^-64 and S scaled back: exact,
    // since power-of-two scaling commutes with rounding for normal numbers,
    // so S is what a wide-exponent evaluation gives. An S really beyond the
    // largest double still traps when it is scaled back.
    const double scale_above = Re2 > 1.0 ? (kLargest / Re2) / 2.0 : kLargest;

    for (std::int32_t i = 2; i <= s.N - 1; ++i) {
        // exp(x(i) Re) once, used for E and again in B: identical results.
        const double E = math_exp(s.x(i) * s.Re);
        const double A = ((E * 2.0) - F) - 1.0;
        const double B = A * E;
        if (std::fabs(B) > scale_above) {
            const double M = (B * kDown) * Re2;
            s.S(i) = (M / G) * kUp;
        } else {
            const double M = B * Re2;
            s.S(i) = M / G;
        }
    }
}
