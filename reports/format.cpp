#include "reports/format.h"

#include "runtime/error_messages.h"

namespace {

class Parser {
public:
    Parser(const char* text, ParsedFormat& out) : p_(text), out_(out) {}

    int run() {
        out_.elements.clear();
        out_.literals.clear();
        out_.reversion = 0;
        if (*p_ != '(') return error_number::kFormatMalformed;
        ++p_;
        if (!list(0)) return error_;
        out_.elements.push_back({FormatOp::FormatEnd});
        out_.reversion_has_data = false;
        for (std::size_t i = static_cast<std::size_t>(out_.reversion); i < out_.elements.size(); ++i) {
            const FormatOp op = out_.elements[i].op;
            if (op == FormatOp::IField || op == FormatOp::EField) out_.reversion_has_data = true;
        }
        return 0;
    }

private:
    bool fail(int number) {
        error_ = number;
        return false;
    }

    void skip_blanks() {
        while (*p_ == ' ') ++p_;
    }

    static bool is_digit(char c) { return c >= '0' && c <= '9'; }

    // An unsigned number; `least` is its smallest allowed value.
    bool number(std::int32_t least, std::int32_t& value) {
        if (!is_digit(*p_)) return fail(error_number::kFormatMalformed);
        bool too_big = false;
        value = 0;
        for (; is_digit(*p_); ++p_) {
            value = value * 10 + (*p_ - '0');
            if (value > kMaxFormatNumber) {
                too_big = true;
                value = kMaxFormatNumber;
            }
        }
        if (too_big) return fail(error_number::kFormatUnsupported);
        if (value < least) return fail(error_number::kFormatMalformed);
        return true;
    }

    void add(FormatOp op, std::int32_t a = 0, std::int32_t b = 0) { out_.elements.push_back({op, a, b}); }

    // The elements up to and including the ")" closing a list at `depth`.
    bool list(int depth) {
        skip_blanks();
        if (*p_ == ')') {
            ++p_;
            return true;
        }
        while (true) {
            skip_blanks();
            if (!element(depth)) return false;
            skip_blanks();
            if (*p_ == ',') {
                ++p_;
                continue;
            }
            if (*p_ == ')') {
                ++p_;
                return true;
            }
            return fail(error_number::kFormatMalformed);
        }
    }

    bool literal() {
        const std::size_t start = out_.literals.size();
        ++p_;
        while (true) {
            if (*p_ == '\0') return fail(error_number::kFormatMalformed);
            if (*p_ == '\'') {
                if (p_[1] != '\'') break;
                ++p_;
            }
            out_.literals.push_back(*p_++);
        }
        ++p_;
        const std::size_t length = out_.literals.size() - start;
        add(FormatOp::Literal, static_cast<std::int32_t>(start), static_cast<std::int32_t>(length));
        return true;
    }

    bool group(int depth, std::int32_t count) {
        if (depth + 1 > kMaxGroupDepth) return fail(error_number::kFormatMalformed);
        ++p_;
        const std::int32_t start = static_cast<std::int32_t>(out_.elements.size());
        if (depth == 0) out_.reversion = start;
        add(FormatOp::GroupStart, count);
        if (!list(depth + 1)) return false;
        out_.elements[static_cast<std::size_t>(start)].b = static_cast<std::int32_t>(out_.elements.size());
        add(FormatOp::GroupEnd, start);
        return true;
    }

    bool element(int depth) {
        std::int32_t n = 0;
        std::int32_t d = 0;
        switch (*p_) {
            case '\'':
                return literal();
            case '/':
                ++p_;
                add(FormatOp::RecordEnd, 1);
                return true;
            case '(':
                return group(depth, 1);
            case 'T':
                ++p_;
                if (!number(1, n)) return false;
                add(FormatOp::Tab, n);
                return true;
            case 'I':
                ++p_;
                if (!number(1, n)) return false;
                add(FormatOp::IField, n);
                return true;
            case 'E':
                ++p_;
                if (!number(1, n)) return false;
                if (*p_ != '.') return fail(error_number::kFormatMalformed);
                ++p_;
                if (!number(0, d)) return false;
                add(FormatOp::EField, n, d);
                return true;
            default:
                break;
        }
        // A number in front: n/, nP or n(.
        if (!number(1, n)) return false;
        switch (*p_) {
            case '/':
                ++p_;
                add(FormatOp::RecordEnd, n);
                return true;
            case 'P':
                ++p_;
                add(FormatOp::Scale, n);
                return true;
            case '(':
                return group(depth, n);
            default:
                return fail(error_number::kFormatMalformed);
        }
    }

    const char* p_;
    ParsedFormat& out_;
    int error_ = 0;
};

}  // namespace

int parse_format(const char* text, ParsedFormat& out) { return Parser(text, out).run(); }

const ParsedFormat* Format::parsed(int& error) const {
    if (!done_) {
        error_ = parse_format(text_, parsed_);
        done_ = true;
    }
    error = error_;
    return error_ == 0 ? &parsed_ : nullptr;
}
