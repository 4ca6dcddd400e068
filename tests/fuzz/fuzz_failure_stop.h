// The fuzz targets' stand-in for the failure stop: instead of ending the
// process it records the stop and jumps back to the target, so that one
// process can try millions of inputs.
#pragma once
#include <csetjmp>

#include "runtime/failure_stop.h"

struct FuzzStop {
    int number = 0;
    FailureKind kind = FailureKind::Math;
};

// Where failure_stop jumps to; set by FUZZ_GUARD before the code under test.
extern std::jmp_buf fuzz_escape;
extern FuzzStop fuzz_stop;
