#include "tests/fuzz/fuzz_failure_stop.h"

#include <cstdlib>

#include "runtime/units.h"

std::jmp_buf fuzz_escape;
FuzzStop fuzz_stop;

namespace {
bool closing = false;
}

void failure_stop(int number, FailureKind kind, const char*, const char*) {
    if (closing) return;  // a failure while closing: reported once, the rest abandoned
    fuzz_stop = {number, kind};
    closing = true;
    close_all_units();
    closing = false;
    std::longjmp(fuzz_escape, 1);
}

void normal_end() { std::abort(); }

bool ending() { return closing; }
