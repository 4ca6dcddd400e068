// The floating-point environment of a run: round to nearest, traps on for
// invalid operations, divisions by zero and overflows, a handler that turns a
// trap into the failure stop.
#pragma once

// Start-up, before the driver runs.
void start_up_floating_point();

// While one exists, the traps are masked; on its end the flags raised in the
// meantime are cleared and the traps are armed again. For the few library
// calls that may raise flags on purpose.
class TrapsMasked {
public:
    TrapsMasked();
    ~TrapsMasked();
    TrapsMasked(const TrapsMasked&) = delete;
    TrapsMasked& operator=(const TrapsMasked&) = delete;

private:
    int saved_;
};
