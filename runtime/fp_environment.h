// The floating-point environment of a run: round to nearest, traps on for
// invalid operations, divisions by zero and overflows, a handler that turns a
// trap into the failure stop.
#pragma once

#if !defined(__x86_64__)
#error "the floating-point traps are set in the SSE control register of x86-64"
#endif
#include <immintrin.h>

// Start-up, before the driver runs.
void start_up_floating_point();

// While one exists, the three trapped exceptions only raise their flags; on
// its end the control register is put back as it was when it began, so the
// flags raised in the meantime are dropped and the traps are armed again as
// they were. Doubles live in SSE registers on x86-64, so its control register
// is the whole environment. Inline: the iteration sweep holds the traps once
// per iteration, a few cycles each way.
class TrapsMasked {
public:
    TrapsMasked() : saved_(_mm_getcsr()) { _mm_setcsr((saved_ | kMasks) & ~kFlags); }
    ~TrapsMasked() { _mm_setcsr(saved_); }
    TrapsMasked(const TrapsMasked&) = delete;
    TrapsMasked& operator=(const TrapsMasked&) = delete;

    // An operation since the start raised an invalid, divide-by-zero or
    // overflow flag: with the traps armed it would have stopped the run.
    bool trapped_flag_raised() const { return (_mm_getcsr() & kFlags) != 0; }
    bool overflow_raised() const { return (_mm_getcsr() & kOverflowFlag) != 0; }

private:
    static constexpr unsigned kOverflowFlag = 0x0008;
    static constexpr unsigned kFlags = 0x0001 | 0x0004 | kOverflowFlag;  // invalid, divide, overflow
    static constexpr unsigned kMasks = kFlags << 7;
    unsigned saved_;
};
