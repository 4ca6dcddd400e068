#include "reports/e_field.h"

#include "tests/support/e_field_reference.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct EFieldCase {
    std::uint64_t bits;
    int w;
    int d;
    const char* expected;
};

// Expected bytes are whole fields, leading blanks included.
const EFieldCase kEFieldCases[] = {
    {0x0000000000000000, 25, 15, "    0.000000000000000E+00"},
    {0x8000000000000000, 25, 15, "    0.000000000000000E+00"},  // negative zero
    {0x3FF0000000000000, 25, 15, "    1.000000000000000E+00"},
    {0xBFF0000000000000, 25, 15, "   -1.000000000000000E+00"},
    {0x3FC2492492492492, 25, 15, "    1.428571428571429E-01"},  // 1/7: 0.142857142857142849...
    {0x400AAAAAAAAAAAAB, 25, 15, "    3.333333333333334E+00"},  // 10/3: 3.33333333333333348...
    {0x3FC5555555555555, 20, 9, "     1.666666667E-01"},
    {0x3F9999999999999A, 20, 9, "     2.500000000E-02"},
    {0x3F9999999999999A, 25, 15, "    2.500000000000000E-02"},
    {0x3FB999999999999A, 25, 15, "    1.000000000000000E-01"},
    {0x3FEFFFFFFFFFFFFF, 25, 15, "    9.999999999999999E-01"},
    {0x3FEFFFFFFFFFFFFF, 20, 9, "     1.000000000E+00"},  // carry into a new first digit
    {0x2704A8729FC3DDB7, 25, 15, "    1.000000000000000-120"},
    {0x697F5AA543C31387, 25, 15, "    1.500000000000000+200"},
    {0x0000000000000001, 25, 15, "    4.940656458412465-324"},
    {0x0010000000000000, 25, 15, "    2.225073858507201-308"},
    {0x7FEFFFFFFFFFFFFF, 25, 15, "    1.797693134862316+308"},
    {0xFFEFFFFFFFFFFFFF, 25, 15, "   -1.797693134862316+308"},
    // 1e99 is 9.99999999999999967e98: both roundings carry into a new exponent.
    {0x547D42AEA2879F2E, 25, 15, "    1.000000000000000E+99"},
    {0x547D42AEA2879F2E, 20, 9, "     1.000000000E+99"},
    // The double below 1e100, 9.99999999999999821e99: E20.9 carries into three exponent digits.
    {0x54B249AD2594C37C, 25, 15, "    9.999999999999998E+99"},
    {0x54B249AD2594C37C, 20, 9, "     1.000000000+100"},
    {0x54B249AD2594C37D, 25, 15, "    1.000000000000000+100"},
    {0x4024000000000000, 18, 10, "  1.0000000000E+01"},
    {0x3FE0000000000000, 18, 10, "  5.0000000000E-01"},
    {0xBFE0000000000000, 18, 10, " -5.0000000000E-01"},
    {0xBFC5555555555555, 20, 9, "    -1.666666667E-01"},
    // More digits asked than 16: the 16 rounded digits, then zeros.
    {0x3FD5555555555555, 30, 20, "    3.33333333333333300000E-01"},
    {0x3FF0000000000000, 8, 0, "  1.E+00"},
    {0x3FF8000000000000, 6, 0, "2.E+00"},
    {0x3FF0000000000000, 7, 1, "1.0E+00"},
    // Too wide: asterisks.
    {0xBFF0000000000000, 10, 5, "**********"},
    {0x3FF0000000000000, 5, 0, "*****"},
    {0x3FF0000000000000, 1, 15, "*"},
};

TEST(EField, FieldsMatchTheTableByteForByte) {
    for (const EFieldCase& c : kEFieldCases) {
        std::string out(static_cast<std::size_t>(c.w), '?');
        e_field(std::bit_cast<double>(c.bits), c.w, c.d, out.data());
        EXPECT_EQ(out, c.expected) << std::hex << c.bits << " E" << std::dec << c.w << "." << c.d;
    }
}

struct IFieldCase {
    std::int32_t value;
    int w;
    const char* expected;
};

const IFieldCase kIFieldCases[] = {
    {5, 9, "        5"},
    {0, 9, "        0"},
    {-5, 9, "       -5"},
    {100, 9, "      100"},
    {999999999, 9, "999999999"},
    {1000000000, 9, "*********"},
    {-99999999, 9, "-99999999"},
    {-100000000, 9, "*********"},
    {2147483647, 10, "2147483647"},
    {-2147483647 - 1, 11, "-2147483648"},
    {-2147483647 - 1, 10, "**********"},
    {7, 1, "7"},
    {-7, 1, "*"},
};

TEST(IField, FieldsMatchTheTableByteForByte) {
    for (const IFieldCase& c : kIFieldCases) {
        std::string out(static_cast<std::size_t>(c.w), '?');
        i_field(c.value, c.w, out.data());
        EXPECT_EQ(out, c.expected) << c.value << " I" << c.w;
    }
}

std::string fast_text(std::uint64_t bits, int d) {
    std::string out(e_field_text_capacity(d), '?');
    out.resize(e_field_text(std::bit_cast<double>(bits), d, out.data()));
    return out;
}

void expect_matches_reference(std::uint64_t bits) {
    static constexpr int kDigitsAfterPoint[] = {15, 9, 10};  // E25.15, E20.9, E18.10
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const Expansion expansion = exact_expansion(m == 0 ? 1 : m, biased == 0 ? -1074 : biased - 1075);
    for (int d : kDigitsAfterPoint) {
        const std::string expected = reference_e_text(bits, d, &expansion);
        ASSERT_EQ(fast_text(bits, d), expected) << std::hex << "bits 0x" << bits << std::dec << " d " << d;
    }
}

TEST(EField, ReferenceAgreesOnTheTable) {
    // The reference itself must reproduce the hand-checked fields.
    for (const EFieldCase& c : kEFieldCases) {
        const std::string field = c.expected;
        if (field.find('*') != std::string::npos) continue;
        const std::string text = field.substr(field.find_first_not_of(' '));
        EXPECT_EQ(reference_e_text(c.bits, c.d), text) << std::hex << c.bits;
    }
}

TEST(EField, FastPathMatchesReferenceOnRandomPatterns) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 2000000; ++i) {
        const std::uint64_t bits = random();
        if (((bits >> 52) & 0x7FF) == 0x7FF) continue;  // no infinities or not-a-numbers
        expect_matches_reference(bits);
    }
}

TEST(EField, FastPathMatchesReferenceNearPowersOfTen) {
    for (int p = -323; p <= 308; ++p) {
        const std::string text = "1e" + std::to_string(p);
        const std::uint64_t nearest = std::bit_cast<std::uint64_t>(std::strtod(text.c_str(), nullptr));
        for (std::uint64_t step = 0; step <= 4; ++step) {
            expect_matches_reference(nearest + step);
            if (nearest > step) expect_matches_reference(nearest - step);
            expect_matches_reference((nearest + step) | (std::uint64_t{1} << 63));
        }
    }
}

TEST(EField, FastPathMatchesReferenceOnSubnormals) {
    for (std::uint64_t bits = 1; bits <= 4096; ++bits) expect_matches_reference(bits);
    for (int shift = 12; shift <= 52; ++shift) {
        const std::uint64_t top = std::uint64_t{1} << shift;
        expect_matches_reference(top - 1);
        expect_matches_reference(top);
    }
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) expect_matches_reference(random() & ((std::uint64_t{1} << 52) - 1));
}

TEST(EField, FastPathMatchesReferenceAcrossEveryExponent) {
    // Every biased exponent, with fractions at both ends and in between.
    std::mt19937_64 random(99);
    for (std::uint64_t biased = 0; biased < 0x7FF; ++biased) {
        const std::uint64_t base = biased << 52;
        expect_matches_reference(base);
        expect_matches_reference(base | ((std::uint64_t{1} << 52) - 1));
        for (int i = 0; i < 16; ++i) expect_matches_reference(base | (random() & ((std::uint64_t{1} << 52) - 1)));
    }
}

}  // namespace
