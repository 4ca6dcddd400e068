#include "numerics/solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "runtime/fp_environment.h"
#include "tests/numerics/problem_fixture.h"
#include "tests/support/subprocess.h"

namespace {

struct System {
    RealArray ap, aw, ae, bp, u;
    explicit System(std::int32_t N) : ap(N), aw(N), ae(N), bp(N), u(N) {}
};

// The boundary rows of the fictitious volumes around the given middle rows.
System bounded(const std::vector<std::vector<double>>& middle_rows) {
    const auto N = static_cast<std::int32_t>(middle_rows.size()) + 2;
    System s(N);
    s.aw(1) = 0.0;
    s.ae(1) = -1.0;
    s.ap(1) = 1.0;
    s.bp(1) = 0.0;
    for (std::int32_t i = 2; i <= N - 1; ++i) {
        const std::vector<double>& row = middle_rows[static_cast<std::size_t>(i - 2)];
        s.aw(i) = row[0];
        s.ae(i) = row[1];
        s.ap(i) = row[2];
        s.bp(i) = row[3];
    }
    s.aw(N) = -1.0;
    s.ae(N) = 0.0;
    s.ap(N) = 1.0;
    s.bp(N) = 2.0;
    return s;
}

void solve(System& s) { solver(s.u.size(), s.ap, s.aw, s.ae, s.bp, s.u); }

TEST(Solver, ThreeRows) {
    // P = (-1, 0.2, 0), Q = (0, 0, 2/1.2); d = 5 in row 2, 1.2 in row 3.
    System s = bounded({{1.0, 1.0, 4.0, 0.0}});
    solve(s);
    EXPECT_EQ(s.u(3), 1.6666666666666667);
    EXPECT_EQ(s.u(2), 0.33333333333333337);  // 0.2 * u(3), rounded
    EXPECT_EQ(s.u(1), -0.33333333333333337);
}

TEST(Solver, OneRow) {
    System s(1);
    s.ap(1) = 4.0;
    s.bp(1) = 3.0;
    s.ae(1) = 5.0;  // enters P(1) only, which nothing uses
    s.aw(1) = 1e300;  // never read
    s.u(1) = -7.0;
    solve(s);
    EXPECT_EQ(s.u(1), 0.75);
}

TEST(Solver, SatisfiesEveryRowAndIgnoresTheEntryValuesOfU) {
    std::mt19937_64 random(20240917);
    std::uniform_real_distribution<double> coefficient(0.1, 3.0);
    std::uniform_real_distribution<double> source(-5.0, 5.0);
    std::vector<std::vector<double>> rows;
    for (int k = 0; k < 200; ++k) {
        const double aw = coefficient(random);
        const double ae = coefficient(random);
        rows.push_back({aw, ae, aw + ae + coefficient(random), source(random)});
    }
    System first = bounded(rows);
    System second = bounded(rows);
    for (std::int32_t i = 1; i <= second.u.size(); ++i) second.u(i) = 1e300 * i;
    solve(first);
    solve(second);
    const std::int32_t N = first.u.size();
    for (std::int32_t i = 1; i <= N; ++i) {
        EXPECT_EQ(first.u(i), second.u(i)) << i;
        const double west = i > 1 ? first.aw(i) * first.u(i - 1) : 0.0;
        const double east = i < N ? first.ae(i) * first.u(i + 1) : 0.0;
        EXPECT_NEAR(first.ap(i) * first.u(i), west + east + first.bp(i), 1e-12) << i;
    }
}

struct StopCase {
    const char* what;
    std::vector<double> middle_row;  // aw, ae, ap, bp
    double ap1;
    double ae1;
    std::string frame;
};

TEST(Solver, ZeroDenominatorStops) {
    const std::string divide = math_frame("6103", "floating-point error: divide by zero");
    const StopCase cases[] = {
        {"ap(1) = 0", {1.0, 1.0, 4.0, 0.0}, 0.0, -1.0, divide},
        {"ap(1) = 0 and ae(1) = 0", {1.0, 1.0, 4.0, 0.0}, 0.0, 0.0,
         math_frame("6101", "floating-point error: invalid")},
        {"d = 0 in row 2", {1.0, 1.0, -1.0, 0.0}, 1.0, -1.0, divide},
    };
    for (const StopCase& c : cases) {
        const ChildResult child = run_in_child([&] {
            start_up_floating_point();
            System s = bounded({c.middle_row});
            s.ap(1) = c.ap1;
            s.ae(1) = c.ae1;
            solve(s);
        });
        EXPECT_EQ(child.exit_status, 1) << c.what;
        EXPECT_EQ(child.standard_error, c.frame) << c.what;
    }
}

TEST(Solver, StopsAtTheFirstFailingOperationOfTheSweep) {
    // Row 2: d = 1e-9 - ish, so Q(2) = 1e300 / d overflows while P(2) = 1 / d
    // does not. Row 3: ap(3) = P(2) makes d = 0, a division by zero. The
    // overflow comes first in the sweep and must be the stop.
    const ChildResult child = run_in_child([] {
        start_up_floating_point();
        System s = bounded({{1.0, 1.0, -0.999999999, 1e300}, {1.0, 1.0, 0.0, 0.0}});
        s.ap(3) = 1.0 / (-0.999999999 + 1.0);
        solve(s);
    });
    EXPECT_EQ(child.exit_status, 1);
    EXPECT_EQ(child.standard_error, math_frame("6104", "floating-point error: overflow"));
}

}  // namespace
