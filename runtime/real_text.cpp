#include "runtime/real_text.h"

#include <bit>
#include <cstdint>

namespace {


// Unsigned integer of fixed capacity, little-endian 32-bit limbs. The largest
// number met is below 2^1950 (10^583 and a remainder doubled), see `convert`.
class BigInteger {
public:
    static constexpr int kLimbs = 64;

    explicit BigInteger(std::uint32_t small = 0) { limbs_[0] = small; used_ = small != 0 ? 1 : 0; }

    void multiply_add(std::uint32_t factor, std::uint32_t addend) {
        std::uint64_t carry = addend;
        for (int i = 0; i < used_; ++i) {
            const std::uint64_t product = std::uint64_t{limbs_[i]} * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0) limbs_[used_++] = static_cast<std::uint32_t>(carry);
    }

    void multiply_by_power_of_ten(int exponent) {
        for (; exponent >= 9; exponent -= 9) multiply_add(1000000000u, 0);
        static constexpr std::uint32_t kPowers[] = {1, 10, 100, 1000, 10000, 100000,
                                                    1000000, 10000000, 100000000};
        if (exponent > 0) multiply_add(kPowers[exponent], 0);
    }

    void shift_left(int bits) {
        if (used_ == 0 || bits == 0) return;
        const int words = bits / 32;
        const int rest = bits % 32;
        int top = used_ + words;
        limbs_[top] = 0;
        for (int i = used_ - 1; i >= 0; --i) {
            const std::uint64_t wide = std::uint64_t{limbs_[i]} << rest;
            limbs_[i + words + 1] |= static_cast<std::uint32_t>(wide >> 32);
            limbs_[i + words] = static_cast<std::uint32_t>(wide);
        }
        for (int i = 0; i < words; ++i) limbs_[i] = 0;
        used_ = top + 1;
        trim();
    }

    int bit_length() const {
        if (used_ == 0) return 0;
        return (used_ - 1) * 32 + std::bit_width(limbs_[used_ - 1]);
    }

    bool is_zero() const { return used_ == 0; }

    friend int compare(const BigInteger& a, const BigInteger& b) {
        if (a.used_ != b.used_) return a.used_ < b.used_ ? -1 : 1;
        for (int i = a.used_ - 1; i >= 0; --i) {
            if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        }
        return 0;
    }

    // *this -= b, for b <= *this.
    void subtract(const BigInteger& b) {
        std::uint64_t borrow = 0;
        for (int i = 0; i < used_; ++i) {
            const std::uint64_t taken = (i < b.used_ ? b.limbs_[i] : 0u) + borrow;
            borrow = limbs_[i] < taken ? 1 : 0;
            limbs_[i] = static_cast<std::uint32_t>(std::uint64_t{limbs_[i]} + (borrow << 32) - taken);
        }
        trim();
    }

private:
    void trim() {
        while (used_ > 0 && limbs_[used_ - 1] == 0) --used_;
    }

    std::uint32_t limbs_[kLimbs + 1] = {};
    int used_ = 0;
};

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << 52;
constexpr int kMaxBinaryExponent = 1023;
constexpr int kMinBinaryExponent = -1022;

// Rounds m * 2^(exponent - 63) (m with its top bit set; `sticky` when nonzero
// bits lie below m) to a 64-bit real, ties to even. False on overflow.
bool round_to_double(std::uint64_t m, bool sticky, int exponent, std::uint64_t& bits) {
    // 53 bits are kept for a normal result; fewer below the normal range.
    int shift = 11;
    if (exponent < kMinBinaryExponent) shift += kMinBinaryExponent - exponent;
    std::uint64_t kept = shift < 64 ? m >> shift : 0;
    const bool half = shift <= 64 && ((m >> (shift - 1)) & 1) != 0;
    if (shift >= 2) {
        const std::uint64_t below = shift - 1 >= 64 ? m : m & ((std::uint64_t{1} << (shift - 1)) - 1);
        sticky = sticky || below != 0;
    }
    if (half && (sticky || (kept & 1) != 0)) ++kept;

    if (exponent < kMinBinaryExponent) {
        // A subnormal's bits are its significand; rounding up to 2^52 gives
        // the smallest normal, whose bits are the same number.
        bits = kept;
        return true;
    }
    if (kept == kHiddenBit << 1) {
        kept = kHiddenBit;
        ++exponent;
    }
    if (exponent > kMaxBinaryExponent) return false;
    bits = (std::uint64_t(exponent + 1023) << 52) | (kept - kHiddenBit);
    return true;
}

// The bits of the real nearest to digits * 10^exponent, where `digits` holds
// `count` decimal digits (1 to 259, the first nonzero). False on overflow.
bool convert(const char* digits, int count, int exponent, std::uint64_t& bits) {
    // Decided from the digit count alone: the value lies in
    // [10^(count+exponent-1), 10^(count+exponent)).
    if (count + exponent - 1 >= 309) return false;  // >= 1e309
    if (count + exponent <= -324) {                 // < 1e-324, below half the smallest subnormal
        bits = 0;
        return true;
    }

    // value = numerator / denominator exactly. With count <= 259 and the
    // bounds above, the numerator stays below 10^310 and the denominator
    // below 10^583, about 1937 bits.
    BigInteger numerator;
    int i = 0;
    for (; i + 9 <= count; i += 9) {
        std::uint32_t chunk = 0;
        for (int k = 0; k < 9; ++k) chunk = chunk * 10 + static_cast<std::uint32_t>(digits[i + k] - '0');
        numerator.multiply_add(1000000000u, chunk);
    }
    for (; i < count; ++i) numerator.multiply_add(10, static_cast<std::uint32_t>(digits[i] - '0'));
    BigInteger denominator(1);
    if (exponent >= 0) {
        numerator.multiply_by_power_of_ten(exponent);
    } else {
        denominator.multiply_by_power_of_ten(-exponent);
    }

    // Scale so that 1 <= numerator / denominator < 2; then the quotient's
    // binary exponent is `binary`.
    int binary = numerator.bit_length() - denominator.bit_length();
    if (binary >= 0) {
        denominator.shift_left(binary);
    } else {
        numerator.shift_left(-binary);
    }
    if (compare(numerator, denominator) < 0) {
        numerator.shift_left(1);
        --binary;
    }

    // 64 quotient bits by long division; the remainder is the sticky bit.
    std::uint64_t m = 0;
    for (int bit = 0; bit < 64; ++bit) {
        m <<= 1;
        if (compare(numerator, denominator) >= 0) {
            numerator.subtract(denominator);
            m |= 1;
        }
        numerator.shift_left(1);
    }
    return round_to_double(m, !numerator.is_zero(), binary, bits);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int real_from_text(const char* text, std::size_t length, double& value) {
    if (length > kMaxRealTextLength) return 6103;
    std::size_t i = 0;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // Significant digits without leading and trailing zeros; `scale` is the
    // power of ten of the last digit kept.
    char digits[kMaxRealTextLength];
    int count = 0;
    int zeros_pending = 0;  // zeros seen after the last nonzero digit
    std::int64_t scale = 0;
    bool any_digit = false;
    bool point = false;
    for (; i < length; ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point) return 6103;
            point = true;
            continue;
        }
        if (!is_digit(c)) break;
        any_digit = true;
        if (point) --scale;
        if (c == '0') {
            if (count > 0) ++zeros_pending;
            continue;
        }
        for (; zeros_pending > 0; --zeros_pending) digits[count++] = '0';
        digits[count++] = c;
    }
    if (!any_digit) return 6103;
    // `scale` counted every digit after the point; the trailing zeros dropped
    // from `digits` move into the exponent.
    scale += zeros_pending;

    std::int64_t exponent = 0;
    if (i < length) {
        const char c = text[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd') ++i;
        else if (c != '+' && c != '-') return 6103;
        bool exponent_negative = false;
        if (i < length && (text[i] == '+' || text[i] == '-')) {
            exponent_negative = text[i] == '-';
            ++i;
        }
        if (i == length) return 6103;
        for (; i < length; ++i) {
            if (!is_digit(text[i])) return 6103;
            // Clamped: beyond this every value overflows or vanishes anyway.
            if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (exponent_negative) exponent = -exponent;
    }

    std::uint64_t bits = 0;
    if (count > 0) {
        const std::int64_t total = exponent + scale;
        const int clamped = static_cast<int>(total > 5000 ? 5000 : total < -5000 ? -5000 : total);
        if (!convert(digits, count, clamped, bits)) return 6102;
    }
    value = std::bit_cast<double>(negative ? bits | kSignBit : bits);
    return 0;
}
