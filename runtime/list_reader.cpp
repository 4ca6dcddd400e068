#include "runtime/list_reader.h"

#include <cstddef>

#include "runtime/error_messages.h"
#include "runtime/integer_text.h"
#include "runtime/real_text.h"
#include "runtime/units.h"

namespace {

// The value text area holds 260 characters. A value needing a 260th is
// rejected at once (READ 6510) rather than read on, so that a file without
// separators cannot make the reader hold an unbounded text.
constexpr std::size_t kValueTextArea = 260;
constexpr std::size_t kMaxValueText = kValueTextArea - 1;
static_assert(kMaxValueText <= kMaxRealTextLength);

enum class Separator { Blank, Comma };

struct Text {
    char bytes[kValueTextArea];
    std::size_t length = 0;
};

// The state of the one READ statement in progress.
struct ReaderState {
    int unit = -1;
    Separator last_separator = Separator::Comma;
    std::int32_t pending_count = 0;  // values a repeat form still hands out
    Text pending;                    // their text; empty for r*
    bool record_ended = false;       // the last value was ended by its record end
    bool slash_met = false;          // the statement takes no further values
    Text value;
};

ReaderState reader;

[[noreturn]] void read_failure(int number) {
    unit_failure(reader.unit, FailureKind::Read, number);
}

// Skips a quoted text or parenthesised pair up to its closing mark (record
// ends inside are part of it), then rejects it: items here are numbers.
[[noreturn]] void reject_text(unsigned char opening) {
    const unsigned char closing = opening == '(' ? ')' : opening;
    while (unit_next_byte(reader.unit) != closing) {
    }
    read_failure(6504);
}

// The count before an asterisk. It is unsigned: a sign is not allowed in it.
std::int32_t repeat_count(const Text& text) {
    if (text.length > 0 && (text.bytes[0] == '+' || text.bytes[0] == '-')) read_failure(6101);
    std::int32_t count = 0;
    if (const int status = integer_from_text(text.bytes, text.length, count); status != 0) {
        read_failure(status);
    }
    if (count == 0) read_failure(6502);
    return count;
}

// Takes the characters of the statement's next value into `reader.value`;
// false for a null value.
bool next_value() {
    if (reader.pending_count > 0) {
        --reader.pending_count;
        reader.value = reader.pending;
        return reader.value.length > 0;
    }
    if (reader.slash_met) return false;

    Text& value = reader.value;
    value.length = 0;
    reader.record_ended = false;
    std::int32_t count = 0;  // nonzero once an asterisk has been met in this value
    while (true) {
        const unsigned char c = unit_next_byte(reader.unit);
        bool ends_value = false;
        switch (c) {
            case '\r':
                unit_skip_record(reader.unit);
                [[fallthrough]];
            case '\n':
            case ' ':
            case '\t':
                // A record end counts as a blank. Blanks before the value are
                // skipped; "r*" followed by one is a null value.
                if (value.length == 0 && count == 0) continue;
                reader.record_ended = c == '\r' || c == '\n';
                reader.last_separator = Separator::Blank;
                ends_value = true;
                break;
            case ',':
                // Blanks followed by a comma are one separator.
                if (value.length == 0 && count == 0 &&
                    reader.last_separator == Separator::Blank) {
                    reader.last_separator = Separator::Comma;
                    continue;
                }
                reader.last_separator = Separator::Comma;
                ends_value = true;
                break;
            case '/':
                reader.slash_met = true;
                ends_value = true;
                break;
            case '*':
                if (count != 0) read_failure(6503);
                count = repeat_count(value);
                value.length = 0;
                break;
            case '(':
            case '\'':
            case '"':
                if (value.length == 0) reject_text(c);
                [[fallthrough]];
            default:
                if (value.length == kMaxValueText) read_failure(error_number::kValueTooLong);
                value.bytes[value.length++] = static_cast<char>(c);
                break;
        }
        if (ends_value) break;
    }
    if (count > 1) {
        reader.pending_count = count - 1;
        reader.pending = value;
    }
    return value.length > 0;
}

}  // namespace

void begin_read(int unit) {
    reader.unit = unit;
    reader.last_separator = Separator::Comma;
    reader.pending_count = 0;
    reader.pending.length = 0;
    reader.record_ended = false;
    reader.slash_met = false;
    reader.value.length = 0;
}

void get_integer(std::int32_t& item) {
    if (!next_value()) return;
    std::int32_t converted = 0;
    if (const int status = integer_from_text(reader.value.bytes, reader.value.length, converted);
        status != 0) {
        read_failure(status);
    }
    item = converted;
}

void get_real(double& item) {
    if (!next_value()) return;
    double converted = 0.0;
    if (const int status = real_from_text(reader.value.bytes, reader.value.length, converted);
        status != 0) {
        read_failure(status);
    }
    item = converted;
}

void end_read() {
    if (!reader.record_ended) unit_skip_record(reader.unit);
    reader.pending_count = 0;
    reader.slash_met = false;
    reader.unit = -1;
}
