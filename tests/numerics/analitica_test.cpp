#include "numerics/analitica.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "numerics/malha.h"
#include "runtime/fp_environment.h"
#include "tests/numerics/problem_fixture.h"
#include "tests/support/subprocess.h"

namespace {

ProblemState analytic_state(std::int32_t N, double Re) {
    ProblemState s = make_state(N, Re);
    malha(s);
    analitica(s);
    return s;
}

struct AnalyticCase {
    std::int32_t N;
    double Re;
    std::vector<double> ua;  // every volume, exact
};

TEST(Analitica, ExactSolutionAtEveryVolume) {
    const AnalyticCase cases[] = {
        {3, 1.0, {0.0, 0.3775406687981455, 1.0}},
        {3, -1.0, {-0.0, 0.6224593312018546, 1.0}},
        {4, 10.0, {0.0, 0.0005077074902697468, 0.08204332345525865, 1.0}},
    };
    for (const AnalyticCase& c : cases) {
        const ProblemState s = analytic_state(c.N, c.Re);
        for (std::int32_t i = 1; i <= c.N; ++i) {
            const double expected = c.ua[static_cast<std::size_t>(i - 1)];
            EXPECT_EQ(s.ua(i), expected) << "Re = " << c.Re << ", i = " << i;
            EXPECT_EQ(std::signbit(s.ua(i)), std::signbit(expected)) << "Re = " << c.Re << ", i = " << i;
        }
    }
}

TEST(Analitica, LastVolumeIsExactlyOneForEveryNonZeroRe) {
    for (const double Re : {1e-10, -1e-10, 0.5, -3.0, 354.0, 709.0, -800.0}) {
        EXPECT_EQ(analytic_state(7, Re).ua(7), 1.0) << Re;
    }
}

// With the traps armed: exp(-800) underflows to zero quietly, the
// denominator is -1 and ua(i) = 1 - exp(x(i) Re).
TEST(Analitica, LargeNegativeReUnderflowsQuietly) {
    const ChildResult child = run_in_child([] {
        start_up_floating_point();
        const ProblemState s = analytic_state(1002, -800.0);
        bool as_expected = std::signbit(s.ua(1)) && s.ua(1) == 0.0 && s.ua(1002) == 1.0;
        for (std::int32_t i = 2; i <= 1001; ++i) {
            as_expected = as_expected && s.ua(i) == 1.0 - std::exp(s.x(i) * -800.0);
        }
        if (!as_expected) std::_Exit(3);
    });
    EXPECT_EQ(child.exit_status, 0);
    EXPECT_EQ(child.standard_error, "");
}

TEST(Analitica, Re709PassesWithTheTrapsArmed) {
    const ChildResult child = run_in_child([] {
        start_up_floating_point();
        const ProblemState s = analytic_state(12, 709.0);
        if (s.ua(12) != 1.0 || !(s.ua(11) > 0.0 && s.ua(11) < 1.0)) std::_Exit(3);
    });
    EXPECT_EQ(child.exit_status, 0);
    EXPECT_EQ(child.standard_error, "");
}

struct StopCase {
    double Re;
    std::string frame;
};

TEST(Analitica, StopsAtTheFirstVolume) {
    const StopCase cases[] = {
        {0.0, math_frame("6101", "floating-point error: invalid")},
        {-0.0, math_frame("6101", "floating-point error: invalid")},
        // The exponential is rounded to a double: exp(1e-17) is 1.0, so 0/0.
        {1e-17, math_frame("6101", "floating-point error: invalid")},
        {710.0, math_frame("6203", "exp: OVERFLOW error")},
    };
    for (const StopCase& c : cases) {
        const ChildResult child = run_in_child([&] {
            start_up_floating_point();
            analytic_state(5, c.Re);
        });
        EXPECT_EQ(child.exit_status, 1) << c.Re;
        EXPECT_EQ(child.standard_error, c.frame) << c.Re;
    }
}

}  // namespace
