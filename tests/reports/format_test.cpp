#include "reports/format.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/error_messages.h"

namespace {

struct Expected {
    FormatOp op;
    std::int32_t a;
    std::int32_t b;
};

void expect_elements(const ParsedFormat& parsed, const std::vector<Expected>& expected) {
    ASSERT_EQ(parsed.elements.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(parsed.elements[i].op, expected[i].op) << i;
        EXPECT_EQ(parsed.elements[i].a, expected[i].a) << i;
        EXPECT_EQ(parsed.elements[i].b, expected[i].b) << i;
    }
}

TEST(Format, ParsesEveryElementAndStopsAtTheClosingParenthesis) {
    ParsedFormat parsed;
    ASSERT_EQ(parse_format("('a''b',2/,/,T35,1P,I10,E25.15,3(E20.9)) and 'more'", parsed), 0);
    expect_elements(parsed, {{FormatOp::Literal, 0, 3},
                             {FormatOp::RecordEnd, 2, 0},
                             {FormatOp::RecordEnd, 1, 0},
                             {FormatOp::Tab, 35, 0},
                             {FormatOp::Scale, 1, 0},
                             {FormatOp::IField, 10, 0},
                             {FormatOp::EField, 25, 15},
                             {FormatOp::GroupStart, 3, 9},
                             {FormatOp::EField, 20, 9},
                             {FormatOp::GroupEnd, 7, 0},
                             {FormatOp::FormatEnd, 0, 0}});
    EXPECT_EQ(parsed.literals, "a'b");
    EXPECT_EQ(parsed.reversion, 7);
    EXPECT_TRUE(parsed.reversion_has_data);
}

TEST(Format, ReversionIsTheLastGroupDirectlyInsideTheOuterParentheses) {
    ParsedFormat parsed;
    ASSERT_EQ(parse_format("(2(I1,3(I2)),I3,(I4,(I5)),'x')", parsed), 0);
    EXPECT_EQ(parsed.elements[static_cast<std::size_t>(parsed.reversion)].op, FormatOp::GroupStart);
    EXPECT_EQ(parsed.elements[static_cast<std::size_t>(parsed.reversion) + 1].a, 4);  // the group of I4

    ASSERT_EQ(parse_format("(I5,'x')", parsed), 0);
    EXPECT_EQ(parsed.reversion, 0);
    EXPECT_TRUE(parsed.reversion_has_data);

    ASSERT_EQ(parse_format("(I5,2('x'))", parsed), 0);
    EXPECT_FALSE(parsed.reversion_has_data);
}

TEST(Format, KeepsTheFirstParseAndItsFault) {
    const Format good("(I9,1P,E25.15)");
    int error = -1;
    const ParsedFormat* first = good.parsed(error);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(good.parsed(error), first);

    const Format bad("(I9,1P,E25.15");
    EXPECT_EQ(bad.parsed(error), nullptr);
    EXPECT_EQ(error, error_number::kFormatMalformed);
    error = 0;
    EXPECT_EQ(bad.parsed(error), nullptr);
    EXPECT_EQ(error, error_number::kFormatMalformed);
}

}  // namespace
