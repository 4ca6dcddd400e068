// How the numerical routines order their floating-point operations. With the
// traps armed the first operation that traps names the failure stop (an
// invalid operation, a division by zero, an overflow, a "**" overflow), so
// where operations could trap differently they must run in the order
// written; the compiler is otherwise free to compute, say, a later division
// ahead of an earlier one. With the traps held only whether a flag was raised
// matters, and any order will do.
#pragma once

#include "runtime/math_functions.h"

// Traps armed: the values pass through an empty volatile asm. An operation
// on a value that passed cannot be computed before it, one that produced the
// value cannot be computed after it, and such asms keep their order among
// themselves and with calls. No instruction is emitted.
struct WrittenOrder {
    static double square(double base) { return math_square(base); }
    template <typename... Values>
    static void in_order(Values&... values) {
        (..., [](double& value) { asm volatile("" : "+x"(value)); }(values));
    }
};

// Traps held: base ** 2.0 as the plain product it rounds to, no ordering.
struct AnyOrder {
    static double square(double base) { return base * base; }
    template <typename... Values>
    static void in_order(Values&...) {}
};
