// The exponential against results rounded from 80-digit decimal values,
// against a slow double-double Taylor series, bit for bit, and against the
// host library within one ulp.
#include "runtime/exponential.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

// The reference: e^r by the Taylor series to r^24 in double-double after a
// reduction by ln 2 alone (|r| <= 0.35), rounded once at the end. Slow but
// plain; its relative error before the rounding is near 2^-104, so it rounds
// as the fast one does except where e^x lies within about 2^-100 of a
// midpoint between doubles.
namespace reference {

struct DoubleDouble {
    double hi;
    double lo;
};

DoubleDouble fast_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

DoubleDouble two_sum(double a, double b) {
    const double s = a + b;
    const double b_part = s - a;
    return {s, (a - (s - b_part)) + (b - b_part)};
}

DoubleDouble two_product(double a, double b) {
    constexpr double kSplitter = 134217729.0;
    const double ca = kSplitter * a;
    const double a_hi = ca - (ca - a);
    const double a_lo = a - a_hi;
    const double cb = kSplitter * b;
    const double b_hi = cb - (cb - b);
    const double b_lo = b - b_hi;
    const double p = a * b;
    return {p, ((a_hi * b_hi - p) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo};
}

DoubleDouble add(DoubleDouble x, DoubleDouble y) {
    const DoubleDouble s = two_sum(x.hi, y.hi);
    const DoubleDouble t = two_sum(x.lo, y.lo);
    const DoubleDouble u = fast_two_sum(s.hi, s.lo + t.hi);
    return fast_two_sum(u.hi, u.lo + t.lo);
}

DoubleDouble multiply(DoubleDouble x, DoubleDouble y) {
    const DoubleDouble p = two_product(x.hi, y.hi);
    return fast_two_sum(p.hi, p.lo + (x.hi * y.lo + x.lo * y.hi));
}

constexpr DoubleDouble kInverseFactorial[] = {
    {0x1.0000000000000p+0, 0.0},
    {0x1.0000000000000p+0, 0.0},
    {0x1.0000000000000p-1, 0.0},
    {0x1.5555555555555p-3, 0x1.5555555555555p-57},
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},
    {0x1.6c16c16c16c17p-10, -0x1.f49f49f49f49fp-65},
    {0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-73},
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6c00p-73},
    {0x1.27e4fb7789f5cp-22, 0x1.cbbc05b4fa99ap-76},
    {0x1.ae64567f544e4p-26, -0x1.c062e06d1f209p-80},
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},
};
constexpr double kTailFactorial[] = {
    0x1.93974a8c07c9dp-37, 0x1.ae7f3e733b81fp-41, 0x1.ae7f3e733b81fp-45,
    0x1.952c77030ad4ap-49, 0x1.6827863b97d97p-53, 0x1.2f49b46814157p-57,
    0x1.e542ba4020225p-62, 0x1.71b8ef6dcf572p-66, 0x1.0ce396db7f853p-70,
    0x1.761b41316381ap-75, 0x1.f2cf01972f578p-80,
};

double power_of_two(int e) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(e + 1023) << 52);
}

// (hi + lo) * 2^k as a count of 2^-1074 steps, rounded once, half to even.
double scale_into_subnormal(DoubleDouble value, int k) {
    const int steps = k + 1074;
    if (steps < -60) return 0.0;
    const double q = value.hi * power_of_two(steps);
    const double q_lo = value.lo * power_of_two(steps);
    auto n = static_cast<std::uint64_t>(q);
    const double beyond_half = ((q - static_cast<double>(n)) - 0.5) + q_lo;
    if (beyond_half > 0.0 || (beyond_half == 0.0 && (n & 1) != 0)) ++n;
    return std::bit_cast<double>(n);
}

double exponential(double x) {
    if (x < -746.0) return 0.0;
    if (x > 710.0) x = 710.0;
    constexpr double kLn2Hi = 0x1.62e42fefa3800p-1;  // 42 bits: k * it is exact
    constexpr double kLn2Mid = 0x1.ef35793c76800p-45;
    constexpr double kLn2Lo = -0x1.9ff0342542fc3p-90;
    const double t = x * 0x1.71547652b82fep+0;
    const int k = static_cast<int>(t >= 0.0 ? t + 0.5 : t - 0.5);
    const double kd = static_cast<double>(k);
    const DoubleDouble r1 = two_sum(x - kd * kLn2Hi, -(kd * kLn2Mid));
    const DoubleDouble r = fast_two_sum(r1.hi, r1.lo - kd * kLn2Lo);

    double tail = 0.0;
    for (int n = 24; n >= 14; --n) tail = tail * r.hi + kTailFactorial[n - 14];
    DoubleDouble e = add(multiply({tail, 0.0}, r), kInverseFactorial[13]);
    for (int n = 12; n >= 0; --n) e = add(multiply(e, r), kInverseFactorial[n]);

    if (k < -1021) return scale_into_subnormal(e, k);
    if (k < 0) return e.hi * power_of_two(k);
    return e.hi * power_of_two(k - 1) * 2.0;
}

}  // namespace reference

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

// A million arguments: over the whole range, over the flow model's own range,
// across the bottom of the range where results become subnormal, and at the
// ends of the fast reduction's intervals (x near (n + 1/2) ln2/256, where the
// reduced argument is largest).
TEST(Exponential, BitIdenticalWithTheSlowSeries) {
    std::mt19937_64 random(20250214);
    std::uniform_real_distribution<double> wide(-745.2, 709.78);
    std::uniform_real_distribution<double> model(-3.0, 7.0);
    std::uniform_real_distribution<double> bottom(-745.2, -707.0);
    std::uniform_real_distribution<double> offset(-0x1p-30, 0x1p-30);
    constexpr double kStep = 0x1.62e42fefa39efp-9;  // ln 2 / 256
    for (int i = 0; i < 1000000; ++i) {
        double x = 0.0;
        switch (i % 4) {
            case 0: x = wide(random); break;
            case 1: x = model(random); break;
            case 2: x = bottom(random); break;
            default: x = (std::floor(wide(random) / kStep) + 0.5) * kStep + offset(random); break;
        }
        ASSERT_EQ(std::bit_cast<std::uint64_t>(exponential(x)),
                  std::bit_cast<std::uint64_t>(reference::exponential(x)))
            << std::hexfloat << x << " gives " << exponential(x) << ", not "
            << reference::exponential(x);
    }
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
