#include "numerics/malha.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "tests/numerics/problem_fixture.h"

namespace {

struct GridCase {
    std::int32_t N;
    std::vector<double> x;  // every position, exact
};

TEST(Malha, PlacesTheFictitiousVolumesAtTheEndsAndTheRealOnesAtTheirCentres) {
    const GridCase cases[] = {
        {3, {0.0, 0.5, 1.0}},
        {4, {0.0, 0.25, 0.75, 1.0}},
        // x(11) is the rounded product 9.5 * 0.1, not 0.95.
        {12, {0.0, 0.05, 0.15000000000000002, 0.25, 0.35000000000000003, 0.45,
              0.55, 0.65, 0.75, 0.8500000000000001, 0.9500000000000001, 1.0}},
    };
    for (const GridCase& c : cases) {
        ProblemState s = make_state(c.N, 1.0);
        malha(s);
        for (std::int32_t i = 1; i <= c.N; ++i) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(s.x(i)),
                      std::bit_cast<std::uint64_t>(c.x[static_cast<std::size_t>(i - 1)]))
                << "N = " << c.N << ", i = " << i << ": " << s.x(i);
        }
    }
}

TEST(Malha, TheEndsAreExactForEveryN) {
    for (const std::int32_t N : {3, 5, 7, 1001, 1002}) {
        ProblemState s = make_state(N, 1.0);
        malha(s);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(s.x(1)), 0u) << N;  // +0.0
        EXPECT_EQ(s.x(N), 1.0) << N;
        EXPECT_LT(s.x(N - 1), 1.0) << N;
    }
}

}  // namespace
