// A format text of the fixed-column writer, parsed once on first use and kept.
//
// Notation: literals between apostrophes ('' stands for one apostrophe), "/"
// and n/, Tc, nP, Iw, Ew.d and groups n( ... ) nested up to 16 levels inside
// the outer parentheses. Elements are separated by commas, blanks between
// elements are ignored, a descriptor is written without blanks, and nothing
// after the closing ")" of the outer parenthesis is read.
//
// Faults, as error numbers: any other letter or character, a missing number,
// a zero where at least 1 is needed, a missing comma, an unclosed literal or
// parenthesis, nesting deeper than 16 levels: kFormatMalformed. A number above
// 32767 (no record may be longer, and it bounds what one element can ask):
// kFormatUnsupported.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kMaxGroupDepth = 16;
inline constexpr std::int32_t kMaxFormatNumber = 32767;

enum class FormatOp : std::uint8_t {
    Literal,     // a: offset into the literal bytes, b: length
    RecordEnd,   // a: how many records end
    Tab,         // a: target column
    Scale,       // a: scale factor
    IField,      // a: w
    EField,      // a: w, b: d
    GroupStart,  // a: repeat count, b: index of the matching GroupEnd
    GroupEnd,    // a: index of the matching GroupStart
    FormatEnd,   // the closing ")" of the outer parenthesis
};

struct FormatElement {
    FormatOp op;
    std::int32_t a = 0;
    std::int32_t b = 0;
};

struct ParsedFormat {
    std::vector<FormatElement> elements;  // ends with FormatEnd
    std::string literals;                 // literal bytes, apostrophes undoubled
    std::int32_t reversion = 0;           // where a pass restarts at the final ")"
    bool reversion_has_data = false;      // a data descriptor lies from there to the end
};

class Format {
public:
    // `text` must outlive the object; it is read only up to its closing ")".
    constexpr explicit Format(const char* text) : text_(text) {}
    Format(const Format&) = delete;
    Format& operator=(const Format&) = delete;

    const char* text() const { return text_; }

    // The parsed form, made on the first call; nullptr when the text breaks
    // the notation, with the error number in `error`.
    const ParsedFormat* parsed(int& error) const;

private:
    const char* text_;
    mutable bool done_ = false;
    mutable int error_ = 0;
    mutable ParsedFormat parsed_;
};

// Parses `text` into `out`; 0 or the error number.
int parse_format(const char* text, ParsedFormat& out);
