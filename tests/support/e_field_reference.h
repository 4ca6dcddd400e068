// A slow, obviously correct E-field text for checking the fast one: the exact
// decimal expansion of the double as a digit string, then both roundings done
// on that string.
#pragma once
#include <cstdint>
#include <string>

// The exact decimal expansion of a nonzero |v| = 0.D1D2... x 10^q, for
// v = m * 2^e.
struct Expansion {
    std::string digits;
    int q;
};

Expansion exact_expansion(std::uint64_t m, int e);

// The Ew.d text (scale factor 1, not justified) of the double with these bits.
// `known` is the expansion of its magnitude when the caller has made it already.
std::string reference_e_text(std::uint64_t bits, int d, const Expansion* known = nullptr);
