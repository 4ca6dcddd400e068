#include "numerics/iteracao.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "numerics/analitica.h"
#include "numerics/coef.h"
#include "numerics/contorno.h"
#include "numerics/fonte.h"
#include "numerics/malha.h"
#include "numerics/solver.h"
#include "runtime/fp_environment.h"
#include "tests/numerics/problem_fixture.h"
#include "tests/support/subprocess.h"

namespace {

// A state as the run has it before its first iteration, source terms included.
ProblemState before_the_iterations(std::int32_t N, double Re, double beta) {
    ProblemState s = make_state(N, Re, beta);
    malha(s);
    analitica(s);
    for (std::int32_t i = 1; i <= N; ++i) s.u(i) = s.ua(i);
    contorno(s);
    fonte(s);
    return s;
}

void coef_then_solver(ProblemState& s) {
    coef(s);
    solver(s.N, s.ap, s.aw, s.ae, s.bp, s.u);
}

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

void expect_same_bits(const RealArray& fused, const RealArray& separate, const char* name, int it) {
    for (std::int32_t i = 1; i <= fused.size(); ++i) {
        ASSERT_EQ(bits(fused(i)), bits(separate(i))) << name << "(" << i << ") in iteration " << it;
    }
}

struct RunCase {
    std::int32_t N;
    double Re;
    double beta;
    int iterations;
};

TEST(Iteracao, GivesTheBitsOfCoefThenSolver) {
    const RunCase cases[] = {
        {1, 1.0, 0.5, 3},       // no real row: the solver alone
        {3, 1.0, 1.0, 5},       // one real row
        {4, 10.0, 0.5, 5},
        {52, 10.0, 0.5, 50},    // the shipped example
        {101, -40.0, 1.0, 30},  // negative velocities of the estimate
        {200, 100.0, 0.0, 40},
        {33, 5.0, 7.5, 60},     // a blend that grows the solution fast
        {1002, 349.4, 0.5, 3},  // source terms from the wide-exponent window
    };
    for (const RunCase& c : cases) {
        ProblemState fused = before_the_iterations(c.N, c.Re, c.beta);
        ProblemState separate = before_the_iterations(c.N, c.Re, c.beta);
        for (int it = 1; it <= c.iterations; ++it) {
            iteracao(fused);
            coef_then_solver(separate);
            expect_same_bits(fused.aw, separate.aw, "aw", it);
            expect_same_bits(fused.ae, separate.ae, "ae", it);
            expect_same_bits(fused.ap, separate.ap, "ap", it);
            expect_same_bits(fused.bp, separate.bp, "bp", it);
            expect_same_bits(fused.u, separate.u, "u", it);
        }
    }
}

// u(i) for i = 1 to N set by hand, N = 6, Re = 1, dx = 0.25. With u(2) = -12
// and its neighbours 0, row 2 gets ap = 1 and aw = -1, and since P(1) = -1 the
// elimination divides by d = 1 - (-1)(-1) = 0: the solver's stop, unless the
// assembly of a later row stops first, as coef assembles every row before
// the solver starts.
struct StopCase {
    const char* what;
    std::vector<double> u;
    std::string frame;
};

TEST(Iteracao, StopsWhereCoefThenSolverStop) {
    const std::string divide = math_frame("6103", "floating-point error: divide by zero");
    const std::string power = math_frame("6203", "**: OVERFLOW error");
    const std::string overflow = math_frame("6104", "floating-point error: overflow");
    const StopCase cases[] = {
        {"zero denominator in row 2", {0.0, -12.0, 0.0, 0.1, 0.2, 1.0}, divide},
        {"zero denominator in row 2, a velocity squared in row 4",
         {0.0, -12.0, 0.0, 0.1, 1e200, 1.0}, power},
        {"zero denominator in row 2, the last velocity squared in row 5",
         {0.0, -12.0, 0.0, 0.1, 0.2, 1e155}, power},
        {"a coefficient of row 2", {0.0, 1e308, 1e308, 0.1, 0.2, 1.0}, overflow},
    };
    for (const StopCase& c : cases) {
        for (const bool fused : {true, false}) {
            const ChildResult child = run_in_child([&] {
                start_up_floating_point();
                ProblemState s = before_the_iterations(6, 1.0, 1.0);
                for (std::int32_t i = 1; i <= 6; ++i) s.u(i) = c.u[static_cast<std::size_t>(i - 1)];
                if (fused) {
                    iteracao(s);
                } else {
                    coef_then_solver(s);
                }
            });
            EXPECT_EQ(child.exit_status, 1) << c.what << (fused ? ", fused" : ", separate");
            EXPECT_EQ(child.standard_error, c.frame) << c.what << (fused ? ", fused" : ", separate");
        }
    }
}

}  // namespace
