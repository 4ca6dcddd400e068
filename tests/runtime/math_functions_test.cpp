#include "runtime/math_functions.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "runtime/fp_environment.h"
#include "tests/runtime/child_check.h"
#include "tests/support/subprocess.h"

namespace {

std::uint64_t bits(double value) {
    std::uint64_t b;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

const char kExpOverflow[] = "\r\nrun-time error M6203: MATH\r\n- exp: OVERFLOW error\r\n";
const char kSquareOverflow[] = "\r\nrun-time error M6203: MATH\r\n- **: OVERFLOW error\r\n";

// Every call runs with the traps armed, as in a run.
ChildResult armed(void (*body)(double), double argument) {
    return run_in_child([&] {
        start_up_floating_point();
        body(argument);
    });
}

void call_exp(double argument) { volatile double result = math_exp(argument); (void)result; }
void call_square(double base) { volatile double result = math_square(base); (void)result; }

// --- exp -------------------------------------------------------------------

// The largest argument whose exponential is finite: ln(DBL_MAX) rounded down.
constexpr double kLargestExpArgument = 0x1.62e42fefa39efp+9;  // 709.782712893383973...

TEST(MathExp, OverflowStops) {
    const double arguments[] = {std::nextafter(kLargestExpArgument, 1000.0), 709.79, 710.0, 1e6};
    for (double argument : arguments) {
        SCOPED_TRACE(argument);
        const ChildResult result = armed(call_exp, argument);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_error, kExpOverflow);
    }
}

TEST(MathExp, FiniteUpToTheOverflowBoundary) {
    const ChildResult result = run_in_child([] {
        start_up_floating_point();
        CHILD_CHECK(math_exp(0.0) == 1.0);
        CHILD_CHECK(math_exp(1.0) == 0x1.5bf0a8b145769p+1);  // e rounded to nearest
        CHILD_CHECK(math_exp(709.0) == 0x1.d422d2be5dc9bp+1022);
        const double near_top = math_exp(709.78);
        CHILD_CHECK(std::isfinite(near_top) && near_top > 1.79e308);
        const double top = math_exp(kLargestExpArgument);
        CHILD_CHECK(std::isfinite(top) && top > 0x1.fffffffffp1023);
    });
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
}

TEST(MathExp, UnderflowIsGradualAndSilent) {
    const ChildResult result = run_in_child([] {
        start_up_floating_point();
        const double subnormal = math_exp(-708.5);
        CHILD_CHECK(subnormal > 0.0 && subnormal < DBL_MIN);
        CHILD_CHECK(std::fpclassify(subnormal) == FP_SUBNORMAL);
        CHILD_CHECK(bits(math_exp(-745.0)) == 1);  // the smallest subnormal
        CHILD_CHECK(bits(math_exp(-800.0)) == 0);
        CHILD_CHECK(bits(math_exp(-1e300)) == 0);
    });
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
}

// --- ** 2.0 ------------------------------------------------------------------

// sqrt(DBL_MAX) rounded down: its square rounds to DBL_MAX less one unit in the
// last place; the next double, 2^512, squares to 2^1024, beyond every real.
constexpr double kLargestSquareBase = 0x1.fffffffffffffp+511;

TEST(MathSquare, OverflowStops) {
    const double bases[] = {0x1p512, -0x1p512, 1.35e154, 1e200, -DBL_MAX};
    for (double base : bases) {
        SCOPED_TRACE(base);
        const ChildResult result = armed(call_square, base);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_error, kSquareOverflow);
    }
}

TEST(MathSquare, ExactProductUpToTheOverflowBoundary) {
    struct Case {
        double base;
        double square;
    };
    static const Case cases[] = {
        {3.0, 9.0},
        {-1.5, 2.25},
        {0.1, 0x1.47ae147ae147cp-7},  // the product 0.1 * 0.1, rounded once
        {kLargestSquareBase, 0x1.ffffffffffffep+1023},
        {-kLargestSquareBase, 0x1.ffffffffffffep+1023},
        {1.3407807929942596e154, 0x1.ffffffffffffep+1023},
        {0x1p511, 0x1p1022},
        {0x1.8p510, 0x1.2p1021},
        {0x1p-520, 0x1p-1040},  // a subnormal square, exact
        {0x1.8p-530, 0x1.2p-1059},
        {0x1p-540, 0.0},  // below the subnormals
        {1.4e-154, 0x0.e180ac27038f8p-1022},
        {0.0, 0.0},
    };
    const ChildResult result = run_in_child([] {
        start_up_floating_point();
        for (const Case& c : cases) {
            const double square = math_square(c.base);
            if (bits(square) != bits(c.square)) {
                char what[80];
                std::snprintf(what, sizeof what, "math_square(%a) == %a", c.base, c.square);
                child_check(false, what);
            }
        }
    });
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
}

// The fixtures above: each expected square is the correctly rounded product.
TEST(MathSquare, BoundaryFixturesAreWhatTheyClaim) {
    EXPECT_EQ(kLargestSquareBase, std::sqrt(DBL_MAX));
    EXPECT_EQ(std::nextafter(kLargestSquareBase, INFINITY), 0x1p512);
    EXPECT_EQ(kLargestExpArgument, std::log(DBL_MAX));  // and below it, as exp shows
    EXPECT_EQ(1.4e-154 * 1.4e-154, 0x0.e180ac27038f8p-1022);
}

}  // namespace
