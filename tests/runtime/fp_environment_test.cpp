#include "runtime/fp_environment.h"

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "runtime/units.h"
#include "tests/runtime/child_check.h"
#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

namespace {

// Operands the compiler cannot fold: every operation happens at run time.
volatile double zero = 0.0;
volatile double one = 1.0;
volatile double largest = DBL_MAX;
volatile double smallest_normal = DBL_MIN;
volatile double tiny = 1e-300;
volatile double sink = 0.0;

std::uint64_t bits(double value) {
    std::uint64_t b;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

const char kDivideByZero[] =
    "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n";

struct TrapCase {
    const char* what;
    std::function<void()> operation;
    const char* frame;
};

TEST(FloatingPointTraps, TrappedConditionsStopWithTheirFrames) {
    const TrapCase cases[] = {
        {"1/0", [] { sink = one / zero; }, kDivideByZero},
        {"-1/0", [] { sink = -one / zero; }, kDivideByZero},
        {"0/0", [] { sink = zero / zero; },
         "\r\nrun-time error M6101: MATH\r\n- floating-point error: invalid\r\n"},
        {"sqrt(-1)", [] { sink = std::sqrt(-one); },
         "\r\nrun-time error M6101: MATH\r\n- floating-point error: invalid\r\n"},
        {"DBL_MAX*2", [] { sink = largest * 2.0; },
         "\r\nrun-time error M6104: MATH\r\n- floating-point error: overflow\r\n"},
        {"DBL_MAX+DBL_MAX", [] { sink = largest + largest; },
         "\r\nrun-time error M6104: MATH\r\n- floating-point error: overflow\r\n"},
    };
    for (const TrapCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ChildResult result = run_in_child([&] {
            start_up_floating_point();
            c.operation();
            CHILD_CHECK(!"the operation did not trap");
        });
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_error, c.frame);
    }
}

TEST(FloatingPointTraps, UnderflowAndInexactAreSilent) {
    const ChildResult result = run_in_child([] {
        start_up_floating_point();
        sink = smallest_normal * 0.5;  // gradual underflow: exact subnormal
        CHILD_CHECK(bits(sink) == 0x0008000000000000u);
        sink = smallest_normal / 3.0;  // a rounded subnormal
        CHILD_CHECK(std::fpclassify(sink) == FP_SUBNORMAL);
        sink = tiny * tiny;  // below the subnormals: zero
        CHILD_CHECK(bits(sink) == 0);
        sink = sink * 5.0;  // denormal and zero operands are used as they are
        sink = one / 3.0;
        CHILD_CHECK(bits(sink) == 0x3fd5555555555555u);
    });
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
}

TEST(FloatingPointTraps, BufferedRecordsReachTheirFilesAfterATrap) {
    TempDir directory;
    write_file(directory / "saida.txt", "old report\r\n");
    const ChildResult result = run_in_child([&] {
        WorkingDirectory here(directory.path());
        start_up_floating_point();
        open_unit(8, "ucentral.dat", 12);
        for (const char* record : {"  1  0.5", "  2  0.25"}) {
            unit_begin_write(8);
            unit_write(8, record, std::strlen(record));
            unit_end_record(8);
        }
        open_unit(5, "saida.txt", 9);  // opened, never written
        sink = one / zero;
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, kDivideByZero);
    EXPECT_EQ(read_file(directory / "ucentral.dat"), "  1  0.5\r\n  2  0.25\r\n");
    EXPECT_EQ(read_file(directory / "saida.txt"), "old report\r\n");
}

TEST(TrapsMasked, MasksWhileItLivesAndArmsAgainAfter) {
    const ChildResult result = run_in_child([] {
        start_up_floating_point();
        {
            TrapsMasked masked;
            sink = one / zero;
            CHILD_CHECK(std::isinf(sink));
            CHILD_CHECK(std::fetestexcept(FE_DIVBYZERO) != 0);
            {
                TrapsMasked nested;  // an inner scope must not arm the traps early
            }
            sink = largest * 2.0;
            CHILD_CHECK(std::isinf(sink));
        }
        CHILD_CHECK(std::fetestexcept(FE_ALL_EXCEPT) == 0);  // raised flags are cleared
        sink = one / zero;
        CHILD_CHECK(!"the traps were not armed again");
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, kDivideByZero);
}

TEST(TrapsMasked, LeavesUnarmedTrapsUnarmed) {
    const ChildResult result = run_in_child([] {
        { TrapsMasked masked; }
        sink = one / zero;
        CHILD_CHECK(std::isinf(sink));
    });
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
}

}  // namespace
