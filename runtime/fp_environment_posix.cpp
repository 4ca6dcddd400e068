#include <cfenv>
#include <csignal>

#include "runtime/failure_stop.h"
#include "runtime/fp_environment.h"
#include "runtime/process_exit.h"

namespace {

constexpr int kTrapped = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

void on_floating_point_trap(int, siginfo_t* info, void*) {
    switch (info->si_code) {
        case FPE_FLTDIV:
        case FPE_INTDIV:
            failure_stop(6103, FailureKind::Math, "", "floating-point error: divide by zero");
            break;
        case FPE_FLTOVF:
        case FPE_INTOVF:
            failure_stop(6104, FailureKind::Math, "", "floating-point error: overflow");
            break;
        default:
            failure_stop(6101, FailureKind::Math, "", "floating-point error: invalid");
            break;
    }
    end_process(1);  // returning would rerun the failing instruction
}

}  // namespace

void start_up_floating_point() {
    // Doubles are computed in SSE registers: 53-bit significands, and the
    // rounding mode is already to nearest at process start.
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
    struct sigaction action = {};
    action.sa_sigaction = on_floating_point_trap;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGFPE, &action, nullptr);
    feenableexcept(kTrapped);
}
