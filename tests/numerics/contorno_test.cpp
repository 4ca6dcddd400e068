#include "numerics/contorno.h"

#include <gtest/gtest.h>

#include "tests/numerics/problem_fixture.h"

namespace {

TEST(Contorno, WritesTheRowsOfTheFictitiousVolumesOnly) {
    for (const std::int32_t N : {3, 6}) {
        ProblemState s = make_state(N, 1.0);
        for (std::int32_t i = 1; i <= N; ++i) {
            s.aw(i) = s.ae(i) = s.ap(i) = s.bp(i) = 7.0;
        }
        contorno(s);
        // Row 1: u(1) = -u(2); row N: u(N) = 2 - u(N-1).
        EXPECT_EQ(s.aw(1), 0.0);
        EXPECT_EQ(s.ae(1), -1.0);
        EXPECT_EQ(s.ap(1), 1.0);
        EXPECT_EQ(s.bp(1), 0.0);
        EXPECT_EQ(s.aw(N), -1.0);
        EXPECT_EQ(s.ae(N), 0.0);
        EXPECT_EQ(s.ap(N), 1.0);
        EXPECT_EQ(s.bp(N), 2.0);
        for (std::int32_t i = 2; i <= N - 1; ++i) {
            EXPECT_EQ(s.aw(i), 7.0);
            EXPECT_EQ(s.ae(i), 7.0);
            EXPECT_EQ(s.ap(i), 7.0);
            EXPECT_EQ(s.bp(i), 7.0);
        }
    }
}

}  // namespace
