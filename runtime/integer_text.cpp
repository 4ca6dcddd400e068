#include "runtime/integer_text.h"

#include <cstring>

namespace {

constexpr char kNul = '\0';
constexpr char kCtrlZ = '\x1a';
constexpr std::uint64_t kSignedMax = 2147483647u;
constexpr std::uint64_t kUnsignedMax = 4294967295u;
constexpr std::uint64_t kSaturated = kUnsignedMax + 1;  // "too large", whatever the digits

// The worth of a digit or letter, or -1 for anything else.
int digit_worth(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return -1;
}

// Accumulates one digit, saturating once the value is beyond any limit so
// that long digit strings cannot wrap.
std::uint64_t accumulate(std::uint64_t value, unsigned base, int worth) {
    if (value >= kSaturated) return kSaturated;
    const std::uint64_t next = value * base + static_cast<unsigned>(worth);
    return next > kSaturated ? kSaturated : next;
}

}  // namespace

int integer_from_text(const char* text, std::size_t length, std::int32_t& value) {
    // A NUL byte ends the text; so does a Ctrl-Z before any number sign.
    std::size_t end = 0;
    bool number_sign_seen = false;
    while (end < length) {
        const char c = text[end];
        if (c == kNul || (c == kCtrlZ && !number_sign_seen)) break;
        if (c == '#') number_sign_seen = true;
        ++end;
    }

    static constexpr char kMinimum[] = "-2147483648";
    if (end == sizeof(kMinimum) - 1 && std::memcmp(text, kMinimum, end) == 0) {
        value = INT32_MIN;
        return 0;
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // Decimal digits; a number sign turns them into the base.
    std::uint64_t magnitude = 0;
    unsigned base = 10;
    bool based = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c == '#') {
            if (based) return 6302;
            if (magnitude == 0) {
                base = 16;
            } else if (magnitude < 2 || magnitude > 36) {
                return 6303;
            } else {
                base = static_cast<unsigned>(magnitude);
            }
            based = true;
            magnitude = 0;
            continue;
        }
        const int worth = digit_worth(c);
        if (worth < 0 || worth >= static_cast<int>(base)) return 6101;
        magnitude = accumulate(magnitude, base, worth);
    }

    // Base 10 (written or implied) is signed; other bases give a bit pattern.
    const std::uint64_t limit = base == 10 ? kSignedMax : kUnsignedMax;
    if (magnitude > limit) return 6100;
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<std::int32_t>(bits);
    return 0;
}
