// The exponential against results rounded from 80-digit decimal values, and
// against the host library within one ulp.
#include "runtime/exponential.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

struct Case {
    double x;
    double expected;
};

// Nearest doubles of exp(x), from 80-digit decimal expansions. The first
// three lie within 0.003 ulp of a midpoint; the rest cover the bottom of the
// range, where the result is rounded once to a multiple of 2^-1074.
const Case kCases[] = {
    {0.0, 1.0},
    {1.0, 0x1.5bf0a8b145769p+1},
    {-0x1.d12d72568db2p+0, 0x1.4ccae386658c3p-3},
    {0x1.e7dae17a38b4p+6, 0x1.f0cac61e34d9ap+175},
    {-0x1.c59f460b3ab87p+3, 0x1.767e73bae44a4p-21},
    {0x1.62e42fefa39efp+9, 0x1.fffffffffff2ap+1023},
    {-0x1.61dc80f304bcfp+9, 0x1.f627ed419074fp-1022},
    {-0x1.6232bdd7abcd2p+9, 0x1.000000000007cp-1022},
    {-0x1.63p+9, 0x0.33802fd28b3c3p-1022},
    {-0x1.6fd8p+9, 0x0.00000000018b7p-1022},
    {-0x1.72p+9, 0x0.0000000000055p-1022},
    {-0x1.748p+9, 0x0.0000000000001p-1022},
    {-0x1.74910d52d3051p+9, 0x0.0000000000001p-1022},
    {-0x1.74910d52d3052p+9, 0.0},
    {-800.0, 0.0},
};

TEST(Exponential, RoundsToNearest) {
    for (const Case& c : kCases) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(exponential(c.x)),
                  std::bit_cast<std::uint64_t>(c.expected))
            << std::hexfloat << c.x << " gives " << exponential(c.x) << ", not " << c.expected;
    }
}

TEST(Exponential, OverflowsToInfinityWithTheFlag) {
    for (double x : {0x1.62e42fefa39f0p+9, 710.0, 1e300}) {
        std::feclearexcept(FE_ALL_EXCEPT);
        EXPECT_EQ(exponential(x), std::numeric_limits<double>::infinity()) << x;
        EXPECT_NE(std::fetestexcept(FE_OVERFLOW), 0) << x;
    }
}

TEST(Exponential, RaisesNoTrappedFlagBelowTheOverflow) {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> argument(-760.0, 709.78);
    std::feclearexcept(FE_ALL_EXCEPT);
    for (int i = 0; i < 20000; ++i) exponential(argument(random));
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);
}

// The host library is not always correctly rounded, but never a whole ulp off.
TEST(Exponential, WithinOneUlpOfTheHostLibrary) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-745.0, 709.7);
    std::uniform_real_distribution<double> narrow(-2.0, 2.0);
    for (int i = 0; i < 200000; ++i) {
        const double x = i % 2 == 0 ? wide(random) : narrow(random);
        const double ours = exponential(x);
        const double host = std::exp(x);
        const auto a = static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(ours));
        const auto b = static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(host));
        ASSERT_LE(a > b ? a - b : b - a, 1) << std::hexfloat << x;
    }
}

}  // namespace
