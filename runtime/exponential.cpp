#include "runtime/exponential.h"

#include <array>
#include <bit>
#include <cstdint>

namespace {

// A value hi + lo with |lo| at most about half an ulp of hi: about 106 bits.
struct DoubleDouble {
    double hi;
    double lo;
};

constexpr DoubleDouble fast_two_sum(double a, double b) {  // |a| >= |b|
    const double s = a + b;
    const double e = b - (s - a);
    return {s, e};
}

constexpr DoubleDouble two_sum(double a, double b) {
    const double s = a + b;
    const double b_part = s - a;
    const double e = (a - (s - b_part)) + (b - b_part);
    return {s, e};
}

// Dekker's product: exact without a fused multiply-add (contraction is off).
// Splits of the same factor and of constants are shared or folded by the
// compiler, so a product by a constant costs one split.
constexpr DoubleDouble two_product(double a, double b) {
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double ca = kSplitter * a;
    const double a_hi = ca - (ca - a);
    const double a_lo = a - a_hi;
    const double cb = kSplitter * b;
    const double b_hi = cb - (cb - b);
    const double b_lo = b - b_hi;
    const double p = a * b;
    const double e = ((a_hi * b_hi - p) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo;
    return {p, e};
}

constexpr DoubleDouble add(DoubleDouble x, DoubleDouble y) {
    const DoubleDouble s = two_sum(x.hi, y.hi);
    const DoubleDouble t = two_sum(x.lo, y.lo);
    const DoubleDouble u = fast_two_sum(s.hi, s.lo + t.hi);
    return fast_two_sum(u.hi, u.lo + t.lo);
}

// Relative error about 2^-104: the product x.lo * y.lo is below that.
constexpr DoubleDouble multiply(DoubleDouble x, DoubleDouble y) {
    const DoubleDouble p = two_product(x.hi, y.hi);
    const double cross = x.hi * y.lo + x.lo * y.hi;
    return fast_two_sum(p.hi, p.lo + cross);
}

// 1/n! as double-double for n = 0..13; the terms from n = 14 on are below
// 2^-57 for |r| <= 0.35 and are summed in plain doubles.
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
    0x1.93974a8c07c9dp-37, 0x1.ae7f3e733b81fp-41, 0x1.ae7f3e733b81fp-45,  // 14..16
    0x1.952c77030ad4ap-49, 0x1.6827863b97d97p-53, 0x1.2f49b46814157p-57,  // 17..19
    0x1.e542ba4020225p-62, 0x1.71b8ef6dcf572p-66, 0x1.0ce396db7f853p-70,  // 20..22
    0x1.761b41316381ap-75, 0x1.f2cf01972f578p-80,                          // 23..24
};

// e^r for |r| <= 0.35 (r = hi + lo) by the Taylor series to r^24, with a
// relative error near 2^-104. Slow; used only to build the table below.
constexpr DoubleDouble exp_series(DoubleDouble r) {
    double tail = 0.0;
    for (int n = 24; n >= 14; --n) {
        tail = tail * r.hi + kTailFactorial[n - 14];
    }
    DoubleDouble sum = add(multiply({tail, 0.0}, r), kInverseFactorial[13]);
    for (int n = 12; n >= 0; --n) {
        sum = add(multiply(sum, r), kInverseFactorial[n]);
    }
    return sum;
}

// ln 2 in three pieces; the first two have 42 significant bits, so that
// m times each, |m| <= 2^8, is exact.
constexpr double kLn2Hi = 0x1.62e42fefa3800p-1;
constexpr double kLn2Mid = 0x1.ef35793c76800p-45;
constexpr double kLn2Lo = -0x1.9ff0342542fc3p-90;

// 2^(j/256) for j = 0..255, evaluated when compiling: as 2 * 2^((j-256)/256)
// from j = 128 on, so that the series argument stays within ln 2 / 2.
constexpr int kTableBits = 8;
constexpr int kTableSize = 1 << kTableBits;
constexpr std::array<DoubleDouble, kTableSize> kPowersOfTwo = [] {
    std::array<DoubleDouble, kTableSize> table{};
    for (int j = 0; j < kTableSize; ++j) {
        const int m = j < kTableSize / 2 ? j : j - kTableSize;
        const double scale = 1.0 / kTableSize;
        const DoubleDouble s = two_sum(m * kLn2Hi * scale, m * kLn2Mid * scale);
        const DoubleDouble r = fast_two_sum(s.hi, s.lo + m * kLn2Lo * scale);
        const DoubleDouble e = exp_series(r);
        table[j] = m == j ? e : DoubleDouble{2.0 * e.hi, 2.0 * e.lo};
    }
    return table;
}();

// ln 2 / 256 in three pieces; the first two have 34 significant bits, so that
// n times each is exact for |n| < 2^19 (all n for x in [-746, 710]).
constexpr double kStepHi = 0x1.62e42fef80000p-9;
constexpr double kStepMid = 0x1.1cf79abc80000p-44;
constexpr double kStepLo = 0x1.e3b39803f2f6bp-80;
constexpr double kInverseStep = 0x1.71547652b82fep+8;  // 256 / ln 2
// Adding 1.5 * 2^52 leaves the nearest integer of a smaller sum in the low
// bits of the result, as an ulp of 1 there.
constexpr double kShifter = 0x1.8p52;

double power_of_two(int e) {  // normal range only: -1022 <= e <= 1023
    return std::bit_cast<double>(static_cast<std::uint64_t>(e + 1023) << 52);
}

// e^x = 2^k * (hi + lo), hi + lo in [2^(-1/512), 2^(511/512)] up to the
// rounding of n, relative error below about 2^-103 (measured: 2^-104.2 on
// 300 000 arguments against 200-bit values; the table's entries 2^-106.5).
//
// x = n ln2/256 + r, n = 256 k + j, |r| <= ln2/512 < 2^-9.5, and
// e^x = 2^k * T (1 + r + r^2 P(r)) with T = 2^(j/256) and
// P(r) = 1/2 + r/6 + r^2/24 + r^3/120 + ... + r^7/9!: the next term of P is
// below 2^-97 and is multiplied by r^2 < 2^-19. The terms of P up to r^2/24
// need more than a double (P's error counts times 2^-19 and must stay below
// about 2^-87); the rest, below 2^-35, is summed in plain doubles. The sum
// T + T r + (T r^2) P keeps the products off one another's path.
DoubleDouble scaled_exp(double x, int& k) {
    const double shifted = x * kInverseStep + kShifter;
    const auto n = static_cast<std::int32_t>(std::bit_cast<std::uint64_t>(shifted));
    const double nd = shifted - kShifter;  // n, exactly
    k = n >> kTableBits;  // floor division, also for negative n
    const DoubleDouble t = kPowersOfTwo[static_cast<unsigned>(n) & (kTableSize - 1)];

    // r = x - n ln2/256: the first difference is exact (Sterbenz), the others
    // are carried in double-double.
    const double r0 = x - nd * kStepHi;
    const DoubleDouble r1 = two_sum(r0, -(nd * kStepMid));
    const DoubleDouble r = two_sum(r1.hi, r1.lo - nd * kStepLo);

    const double rh = r.hi;
    const double cube = rh * rh * rh;
    const double tail = cube * (kInverseFactorial[5].hi +
                                rh * (kInverseFactorial[6].hi +
                                      rh * (kInverseFactorial[7].hi +
                                            rh * (kInverseFactorial[8].hi +
                                                  rh * kInverseFactorial[9].hi))));
    const DoubleDouble square = multiply(r, r);
    const DoubleDouble sixth = multiply(r, kInverseFactorial[3]);
    const DoubleDouble twenty_fourth = multiply(square, kInverseFactorial[4]);
    const DoubleDouble q = fast_two_sum(sixth.hi, twenty_fourth.hi);
    const DoubleDouble p = fast_two_sum(0.5, q.hi);
    const DoubleDouble poly = {p.hi, p.lo + (((q.lo + sixth.lo) + twenty_fourth.lo) + tail)};

    const DoubleDouble tr = multiply(t, r);
    const DoubleDouble tsp = multiply(multiply(t, square), poly);
    const DoubleDouble w = fast_two_sum(tr.hi, tsp.hi);
    const DoubleDouble h = fast_two_sum(t.hi, w.hi);
    return fast_two_sum(h.hi, h.lo + (t.lo + ((w.lo + tr.lo) + tsp.lo)));
}

// (hi + lo) * 2^k rounded to a multiple of 2^-1074, for results at the
// bottom of the range: one rounding, on the count of 2^-1074 steps.
double scale_into_subnormal(DoubleDouble value, int k) {
    const int steps = k + 1074;  // value * 2^steps is the count of steps
    if (steps < -60) return 0.0;
    const double scale = power_of_two(steps);
    const double q = value.hi * scale;  // exact: a power-of-two scaling
    const double q_lo = value.lo * scale;
    auto n = static_cast<std::uint64_t>(q);
    const double fraction = q - static_cast<double>(n);  // exact
    const double beyond_half = (fraction - 0.5) + q_lo;
    if (beyond_half > 0.0 || (beyond_half == 0.0 && (n & 1) != 0)) ++n;
    return std::bit_cast<double>(n);  // n steps of 2^-1074, into the normal range too
}

}  // namespace

double exponential(double x) {
    if (x < -746.0) return 0.0;
    if (x > 710.0) x = 710.0;  // overflows all the same, with a small k
    int k = 0;
    const DoubleDouble e = scaled_exp(x, k);
    // hi + lo < 2, so the steps of 2^-1074 stay below 2^53 for k <= -1022.
    if (k < -1021) return scale_into_subnormal(e, k);
    // Exact unless it overflows; above, two factors so that k = 1024 needs no
    // 2^1024, and no factor below the normal range.
    if (k < 0) return e.hi * power_of_two(k);
    return e.hi * power_of_two(k - 1) * 2.0;
}
