#include "numerics/coef.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "numerics/analitica.h"
#include "numerics/fonte.h"
#include "numerics/malha.h"
#include "runtime/fp_environment.h"
#include "tests/numerics/problem_fixture.h"
#include "tests/support/subprocess.h"

namespace {

// The first assembly of a run: the source terms, then the rows.
void assemble(ProblemState& s) {
    fonte(s);
    coef(s);
}

// A state with the grid and u set to the analytic solution, as in the first
// iteration of a run.
ProblemState first_iteration_state(std::int32_t N, double Re, double beta) {
    ProblemState s = make_state(N, Re, beta);
    malha(s);
    analitica(s);
    for (std::int32_t i = 1; i <= N; ++i) s.u(i) = s.ua(i);
    return s;
}

std::string digits15(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

struct RowCase {
    std::int32_t N;
    double Re;
    double beta;
    std::int32_t row;
    const char* aw;  // to 15 significant digits
    const char* ap;
    const char* bp;
};

TEST(Coef, RowsOfTheFirstIteration) {
    const RowCase cases[] = {
        {3, 1.0, 0.0, 2, "2.37754066879815", "5.37754066879815", "-0.470007424403189"},
        {3, 1.0, 1.0, 2, "2.37754066879815", "5.37754066879815", "-0.827470467806638"},
        {4, 10.0, 0.5, 3, nullptr, "9.41021661727629", "-4.66412564183126"},
    };
    for (const RowCase& c : cases) {
        ProblemState s = first_iteration_state(c.N, c.Re, c.beta);
        assemble(s);
        if (c.aw != nullptr) {
            EXPECT_EQ(digits15(s.aw(c.row)), c.aw) << c.beta;
        }
        EXPECT_EQ(s.ae(c.row), 2.0);
        EXPECT_EQ(digits15(s.ap(c.row)), c.ap) << c.beta;
        EXPECT_EQ(digits15(s.bp(c.row)), c.bp) << c.beta;
    }
    // With dx = 1 and beta = 0, bp = 2 S.
    ProblemState s = first_iteration_state(3, 1.0, 0.0);
    assemble(s);
    EXPECT_EQ(digits15(s.bp(2) / 2.0), "-0.235003712201594");
}

// S(x) = Re^2 e^(Re x) (2 e^(Re x) - e^Re - 1) / (e^Re - 1)^2, arranged
// differently from the assembly.
double source(double x, double Re) {
    const double e = std::exp(Re * x);
    return Re * Re * e * (2.0 * e - std::exp(Re) - 1.0) / std::pow(std::expm1(Re), 2.0);
}

TEST(Coef, ZeroVelocityRowsCarryOnlyDiffusionAndSource) {
    ProblemState s = make_state(12, 3.0, 1.0);
    malha(s);
    assemble(s);  // u is all zeros
    for (std::int32_t i = 2; i <= 11; ++i) {
        EXPECT_EQ(s.aw(i), 2.0) << i;
        EXPECT_EQ(s.ae(i), 2.0) << i;
        EXPECT_EQ(s.ap(i), 4.0) << i;
        const double expected = 2.0 * s.dx * s.dx * source(s.x(i), s.Re);
        EXPECT_NEAR(s.bp(i), expected, 1e-13 * std::fabs(expected)) << i;
    }
}

TEST(Coef, BetaEntersTheSourceTermOnly) {
    // beta = 0: bp is the source alone whatever u holds; aw, ae, ap never
    // depend on beta.
    ProblemState zero_u = make_state(12, 3.0, 1.0);
    malha(zero_u);
    assemble(zero_u);
    for (const double beta : {0.0, 0.5, 1.0}) {
        ProblemState s = first_iteration_state(12, 3.0, beta);
        for (std::int32_t i = 1; i <= 12; ++i) s.u(i) = s.u(i) - 0.25 * i;  // some negative
        assemble(s);
        ProblemState upwind = first_iteration_state(12, 3.0, 0.0);
        for (std::int32_t i = 1; i <= 12; ++i) upwind.u(i) = s.u(i);
        assemble(upwind);
        for (std::int32_t i = 2; i <= 11; ++i) {
            EXPECT_EQ(upwind.bp(i), zero_u.bp(i)) << i;
            EXPECT_EQ(s.aw(i), upwind.aw(i)) << i;
            EXPECT_EQ(s.ap(i), upwind.ap(i)) << i;
            if (beta != 0.0) {
                EXPECT_NE(s.bp(i), upwind.bp(i)) << beta << " " << i;
            }
        }
    }
}

TEST(Coef, NegativeVelocityKeepsTheWestSideUpstream) {
    ProblemState s = make_state(3, 1.0);
    malha(s);
    s.u(1) = 0.0;
    s.u(2) = -3.0;
    s.u(3) = 0.5;
    assemble(s);
    EXPECT_EQ(s.aw(2), -1.0);  // (0 - 3) * 1 * 1 + 2
    EXPECT_EQ(s.ap(2), 1.5);   // (0.5 - 3) * 1 * 1 + 4
}

TEST(Coef, TouchesNeitherTheBoundaryRowsNorAnythingOfEarlierCalls) {
    for (const std::int32_t N : {3, 8}) {
        ProblemState s = first_iteration_state(N, 2.0, 0.5);
        ProblemState fresh = first_iteration_state(N, 2.0, 0.5);
        for (std::int32_t i = 1; i <= N; ++i) {
            s.aw(i) = s.ae(i) = s.ap(i) = s.bp(i) = 1e300;
        }
        assemble(s);
        assemble(fresh);
        for (const std::int32_t i : {1, N}) {
            EXPECT_EQ(s.aw(i), 1e300);
            EXPECT_EQ(s.ae(i), 1e300);
            EXPECT_EQ(s.ap(i), 1e300);
            EXPECT_EQ(s.bp(i), 1e300);
        }
        for (std::int32_t i = 2; i <= N - 1; ++i) {
            EXPECT_EQ(s.aw(i), fresh.aw(i));
            EXPECT_EQ(s.ae(i), fresh.ae(i));
            EXPECT_EQ(s.ap(i), fresh.ap(i));
            EXPECT_EQ(s.bp(i), fresh.bp(i));
        }
    }
}

// For Re just below 354.89 the numerator B Re^2 of the last rows exceeds the
// largest double while S does not; S must be what 53-bit arithmetic with an
// unbounded exponent gives, over every row.
struct WindowCase {
    std::int32_t N;
    double Re;
    bool numerator_overflows;  // in some row
};

TEST(Coef, SourceTermWithANumeratorBeyondTheLargestDouble) {
    const WindowCase cases[] = {
        {1002, 349.4, true},   // near the lower end of the window for this N
        {1002, 354.89, true},  // just below the "**" overflow
        {102, 350.2, true},
        {102, 350.0, false},
        {12, 354.89, false},   // the window is empty for so few volumes
    };
    constexpr double kLargest = std::numeric_limits<double>::max();
    for (const WindowCase& c : cases) {
        ProblemState s = make_state(c.N, c.Re, 0.0);
        malha(s);
        assemble(s);  // u = 0, beta = 0: bp(i) = (dx^2 S) * 2 exactly
        const double F = std::exp(c.Re);
        const Wide G = Wide::of((F - 1.0) * (F - 1.0));
        const Wide Re2 = Wide::of(c.Re * c.Re);
        bool overflowing = false;
        for (std::int32_t i = 2; i <= c.N - 1; ++i) {
            const double E = std::exp(s.x(i) * c.Re);
            const double B = (((E * 2.0) - F) - 1.0) * E;
            const Wide M = Wide::of(B) * Re2;
            overflowing = overflowing || M.exceeds_double();
            const double S = (M / G).to_double();
            ASSERT_LT(std::fabs(S), kLargest);
            ASSERT_EQ(s.bp(i), (s.dx * s.dx * S) * 2.0) << "Re = " << c.Re << ", i = " << i;
        }
        EXPECT_EQ(overflowing, c.numerator_overflows) << "N = " << c.N << ", Re = " << c.Re;
    }
}

struct StopCase {
    const char* what;
    double Re;
    double u2;
    std::string frame;
};

TEST(Coef, StopsWithTheTrapsArmed) {
    const std::string power = math_frame("6203", "**: OVERFLOW error");
    const StopCase cases[] = {
        {"(exp(Re) - 1)^2", 400.0, 0.0, power},
        {"(exp(Re) - 1)^2 just beyond", 354.9, 0.0, power},
        {"a velocity squared", 1.0, 1.4e154, power},
        {"a coefficient", 1.0, 1.7e308, math_frame("6104", "floating-point error: overflow")},
    };
    for (const StopCase& c : cases) {
        const ChildResult child = run_in_child([&] {
            start_up_floating_point();
            ProblemState s = make_state(3, c.Re, 1.0);
            malha(s);
            s.u(1) = c.u2;
            s.u(2) = c.u2;
            assemble(s);
        });
        EXPECT_EQ(child.exit_status, 1) << c.what;
        EXPECT_EQ(child.standard_error, c.frame) << c.what;
    }
}

TEST(Coef, NoRowNoStop) {
    // With fewer than three volumes nothing is assembled, so not even
    // Re = 400 stops.
    const ChildResult child = run_in_child([] {
        ProblemState s = make_state(2, 400.0);  // dx = 1/0 before the traps are on
        start_up_floating_point();
        assemble(s);
        if (s.aw(1) != 0.0 || s.bp(2) != 0.0) std::_Exit(3);
    });
    EXPECT_EQ(child.exit_status, 0);
    EXPECT_EQ(child.standard_error, "");
}

TEST(Coef, TheWindowRunsWithTheTrapsArmed) {
    const ChildResult child = run_in_child([] {
        start_up_floating_point();
        ProblemState s = make_state(1002, 354.89, 0.0);
        malha(s);
        assemble(s);
    });
    EXPECT_EQ(child.exit_status, 0);
    EXPECT_EQ(child.standard_error, "");
}

}  // namespace
