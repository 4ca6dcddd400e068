#include "reports/e_field.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint64_t kPow10[] = {
    1ULL,
    10ULL,
    100ULL,
    1000ULL,
    10000ULL,
    100000ULL,
    1000000ULL,
    10000000ULL,
    100000000ULL,
    1000000000ULL,
    10000000000ULL,
    100000000000ULL,
    1000000000000ULL,
    10000000000000ULL,
    100000000000000ULL,
    1000000000000000ULL,
    10000000000000000ULL,
    100000000000000000ULL,
    1000000000000000000ULL,
};

// 5^27 is the largest power of five below 2^63.
constexpr int kMaxPow5 = 27;
constexpr std::uint64_t kPow5[kMaxPow5 + 1] = {
    1ULL,
    5ULL,
    25ULL,
    125ULL,
    625ULL,
    3125ULL,
    15625ULL,
    78125ULL,
    390625ULL,
    1953125ULL,
    9765625ULL,
    48828125ULL,
    244140625ULL,
    1220703125ULL,
    6103515625ULL,
    30517578125ULL,
    152587890625ULL,
    762939453125ULL,
    3814697265625ULL,
    19073486328125ULL,
    95367431640625ULL,
    476837158203125ULL,
    2384185791015625ULL,
    11920928955078125ULL,
    59604644775390625ULL,
    298023223876953125ULL,
    1490116119384765625ULL,
    7450580596923828125ULL,
};

using u128 = unsigned __int128;

// Unsigned integer of up to 24 64-bit limbs, least significant first: enough
// for m·5^341 (the smallest subnormal) and for m·2^971 (the largest normal).
class BigInt {
public:
    explicit BigInt(std::uint64_t value) : size_(1) { limb_[0] = value; }

    void multiply(std::uint64_t factor) {
        std::uint64_t carry = 0;
        for (int i = 0; i < size_; ++i) {
            const u128 product = static_cast<u128>(limb_[i]) * factor + carry;
            limb_[i] = static_cast<std::uint64_t>(product);
            carry = static_cast<std::uint64_t>(product >> 64);
        }
        if (carry != 0) limb_[size_++] = carry;
    }

    void multiply_pow5(int k) {
        for (; k >= kMaxPow5; k -= kMaxPow5) multiply(kPow5[kMaxPow5]);
        if (k > 0) multiply(kPow5[k]);
    }

    // Division rounding down; the remainder is dropped.
    void divide(std::uint64_t divisor) {
        std::uint64_t remainder = 0;
        for (int i = size_ - 1; i >= 0; --i) {
            const u128 current = (static_cast<u128>(remainder) << 64) | limb_[i];
            limb_[i] = static_cast<std::uint64_t>(current / divisor);
            remainder = static_cast<std::uint64_t>(current % divisor);
        }
        while (size_ > 1 && limb_[size_ - 1] == 0) --size_;
    }

    void divide_pow5(int j) {
        for (; j >= kMaxPow5; j -= kMaxPow5) divide(kPow5[kMaxPow5]);
        if (j > 0) divide(kPow5[j]);
    }

    void shift_left(int bits) {
        const int whole = bits / 64;
        const int part = bits % 64;
        if (part != 0) {
            std::uint64_t carry = 0;
            for (int i = 0; i < size_; ++i) {
                const std::uint64_t next = limb_[i] >> (64 - part);
                limb_[i] = (limb_[i] << part) | carry;
                carry = next;
            }
            if (carry != 0) limb_[size_++] = carry;
        }
        if (whole != 0) {
            std::memmove(limb_ + whole, limb_, sizeof(limb_[0]) * static_cast<std::size_t>(size_));
            std::memset(limb_, 0, sizeof(limb_[0]) * static_cast<std::size_t>(whole));
            size_ += whole;
        }
    }

    // floor(value / 2^bits), for a quotient known to fit in 64 bits.
    std::uint64_t shifted_right(int bits) const {
        const int whole = bits / 64;
        const int part = bits % 64;
        if (whole >= size_) return 0;
        std::uint64_t result = limb_[whole] >> part;
        if (part != 0 && whole + 1 < size_) result |= limb_[whole + 1] << (64 - part);
        return result;
    }

private:
    std::uint64_t limb_[24];
    int size_;
};

// floor(m · 2^e · 10^k) where the quotient is known to lie below 2^61.
// Fast path: 10^k splits into 5^k and 2^k, and 5^|k| fits in 64 bits.
std::uint64_t scaled(std::uint64_t m, int e, int k) {
    if (k >= 0 && k <= kMaxPow5) {
        const u128 product = static_cast<u128>(m) * kPow5[k];
        const int shift = e + k;
        return static_cast<std::uint64_t>(shift >= 0 ? product << shift : product >> -shift);
    }
    if (k < 0 && -k <= kMaxPow5) {
        const int j = -k;
        if (e - j < 0) return (m / kPow5[j]) >> (j - e);
        if (e - j <= 127 - 53) return static_cast<std::uint64_t>((static_cast<u128>(m) << (e - j)) / kPow5[j]);
    }
    // Exact big-integer path: far from 1 in magnitude (below about 1e-10 or
    // above about 1e45), and for subnormals.
    BigInt value(m);
    if (k >= 0) {
        value.multiply_pow5(k);
        const int shift = e + k;
        if (shift >= 0) {
            value.shift_left(shift);
            return value.shifted_right(0);
        }
        return value.shifted_right(-shift);
    }
    const int j = -k;
    if (e - j > 0) value.shift_left(e - j);
    value.divide_pow5(j);
    return value.shifted_right(j - e > 0 ? j - e : 0);
}

// floor(x · log10(2)), exact for |x| below 2620.
int floor_log10_pow2(int x) { return (x * 78913) >> 18; }

// The digits of a field: `count` significant digits in `digits`, and the
// decimal exponent q with |v| = 0.D1D2... × 10^q.
struct FieldDigits {
    std::uint64_t digits;
    int count;
    int q;
};

// The two roundings of a nonzero magnitude m · 2^e to `shown` digits: first
// to 17 digits by the 18th digit alone (later digits never looked at), then
// the 17-digit string to min(shown, 16) digits. Ties are decided by the
// truncated string, so the result can differ from one correct rounding.
FieldDigits round_digits(std::uint64_t m, int e, int shown) {
    // v lies in [2^(b-1), 2^b), so q is the estimate or one more.
    const int b = 64 - std::countl_zero(m) + e;
    int q = floor_log10_pow2(b - 1) + 1;
    std::uint64_t t = scaled(m, e, 18 - q);
    if (t >= kPow10[18]) {
        t /= 10;
        ++q;
    }
    // t holds D1..D18.
    std::uint64_t s = t / 10 + (t % 10 >= 5 ? 1 : 0);
    if (s == kPow10[17]) {
        s = kPow10[16];
        ++q;
    }
    // s holds the 17-digit string; dropping its trailing zeros changes no
    // rounding below, since a missing digit reads as a zero.
    const int m_digits = shown < 16 ? shown : 16;
    std::uint64_t r = s / kPow10[17 - m_digits];
    if ((s / kPow10[16 - m_digits]) % 10 >= 5) ++r;
    if (r == kPow10[m_digits]) {
        r = kPow10[m_digits - 1];
        ++q;
    }
    return {r, m_digits, q};
}

char* put_digits(std::uint64_t value, int count, char* out) {
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + count;
}

}  // namespace

std::size_t i_field_text(std::int32_t value, char* out) {
    char* p = out;
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (value < 0) {
        *p++ = '-';
        magnitude = 0U - magnitude;
    }
    int count = 1;
    for (std::uint32_t rest = magnitude / 10; rest != 0; rest /= 10) ++count;
    p = put_digits(magnitude, count, p);
    return static_cast<std::size_t>(p - out);
}

std::size_t e_field_text(double value, int d, char* out) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((1ULL << 52) - 1);
    const std::uint64_t m = biased == 0 ? fraction : fraction | (1ULL << 52);
    const int e = biased == 0 ? -1074 : biased - 1075;

    const int shown = d + 1;
    if (biased == 0x7FF) {
        // Infinities and not-a-numbers never reach a field (the traps stop
        // the run first); should one come, it fills its text with asterisks.
        const std::size_t length = e_field_text_length(value, d);
        std::memset(out, '*', length);
        return length;
    }
    FieldDigits digits{0, 1, 1};  // zero: the digit "0" and exponent 0
    if (m != 0) digits = round_digits(m, e, shown);

    char* p = out;
    if (negative && m != 0) *p++ = '-';
    char significant[16];
    put_digits(digits.digits, digits.count, significant);
    *p++ = significant[0];
    *p++ = '.';
    std::memcpy(p, significant + 1, static_cast<std::size_t>(digits.count - 1));
    p += digits.count - 1;
    std::memset(p, '0', static_cast<std::size_t>(shown - digits.count));
    p += shown - digits.count;

    const int exponent = digits.q - 1;
    const unsigned magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
    if (magnitude <= 99) {
        *p++ = 'E';
        *p++ = exponent < 0 ? '-' : '+';
        p = put_digits(magnitude, 2, p);
    } else {
        *p++ = exponent < 0 ? '-' : '+';
        p = put_digits(magnitude, 3, p);
    }
    return static_cast<std::size_t>(p - out);
}

void i_field(std::int32_t value, int w, char* out) {
    char text[kMaxIntegerText];
    const std::size_t length = i_field_text(value, text);
    const std::size_t width = static_cast<std::size_t>(w);
    if (length > width) {
        std::memset(out, '*', width);
        return;
    }
    std::memset(out, ' ', width - length);
    std::memcpy(out + (width - length), text, length);
}

std::size_t e_field_text_length(double value, int d) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0 && (bits << 1) != 0;
    return static_cast<std::size_t>(d) + 6 + (negative ? 1 : 0);
}

void e_field(double value, int w, int d, char* out) {
    const std::size_t length = e_field_text_length(value, d);
    const std::size_t width = static_cast<std::size_t>(w);
    if (length > width) {
        std::memset(out, '*', width);
        return;
    }
    std::memset(out, ' ', width - length);
    e_field_text(value, d, out + (width - length));
}
