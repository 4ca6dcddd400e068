// Conversion of a free-format value text to a 32-bit signed integer.
#pragma once
#include <cstddef>
#include <cstdint>

// Converts the `length` characters of `text`: an optional sign and decimal
// digits, or a based integer (base#digits, #digits for base 16). Returns 0
// and stores the value, or returns the READ failure number (6100, 6101, 6302,
// 6303) and leaves `value` unchanged. The first syntax failure met from the
// left wins over a value out of range.
int integer_from_text(const char* text, std::size_t length, std::int32_t& value);
