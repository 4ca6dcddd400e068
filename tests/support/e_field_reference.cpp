#include "tests/support/e_field_reference.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The slow reference: the exact decimal expansion of the double in base 1e9
// limbs (m·2^e, or m·5^-e with the point moved), then both roundings done on
// the digit string as decimal text.
class Decimal {
public:
    explicit Decimal(std::uint64_t m) {
        while (m != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(m % kBase));
            m /= kBase;
        }
    }
    void multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }
    std::string text() const {
        std::string out = std::to_string(limbs_.back());
        char chunk[16];
        for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
            std::snprintf(chunk, sizeof chunk, "%09u", limbs_[i]);
            out += chunk;
        }
        return out;
    }

private:
    static constexpr std::uint32_t kBase = 1000000000;
    std::vector<std::uint32_t> limbs_;
};

// Adds one to the decimal digit string; true when it carried out of the first digit.
bool increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    return true;
}

}  // namespace

Expansion exact_expansion(std::uint64_t m, int e) {
    Decimal exact(m);
    // Powers of two and five applied in chunks that keep limb products in 64 bits.
    if (e >= 0) {
        for (int left = e; left > 0; left -= 29) exact.multiply(std::uint32_t{1} << std::min(left, 29));
    } else {
        for (int left = -e; left > 0; left -= 13) {
            std::uint32_t factor = 1;
            for (int i = 0; i < std::min(left, 13); ++i) factor *= 5;
            exact.multiply(factor);
        }
    }
    std::string digits = exact.text();
    const int q = static_cast<int>(digits.size()) + (e < 0 ? e : 0);
    return {digits, q};
}

std::string reference_e_text(std::uint64_t bits, int d, const Expansion* known) {
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int e = biased == 0 ? -1074 : biased - 1075;
    const int n = d + 1;

    std::string digits = "0";
    int exponent = 0;
    if (m != 0) {
        Expansion expansion = known != nullptr ? *known : exact_expansion(m, e);
        int q = expansion.q;
        expansion.digits.resize(std::max<std::size_t>(expansion.digits.size(), 18), '0');

        std::string d17 = expansion.digits.substr(0, 17);
        if (expansion.digits[17] >= '5' && increment(d17)) ++q;
        while (d17.size() > 1 && d17.back() == '0') d17.pop_back();

        const std::size_t shown = static_cast<std::size_t>(std::min(n, 16));
        digits = d17.substr(0, shown);
        if (d17.size() > shown && d17[shown] >= '5' && increment(digits)) ++q;
        exponent = q - 1;
    }
    digits.resize(static_cast<std::size_t>(n), '0');

    std::string text = negative && m != 0 ? "-" : "";
    text += digits[0];
    text += '.';
    text += digits.substr(1);
    char part[16];
    if (exponent >= -99 && exponent <= 99) {
        std::snprintf(part, sizeof part, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    } else {
        std::snprintf(part, sizeof part, "%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    }
    return text + part;
}

