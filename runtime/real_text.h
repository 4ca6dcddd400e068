// Conversion of a free-format value text to the nearest 64-bit real.
#pragma once
#include <cstddef>

// The longest text converted; the big-integer bounds are sized for it.
inline constexpr std::size_t kMaxRealTextLength = 259;

// Converts the `length` characters of `text`: an optional sign, digits with an
// optional decimal point (or a point and at least one digit), an optional
// exponent (E, e, D or d with an optional sign, or a sign alone, then digits).
// The result is correctly rounded, ties to even, whatever the number of
// digits; below the normal range it is subnormal or zero. Returns 0 and
// stores the value, or returns READ 6102 (beyond the largest finite real) or
// 6103 (not a number as a whole, or longer than kMaxRealTextLength) and leaves `value` unchanged.
// Integer arithmetic only: no host floating point, no locale.
int real_from_text(const char* text, std::size_t length, double& value);
