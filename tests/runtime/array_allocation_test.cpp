#include "runtime/array_allocation.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "tests/runtime/child_check.h"
#include "tests/support/subprocess.h"

// Under the address sanitizer an allocation that cannot be had must come back
// empty, as it does from the plain allocator, instead of ending the test. Its
// own mappings fail under a lowered address-space limit, so there its
// allocation ceiling stands in for that limit.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=1024";
}
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLimitAddressSpace = false;
#else
constexpr bool kLimitAddressSpace = true;
#endif

namespace {

const char kAllocationFrame[] = "\r\nrun-time error F6772\r\n- not enough memory for array\r\n";

// The sanitizer notes a refused allocation on standard error ahead of the
// frame; that line is the test tool's, not the program's.
std::string program_output(std::string bytes) {
    if (!kLimitAddressSpace && bytes.rfind("==", 0) == 0) {
        const std::size_t end = bytes.find('\n');
        if (bytes.find("AddressSanitizer failed to allocate") < end) bytes.erase(0, end + 1);
    }
    return bytes;
}

TEST(AllocateReals, AllZeroBits) {
    const ChildResult result = run_in_child([] {
        for (std::int64_t count : {std::int64_t{0}, std::int64_t{1}, std::int64_t{3},
                                   std::int64_t{100001}}) {
            double* reals = allocate_reals(count);
            CHILD_CHECK(reals != nullptr);
            for (std::int64_t i = 0; i < count; ++i) {
                std::uint64_t bits;
                std::memcpy(&bits, &reals[i], sizeof bits);
                CHILD_CHECK(bits == 0);
                reals[i] = 1.5;  // dirty the heap for the next round
            }
            release_reals(reals, count);
        }
    });
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
}

TEST(AllocateReals, SizeThatCannotBeRepresentedIsTheAllocationStop) {
    const std::int64_t counts[] = {
        -1,
        std::numeric_limits<std::int64_t>::min(),
        std::numeric_limits<std::int64_t>::max(),
        static_cast<std::int64_t>(std::numeric_limits<std::size_t>::max() / sizeof(double) + 1),
    };
    for (std::int64_t count : counts) {
        SCOPED_TRACE(count);
        const ChildResult result = run_in_child([&] { allocate_reals(count); });
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_error, kAllocationFrame);
    }
}

TEST(AllocateReals, MemoryThatCannotBeHadIsTheAllocationStop) {
    const ChildResult result = run_in_child([] {
        // 2^40 reals are 8 TiB: far beyond a 1 GiB address space limit.
        const rlimit limit = {1ull << 30, 1ull << 30};
        if (kLimitAddressSpace) CHILD_CHECK(::setrlimit(RLIMIT_AS, &limit) == 0);
        allocate_reals(std::int64_t{1} << 40);
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(program_output(result.standard_error), kAllocationFrame);
}

// Under overcommit the allocator would grant arrays the machine cannot hold;
// they are refused up front once the memory held would pass physical memory
// plus swap, and memory released counts no more.
TEST(AllocateReals, MemoryBeyondTheMachineIsRefusedUpFront) {
    if (!kLimitAddressSpace) GTEST_SKIP() << "the sanitizer's allocation ceiling is lower";
    int overcommit = 0;
    std::ifstream("/proc/sys/vm/overcommit_memory") >> overcommit;
    if (overcommit == 2) GTEST_SKIP() << "strict accounting refuses the first block already";
    struct sysinfo info;
    ASSERT_EQ(::sysinfo(&info), 0);
    const std::uint64_t machine =
        (static_cast<std::uint64_t>(info.totalram) + info.totalswap) * info.mem_unit;
    const auto count = static_cast<std::int64_t>(machine / 10 * 6 / sizeof(double));
    const ChildResult result = run_in_child([&] {
        double* reals = allocate_reals(count);
        CHILD_CHECK(reals != nullptr);
        release_reals(reals, count);
        reals = allocate_reals(count);  // the first block no longer counts
        CHILD_CHECK(reals != nullptr);
        (void)!::write(STDERR_FILENO, "granted\n", 8);
        allocate_reals(count);
        child_check(false, "a second block beyond the machine was granted");
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, "granted\n" + std::string(kAllocationFrame));
}

}  // namespace
