#include "runtime/error_messages.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

// Every number a unit statement or an allocation can raise has its own text,
// so that no frame of these kinds lacks its "- " line.
TEST(ErrorMessages, EveryRaisedNumberHasItsOwnText) {
    const int raised[] = {
        6100, 6101, 6102, 6103, 6302, 6303,                        // value syntax
        6412, 6413, 6414, 6415, 6416, 6417, error_number::kOpenOther,  // OPEN
        6421, 6422, error_number::kWriteOther,                     // WRITE and CLOSE
        6500, 6501, 6502, 6503, 6504,                              // READ
        error_number::kValueTooLong, error_number::kUnitNotConnected,
        error_number::kFormatMalformed, error_number::kFormatIntegerForReal,
        error_number::kFormatRealForInteger, error_number::kFormatNoDescriptor,
        error_number::kFormatUnsupported, error_number::kRecordTooLong,
        error_number::kAllocation, error_number::kTooFewVolumes,
    };
    std::set<std::string> texts;
    for (int number : raised) {
        SCOPED_TRACE(number);
        const std::string text = error_message(number);
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(texts.insert(text).second) << "shared text: " << text;
    }
    EXPECT_STREQ(error_message(error_number::kAllocation), "not enough memory for array");
}

TEST(ErrorMessages, UnknownNumberHasEmptyText) {
    EXPECT_STREQ(error_message(0), "");
    EXPECT_STREQ(error_message(6104), "");  // a floating-point stop brings its own text
    EXPECT_STREQ(error_message(9999), "");
}

}  // namespace
