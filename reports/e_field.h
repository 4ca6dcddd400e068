// Text of the real field Ew.d (scale factor 1) and of the integer field Iw.
// Integer arithmetic only: the same bytes for every double whatever the
// locale or the rounding mode, and no floating-point trap can fire.
#pragma once
#include <cstddef>
#include <cstdint>

// Longest I text: "-2147483648".
inline constexpr std::size_t kMaxIntegerText = 11;

// Writes the Iw text of `value` ("-" and the digits, no plus sign) to `out`
// and returns its length; `out` holds at least kMaxIntegerText bytes.
std::size_t i_field_text(std::int32_t value, char* out);

// The E text of `value` with `d` digits after the point, not justified:
// sign, digit, point, d digits, exponent part. Returns its length, at most
// e_field_text_capacity(d); `out` must hold that many bytes.
std::size_t e_field_text(double value, int d, char* out);
constexpr std::size_t e_field_text_capacity(int d) { return static_cast<std::size_t>(d) + 7; }

// The length of the E text, known before any digit is made: sign (for a
// negative value other than zero), digit, point, d digits, four exponent characters.
std::size_t e_field_text_length(double value, int d);

// The whole fields: exactly `w` bytes, right-justified with blanks, or `w`
// asterisks when the text is longer than `w`.
void i_field(std::int32_t value, int w, char* out);
void e_field(double value, int w, int d, char* out);
