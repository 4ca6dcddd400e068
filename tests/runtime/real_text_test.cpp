#include "runtime/real_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <random>
#include <string>

namespace {

constexpr std::uint64_t kUnchanged = 0x4058C00000000000;  // 99.0
constexpr std::uint64_t kMaxFinite = 0x7FEFFFFFFFFFFFFF;
constexpr std::uint64_t kMinNormal = 0x0010000000000000;
constexpr std::uint64_t kMaxSubnormal = 0x000FFFFFFFFFFFFF;
constexpr std::uint64_t kMinSubnormal = 0x0000000000000001;
constexpr std::uint64_t kOne = 0x3FF0000000000000;
constexpr std::uint64_t kNegativeZero = 0x8000000000000000;
constexpr std::uint64_t kHiddenBitMask = 0x000FFFFFFFFFFFFF;

struct Result {
    int failure;
    std::uint64_t bits;  // when failure is 0
};

Result convert(const std::string& text) {
    double value = std::bit_cast<double>(kUnchanged);
    const int failure = real_from_text(text.data(), text.size(), value);
    return {failure, std::bit_cast<std::uint64_t>(value)};
}

struct Case {
    std::string text;
    int failure;
    std::uint64_t bits;
};

const Case kCases[] = {
    // Every accepted spelling of 100.
    {"100", 0, 0x4059000000000000},
    {"100.0", 0, 0x4059000000000000},
    {"100.", 0, 0x4059000000000000},
    {"1E2", 0, 0x4059000000000000},
    {"1e+2", 0, 0x4059000000000000},
    {"1D2", 0, 0x4059000000000000},
    {"1d2", 0, 0x4059000000000000},
    {"1.0+2", 0, 0x4059000000000000},
    {".1E3", 0, 0x4059000000000000},
    {"+100", 0, 0x4059000000000000},
    {"0000100.000000", 0, 0x4059000000000000},
    {"1.5-3", 0, 0x3F589374BC6A7EFA},
    {"0.5", 0, 0x3FE0000000000000},
    {".5", 0, 0x3FE0000000000000},
    {"-.5", 0, 0xBFE0000000000000},
    {"0.1", 0, 0x3FB999999999999A},
    {"123.456e-2", 0, 0x3FF3C0C1FC8F3238},
    {"6.02214076D23", 0, 0x44DFE185CA57C517},
    {"3.14159265358979323846264338327950288", 0, 0x400921FB54442D18},
    {"12345678901234567890123456789", 0, 0x45C3F20D99235F65},
    // Zeros keep their sign, whatever the exponent.
    {"0", 0, 0},
    {"-0", 0, kNegativeZero},
    {"-0.0E-5", 0, kNegativeZero},
    {"0E99999999999999999999", 0, 0},
    // Ties go to the even neighbour; anything beyond the tie goes up.
    {"9007199254740993", 0, 0x4340000000000000},
    {"9007199254740995", 0, 0x4340000000000002},
    {"9007199254740993.0000000000000000000000000000001", 0, 0x4340000000000001},
    {"1.00000000000000011102230246251565404236316680908203125", 0, kOne},
    {"1.00000000000000033306690738754696212708950042724609375", 0, kOne + 2},
    {"100000000000000011102230246251565404236316680908203125E-53", 0, kOne},
    // The top of the range.
    {"1.7976931348623157e308", 0, kMaxFinite},
    {"1.7976931348623158e308", 0, kMaxFinite},  // still below the boundary 1.79769313486231580793...e308
    {"1.7976931348623159e308", 6102, 0},
    {"1e308", 0, 0x7FE1CCF385EBC8A0},
    {"0.0001E312", 0, 0x7FE1CCF385EBC8A0},
    {"1E309", 6102, 0},
    {"1E400", 6102, 0},
    {"-1E400", 6102, 0},
    {"1E99999999999999999999", 6102, 0},
    {"100000000000000000000000000000000000000000000000000E300", 6102, 0},
    // The bottom: subnormals, then zero.
    {"2.2250738585072014e-308", 0, kMinNormal},
    {"2.2250738585072009e-308", 0, kMaxSubnormal},
    {"1.5e-310", 0, 0x00001B9CD1295941},
    {"4.9406564584124654e-324", 0, kMinSubnormal},
    {"2.4703282292062328e-324", 0, kMinSubnormal},
    {"2.4703282292062327e-324", 0, 0},
    {"1E-400", 0, 0},
    {"-1E-400", 0, kNegativeZero},
    {"1E-99999999999999999999", 0, 0},
    {"0.000000000000000000000000000000000000000000000000001E-280", 0, 0},
    // Not a number as a whole.
    {"1.5Q3", 6103, 0},
    {"1.5E", 6103, 0},
    {"1.5E+", 6103, 0},
    {"1.5-", 6103, 0},
    {".", 6103, 0},
    {"+", 6103, 0},
    {"-", 6103, 0},
    {"E5", 6103, 0},
    {".E5", 6103, 0},
    {"1.2.3", 6103, 0},
    {"1E5x", 6103, 0},
    {"1E5.0", 6103, 0},
    {"1E+-5", 6103, 0},
    {"+-1", 6103, 0},
    {"0x10", 6103, 0},
    {"inf", 6103, 0},
    {"nan", 6103, 0},
    {"21\x1A", 6103, 0},
    {std::string("21\0", 3), 6103, 0},
    {"1,5", 6103, 0},
    {"", 6103, 0},
};

TEST(RealText, ConvertsOrNamesTheFailure) {
    for (const Case& c : kCases) {
        const Result r = convert(c.text);
        EXPECT_EQ(r.failure, c.failure) << "text: " << c.text;
        EXPECT_EQ(r.bits, c.failure == 0 ? c.bits : kUnchanged) << std::hex << "text: " << c.text;
    }
}

// Significant digits of exact rounding boundaries, value 0.digits * 10^exponent.
// Halfway between the largest finite real and 2^1024 (309 digits).
const std::string kAboveMaxBoundary =
    "17976931348623158079372897140530341507993413271003782693617377898044496829276475094664901797"
    "75872070963302864166928879109465555478519404026306574886715058206819089020007083836762738548"
    "45817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711"
    "559699508093042880177904174497792";
constexpr int kAboveMaxExponent = 309;
// Half the smallest subnormal, 2^-1075 (its first 244 digits).
const std::string kHalfMinSubnormal =
    "24703282292062327208828439643411068618252990130716238221279284125033775363510437593264991818"
    "08179961898982823477228588654633283551779698981993873980053909390631503565951557022639229085"
    "839244910518443593180284993653615250031937045767824921936562";
constexpr int kHalfMinSubnormalExponent = -323;
// Halfway between the largest subnormal and the smallest normal (its first 244 digits).
const std::string kBelowMinNormal =
    "22250738585072011360574097967091319759348195463516456480234261097248222220210769455165295239"
    "08135087914149158913039621106870086438694594645527657207407820621743379988141063267329253552"
    "286881372149012981122451451889849057222307285255133155755015";
constexpr int kBelowMinNormalExponent = -307;

std::string scientific(const std::string& digits, int exponent) {
    return "0." + digits + "E" + std::to_string(exponent);
}

// The same digits plus one unit in the last place.
std::string incremented(std::string digits) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    EXPECT_GT(i, 0u);
    ++digits[i - 1];
    return digits;
}

TEST(RealText, LongDigitStringsAroundBoundaries) {
    struct Boundary {
        std::string digits;
        int exponent;
        std::uint64_t below;
        Result above;
    };
    const Boundary boundaries[] = {
        {kAboveMaxBoundary.substr(0, 240), kAboveMaxExponent, kMaxFinite, {6102, kUnchanged}},
        {kHalfMinSubnormal.substr(0, 240), kHalfMinSubnormalExponent, 0, {0, kMinSubnormal}},
        {kBelowMinNormal.substr(0, 240), kBelowMinNormalExponent, kMaxSubnormal, {0, kMinNormal}},
    };
    for (const Boundary& b : boundaries) {
        const std::string below = scientific(b.digits, b.exponent);
        const std::string above = scientific(incremented(b.digits), b.exponent);
        ASSERT_LE(below.size(), kMaxRealTextLength);
        const Result r_below = convert(below);
        EXPECT_EQ(r_below.failure, 0) << below;
        EXPECT_EQ(r_below.bits, b.below) << below;
        const Result r_above = convert(above);
        EXPECT_EQ(r_above.failure, b.above.failure) << above;
        EXPECT_EQ(r_above.bits, b.above.bits) << above;
    }

    // 1 + 2^-53 exactly, padded with 200 zeros: the tie goes to 1.0; one more
    // digit past it goes up, and just below it stays.
    const std::string tie = "1.00000000000000011102230246251565404236316680908203125";
    const std::string zeros(200, '0');
    EXPECT_EQ(convert(tie + zeros).bits, kOne);
    EXPECT_EQ(convert(tie + zeros + "1").bits, kOne + 1);
    EXPECT_EQ(convert("1.000000000000000111022302462515654042363166809082031249" +
                      std::string(200, '9')).bits,
              kOne);
    // The same tie with its digits shifted into the exponent.
    EXPECT_EQ(convert("0.000" + tie.substr(0, 1) + tie.substr(2) + std::string(190, '0') + "E4").bits, kOne);
    EXPECT_EQ(convert("-0.000" + tie.substr(0, 1) + tie.substr(2) + std::string(190, '0') + "1E4").bits,
              (kOne + 1) | kNegativeZero);
}

TEST(RealText, LongestTextIsAccepted) {
    const std::string digits(kMaxRealTextLength - 2, '0');
    EXPECT_EQ(convert("0." + digits.substr(1) + "1").failure, 0);
    EXPECT_EQ(convert(digits + "12").bits, 0x4028000000000000);  // 12.0
    EXPECT_EQ(convert(digits + "123").failure, 6103);
}

// Random decimal texts against the C library's correctly rounded strtod.
TEST(RealText, AgreesWithStrtodOnRandomTexts) {
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> digit('0', '9');
    std::uniform_int_distribution<int> choice(0, 99);
    for (int round = 0; round < 200000; ++round) {
        const int style = choice(random);
        const int length = style < 70 ? 1 + choice(random) % 20
                         : style < 95 ? 1 + choice(random) % 60
                                      : 1 + choice(random) % 240;
        std::string text;
        if (choice(random) < 20) text += '-';
        const int point = choice(random) % (length + 1);
        for (int i = 0; i < length; ++i) {
            if (i == point && choice(random) < 70) text += '.';
            text += static_cast<char>(digit(random));
        }
        std::string c_text = text;
        if (choice(random) < 90) {
            const int exponent = static_cast<int>(random() % 700) - 360;
            static const char kLetters[] = "EeDd";
            const char letter = kLetters[choice(random) % 4];
            const std::string written = std::to_string(exponent);
            text += letter + written;
            c_text += "e" + written;
        }
        if (text.size() > kMaxRealTextLength) continue;

        errno = 0;
        const double expected = std::strtod(c_text.c_str(), nullptr);
        const bool overflow = errno == ERANGE && (expected > 1.0 || expected < -1.0);
        const Result r = convert(text);
        if (overflow) {
            ASSERT_EQ(r.failure, 6102) << text;
        } else {
            ASSERT_EQ(r.failure, 0) << text;
            ASSERT_EQ(r.bits, std::bit_cast<std::uint64_t>(expected)) << text;
        }
    }
}

// The exact decimal midpoint of a double and its upper neighbour, built by
// adding the exact fixed-point expansions of x and ulp/2 (the C library's
// printf is exact); empty when it has more digits than a value text holds.
std::string midpoint_text(std::uint64_t bits) {
    const double x = std::bit_cast<double>(bits);
    const int exponent = static_cast<int>(bits >> 52) - 1023;
    const double half_ulp = std::ldexp(1.0, exponent - 53);
    char a[1600];
    char b[1600];
    std::snprintf(a, sizeof a, "%.1100f", x);
    std::snprintf(b, sizeof b, "%.1100f", half_ulp);
    std::string left(a);
    std::string right(b);
    const std::size_t width = std::max(left.size(), right.size()) + 1;
    left.insert(0, width - left.size(), '0');
    right.insert(0, width - right.size(), '0');
    std::string sum(width, '0');
    int carry = 0;
    for (std::size_t i = width; i-- > 0;) {
        if (left[i] == '.') {
            sum[i] = '.';
            continue;
        }
        const int d = (left[i] - '0') + (right[i] - '0') + carry;
        sum[i] = static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    sum.erase(0, sum.find_first_not_of('0'));
    sum.erase(sum.find_last_not_of('0') + 1);
    if (sum.front() == '.') sum.insert(sum.begin(), '0');
    if (sum.back() == '.') sum.pop_back();
    return sum.size() > kMaxRealTextLength - 2 ? std::string() : sum;
}

// A text a little below a midpoint and above the double beneath it.
std::string just_below(const std::string& middle) {
    // A fraction ends in a nonzero digit; dropping it goes below.
    if (middle.find('.') != std::string::npos) return middle.substr(0, middle.size() - 1);
    // An integer midpoint lies between doubles at least 2 apart.
    std::string below = middle;
    std::size_t i = below.size();
    while (below[--i] == '0') below[i] = '9';
    --below[i];
    return below + ".9";
}

// Texts at, just above and just below the midpoints between neighbouring
// doubles, where a conversion that is not correctly rounded goes wrong.
TEST(RealText, AgreesWithStrtodAtRandomMidpoints) {
    std::mt19937_64 random(7);
    int checked = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::uint64_t exponent = 1023 - 270 + random() % 1000;
        const std::uint64_t bits = (exponent << 52) | (random() & (kHiddenBitMask));
        const std::string middle = midpoint_text(bits);
        if (middle.empty()) continue;
        const std::string with_point =
            middle.find('.') == std::string::npos ? middle + "." : middle;
        // The tie goes to the even significand.
        const struct {
            std::string text;
            std::uint64_t bits;
        } cases[] = {
            {middle, (bits & 1) != 0 ? bits + 1 : bits},
            {with_point + "1", bits + 1},
            {just_below(middle), bits},
        };
        for (const auto& c : cases) {
            const Result r = convert(c.text);
            ASSERT_EQ(r.failure, 0) << c.text;
            ASSERT_EQ(r.bits, c.bits) << c.text;
            ASSERT_EQ(r.bits, std::bit_cast<std::uint64_t>(std::strtod(c.text.c_str(), nullptr)))
                << c.text;
        }
        ++checked;
    }
    EXPECT_GT(checked, 10000);
}

}  // namespace
