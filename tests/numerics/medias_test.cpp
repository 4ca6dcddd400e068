#include "numerics/medias.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "numerics/analitica.h"
#include "numerics/malha.h"
#include "runtime/fp_environment.h"
#include "tests/numerics/problem_fixture.h"
#include "tests/support/subprocess.h"

namespace {

TEST(Medias, ThreeVolumesUseTheOneRealVolumeOnly) {
    ProblemState s = make_state(3, 1.0);
    s.u(1) = 100.0;
    s.u(2) = 0.25;
    s.u(3) = -100.0;
    s.ua(1) = -5.0;
    s.ua(2) = 0.75;
    s.ua(3) = 5.0;
    s.um = s.L1 = s.uma = 42.0;
    medias(s);
    EXPECT_EQ(s.um, 0.25);
    EXPECT_EQ(s.L1, 0.5);
}

TEST(Medias, MidpointMeanAndPlainSumOfTheErrors) {
    ProblemState s = make_state(6, 1.0);  // dx = 0.25
    const double u[] = {9.0, 0.5, 1.0, -0.25, 2.0, 9.0};
    const double ua[] = {-9.0, 0.75, 1.0, 0.25, 1.0, -9.0};
    for (std::int32_t i = 1; i <= 6; ++i) {
        s.u(i) = u[i - 1];
        s.ua(i) = ua[i - 1];
    }
    medias(s);
    EXPECT_EQ(s.um, 0.8125);  // 0.25 * 3.25
    EXPECT_EQ(s.L1, 1.75);    // 0.25 + 0 + 0.5 + 1, not scaled by dx
}

TEST(Medias, NoIterationGivesAZeroNorm) {
    ProblemState s = make_state(1002, 10.0);
    malha(s);
    analitica(s);
    double sum = 0.0;
    for (std::int32_t i = 1; i <= s.N; ++i) s.u(i) = s.ua(i);
    for (std::int32_t i = 2; i <= s.N - 1; ++i) sum = sum + s.ua(i);
    medias(s);
    EXPECT_EQ(s.L1, 0.0);
    EXPECT_EQ(s.um, s.dx * sum);
    EXPECT_NEAR(s.um, s.uma, 1e-4);  // the midpoint rule for the same mean
}

struct MeanCase {
    double Re;
    double uma;
};

TEST(Medias, MeanAnalyticVelocity) {
    const MeanCase cases[] = {
        {1.0, 0.41802329313067355},   // (e - 2) / (e - 1)
        {-1.0, 0.5819767068693265},
        {10.0, 0.09995459800899031},
    };
    for (const MeanCase& c : cases) {
        ProblemState s = make_state(3, c.Re);
        medias(s);
        EXPECT_EQ(s.uma, c.uma) << c.Re;
    }
}

// Where (exp(Re) - 1) Re exceeds the largest double the quotient must be the
// one 53-bit arithmetic with an unbounded exponent gives; below, the scaling
// must not change a bit of the plain quotient.
TEST(Medias, MeanAnalyticVelocityForLargeRe) {
    constexpr double kLargest = std::numeric_limits<double>::max();
    for (const double Re : {600.0, 703.2, 703.3, 709.0, 709.78}) {
        ProblemState s = make_state(3, Re);
        medias(s);
        const double F = std::exp(Re);
        const double numerator = (F - Re) - 1.0;
        const Wide denominator = Wide::of(F - 1.0) * Wide::of(Re);
        EXPECT_EQ(s.uma, (Wide::of(numerator) / denominator).to_double()) << Re;
        if (Re < 703.22) {
            EXPECT_FALSE(denominator.exceeds_double()) << Re;
            EXPECT_EQ(s.uma, numerator / ((F - 1.0) * Re)) << Re;
        } else {
            EXPECT_TRUE(denominator.exceeds_double()) << Re;
            EXPECT_GT(F, kLargest / Re);
        }
        EXPECT_NEAR(s.uma, 1.0 / Re, 1e-5) << Re;
    }
}

TEST(Medias, LargeReWithTheTrapsArmed) {
    struct StopCase {
        double Re;
        int exit_status;
        std::string frame;
    };
    const StopCase cases[] = {
        {709.78, 0, ""},
        {709.79, 1, math_frame("6203", "exp: OVERFLOW error")},
    };
    for (const StopCase& c : cases) {
        const ChildResult child = run_in_child([&] {
            start_up_floating_point();
            ProblemState s = make_state(3, c.Re);
            medias(s);
        });
        EXPECT_EQ(child.exit_status, c.exit_status) << c.Re;
        EXPECT_EQ(child.standard_error, c.frame) << c.Re;
    }
}

}  // namespace
