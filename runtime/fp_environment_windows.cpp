#include <windows.h>

#include <float.h>

#include "runtime/failure_stop.h"
#include "runtime/fp_environment.h"
#include "runtime/process_exit.h"

namespace {

constexpr DWORD kFloatMultipleTraps = 0xC00002B5;  // SSE: the condition is in MXCSR
constexpr DWORD kMxcsrInvalid = 0x01, kMxcsrDivide = 0x04, kMxcsrOverflow = 0x08;

[[noreturn]] void stop(int number, const char* text) {
    failure_stop(number, FailureKind::Math, "", text);
    end_process(1);
}

LONG WINAPI on_floating_point_trap(EXCEPTION_POINTERS* exception) {
    DWORD code = exception->ExceptionRecord->ExceptionCode;
    if (code == kFloatMultipleTraps) {
        const DWORD flags = exception->ContextRecord->MxCsr;
        code = (flags & kMxcsrInvalid)    ? EXCEPTION_FLT_INVALID_OPERATION
               : (flags & kMxcsrDivide)   ? EXCEPTION_FLT_DIVIDE_BY_ZERO
               : (flags & kMxcsrOverflow) ? EXCEPTION_FLT_OVERFLOW
                                          : code;
    }
    switch (code) {
        case EXCEPTION_FLT_DIVIDE_BY_ZERO:
        case EXCEPTION_INT_DIVIDE_BY_ZERO: stop(6103, "floating-point error: divide by zero");
        case EXCEPTION_FLT_OVERFLOW:
        case EXCEPTION_INT_OVERFLOW: stop(6104, "floating-point error: overflow");
        case EXCEPTION_FLT_INVALID_OPERATION:
        case EXCEPTION_FLT_STACK_CHECK:
        case EXCEPTION_FLT_DENORMAL_OPERAND:
        case EXCEPTION_FLT_INEXACT_RESULT:
        case EXCEPTION_FLT_UNDERFLOW: stop(6101, "floating-point error: invalid");
        default: return EXCEPTION_CONTINUE_SEARCH;
    }
}

void arm_traps() {
    unsigned current;
    _controlfp_s(&current, _EM_DENORMAL | _EM_UNDERFLOW | _EM_INEXACT, _MCW_EM);
}

}  // namespace

void start_up_floating_point() {
    unsigned current;
    _controlfp_s(&current, _RC_NEAR, _MCW_RC);
#if defined(__i386__)
    // 53-bit significands for the x87 unit. On x86-64 doubles live in SSE
    // registers, which always round to 53 bits, and the run-time rejects a
    // precision change there through its invalid-parameter handler.
    _controlfp_s(&current, _PC_53, _MCW_PC);
#endif
    _clearfp();
    AddVectoredExceptionHandler(1, on_floating_point_trap);
    arm_traps();
}
