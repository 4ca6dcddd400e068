// The driver's memory: the seven arrays of the problem state and the solver's
// two work arrays are all a run allocates, whatever N.
#include "driver/principal.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

long peak_kilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(Principal, PeakMemoryIsNineArraysOfN) {
    if (kSanitized) GTEST_SKIP() << "the address sanitizer's shadow memory hides the figure";
    constexpr long kN = 1000002;
    TempDir folder;
    write_file(folder / "dados.txt", std::to_string(kN) + "\n10.0\n0.5\n2\n");
    const ChildResult child = run_in_child([&] {
        WorkingDirectory here(folder.path());
        setenv("COMSPEC", "/bin/true", 1);
        const long before = peak_kilobytes();
        ProblemState state;
        principal(state);
        std::fprintf(stderr, "%ld", peak_kilobytes() - before);
    });
    ASSERT_EQ(child.exit_status, 0) << child.standard_error;
    const double bytes_per_volume = std::stod(child.standard_error) * 1024.0 / kN;
    // x, u, ua, aw, ae, ap, bp, S and the solver's P (its Q is kept in u):
    // 9 reals per volume.
    EXPECT_GT(bytes_per_volume, 68.0);
    EXPECT_LT(bytes_per_volume, 78.0);
    RecordProperty("bytes_per_volume", std::to_string(bytes_per_volume));
}

}  // namespace
