// Differential: the E-field text of any finite 64-bit pattern, in the three
// widths the reports use, must equal the slow exact reference's.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "reports/e_field.h"
#include "tests/support/e_field_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(std::uint64_t)) return 0;
    std::uint64_t bits;
    std::memcpy(&bits, data, sizeof bits);
    if (!std::isfinite(std::bit_cast<double>(bits))) return 0;
    for (int d : {15, 9, 10}) {
        std::string fast(e_field_text_capacity(d), '?');
        fast.resize(e_field_text(std::bit_cast<double>(bits), d, fast.data()));
        if (fast != reference_e_text(bits, d)) std::abort();
    }
    return 0;
}
