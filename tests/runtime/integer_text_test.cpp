#include "runtime/integer_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct Case {
    std::string text;
    std::int32_t value;  // expected when failure is 0
    int failure;
};

constexpr std::int32_t kUnchanged = 12345;

const Case kCases[] = {
    {"21", 21, 0},
    {"+21", 21, 0},
    {"021", 21, 0},
    {"-21", -21, 0},
    {"0", 0, 0},
    {"-0", 0, 0},
    {"2147483647", 2147483647, 0},
    {"-2147483648", INT32_MIN, 0},
    {"+2147483647", 2147483647, 0},
    {"0000000000000000000000000000000000002147483647", 2147483647, 0},
    {"-", 0, 0},
    {"+", 0, 0},
    // Decimal range.
    {"2147483648", 0, 6100},
    {"-2147483649", 0, 6100},
    {"+2147483648", 0, 6100},
    {"-02147483648", 0, 6100},  // only the exact text gets the minimum
    {"99999999999999999999999999999999999999", 0, 6100},
    // Characters an integer does not allow.
    {"21.0", 0, 6101},
    {"2.1E1", 0, 6101},
    {"21e0", 0, 6101},
    {"2-1", 0, 6101},
    {"+-1", 0, 6101},
    {"1+", 0, 6101},
    {"A", 0, 6101},
    {"\xC3\xA9", 0, 6101},
    {"\xEF\xBB\xBF" "21", 0, 6101},
    {"1 2", 0, 6101},
    // Based integers.
    {"16#1F", 31, 0},
    {"#1F", 31, 0},
    {"0#1f", 31, 0},
    {"-#1F", -31, 0},
    {"2#101", 5, 0},
    {"36#Zz", 35 * 36 + 35, 0},
    {"8#17777777777", 2147483647, 0},
    {"16#FFFFFFFF", -1, 0},
    {"16#80000000", INT32_MIN, 0},
    {"-16#80000000", INT32_MIN, 0},
    {"-16#1", -1, 0},
    {"2#11111111111111111111111111111111", -1, 0},
    {"10#2147483647", 2147483647, 0},
    {"16#100000000", 0, 6100},
    {"10#2147483648", 0, 6100},
    {"-10#2147483648", 0, 6100},
    {"36#ZZZZZZZ", 0, 6100},
    {"1#0", 0, 6303},
    {"37#1", 0, 6303},
    {"99999999999999999999#1", 0, 6303},
    {"2#2", 0, 6101},
    {"17#H", 0, 6101},
    {"16#G", 0, 6101},
    {"16#1.5", 0, 6101},
    {"16#1#2", 0, 6302},
    {"##", 0, 6302},
    // The first syntax failure met from the left wins over range.
    {"99999999999x", 0, 6101},
    {"16#FFFFFFFFFFFG", 0, 6101},
    {"16#FFFFFFFFF#1", 0, 6302},
    {"1#1#1", 0, 6303},
    {"1A#5", 0, 6101},
    // NUL ends the text, Ctrl-Z too before any number sign.
    {std::string("21\0xyz", 6), 21, 0},
    {std::string("99999999999\0", 12), 0, 6100},
    {"21\x1A" "abc", 21, 0},
    {"\x1A", 0, 0},
    {"16#1\x1A", 0, 6101},
    {std::string("16#1F\0G", 7), 31, 0},
    {std::string("-2147483648\0", 12), INT32_MIN, 0},
};

TEST(IntegerText, ConvertsOrNamesTheFailure) {
    for (const Case& c : kCases) {
        std::int32_t value = kUnchanged;
        const int failure = integer_from_text(c.text.data(), c.text.size(), value);
        EXPECT_EQ(failure, c.failure) << "text: " << c.text;
        EXPECT_EQ(value, c.failure == 0 ? c.value : kUnchanged) << "text: " << c.text;
    }
}

}  // namespace
