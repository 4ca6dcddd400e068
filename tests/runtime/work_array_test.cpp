#include "runtime/work_array.h"

#include <gtest/gtest.h>

namespace {

TEST(WorkArray, TheNextOfTheSameSizeGetsTheBlockBack) {
    double* first;
    {
        WorkArray a(100000);
        first = a.data();
        a(1) = 1.0;
        a(100000) = 2.0;
    }
    WorkArray b(100000);
    EXPECT_EQ(b.data(), first);
    EXPECT_EQ(b(100000), 2.0);  // the values are left as they were
}

TEST(WorkArray, TwoAtOnceAreTwoBlocks) {
    WorkArray a(5000);
    WorkArray b(5000);
    EXPECT_NE(a.data(), b.data());
    a(5000) = 1.0;
    b(5000) = 2.0;
    EXPECT_EQ(a(5000), 1.0);
}

TEST(WorkArray, AnotherSizeGetsABlockOfItsOwnSize) {
    { WorkArray small(10); }
    WorkArray large(200000);
    for (std::int32_t i = 1; i <= 200000; ++i) large(i) = i;  // the sanitizer build checks the bounds
    EXPECT_EQ(large(200000), 200000.0);
}

}  // namespace
