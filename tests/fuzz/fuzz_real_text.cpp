// Differential: every text the real conversion accepts must give the bits
// strtod gives for the same number (strtod rounds correctly), and every text
// it rejects must be one strtod does not take whole or one out of range.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/real_text.h"

namespace {

// The same number in the syntax strtod takes: D/d exponents become E, and a
// sign alone in place of the exponent letter gets the letter.
std::string for_strtod(const char* text, std::size_t length) {
    std::string converted;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        const bool exponent_sign = (c == '+' || c == '-') && i > 0 &&
                                   (std::isdigit(static_cast<unsigned char>(text[i - 1])) ||
                                    text[i - 1] == '.');
        if (exponent_sign) converted += 'E';
        converted += (c == 'D' || c == 'd') ? 'E' : c;
    }
    return converted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    double value = 0.0;
    const int status = real_from_text(text, size, value);
    if (status != 0) {
        if (status != 6102 && status != 6103) std::abort();
        if (status == 6102) {
            const std::string converted = for_strtod(text, size);
            if (!std::isinf(std::strtod(converted.c_str(), nullptr))) std::abort();
        }
        return 0;
    }
    if (std::memchr(text, '\0', size) != nullptr) std::abort();  // NUL is no number character
    const std::string converted = for_strtod(text, size);
    char* end = nullptr;
    const double expected = std::strtod(converted.c_str(), &end);
    if (end != converted.c_str() + converted.size()) std::abort();
    if (std::memcmp(&expected, &value, sizeof value) != 0) std::abort();
    return 0;
}
