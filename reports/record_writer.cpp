#include "reports/record_writer.h"

#include <cstddef>
#include <cstring>

#include "reports/e_field.h"
#include "runtime/error_messages.h"
#include "runtime/units.h"

namespace {

// The state of the one statement in progress. Static storage: the history
// record is written once per iteration, and nothing is allocated per statement.
struct Statement {
    int unit = 0;
    const ParsedFormat* format = nullptr;
    std::int32_t next = 0;     // element carried out next; a data descriptor or FormatEnd when waiting
    std::int32_t column = 1;   // where the next character goes
    std::int32_t length = 0;   // furthest column holding a character
    std::int64_t pending = 0;  // blanks owed before the next character
    std::int32_t scale = 0;

    struct Pass {
        std::int32_t start;      // index of the GroupStart
        std::int32_t remaining;  // passes left, the current one included
    };
    Pass groups[kMaxGroupDepth];
    int depth = 0;
};

Statement statement;
char record[kMaxRecordLength];

[[noreturn]] void fail(int number) { unit_failure(statement.unit, FailureKind::Write, number); }

void end_record() {
    unit_write(statement.unit, record, static_cast<std::size_t>(statement.length));
    unit_end_record(statement.unit);
    statement.column = 1;
    statement.length = 0;
    statement.pending = 0;
}

// Writes the pending blanks and returns where `count` (at least 1) more
// characters go; commit() then moves past them. Characters written over
// earlier ones (after a tab back) replace them.
char* reserve(std::size_t count) {
    const std::int64_t last = statement.column + statement.pending + static_cast<std::int64_t>(count) - 1;
    if (last > kMaxRecordLength) fail(error_number::kRecordTooLong);
    std::memset(record + statement.column - 1, ' ', static_cast<std::size_t>(statement.pending));
    statement.column += static_cast<std::int32_t>(statement.pending);
    statement.pending = 0;
    return record + statement.column - 1;
}

void commit(std::size_t count) {
    statement.column += static_cast<std::int32_t>(count);
    if (statement.column - 1 > statement.length) statement.length = statement.column - 1;
}

void write_text(const char* text, std::size_t count) {
    // Pending blanks are written only when a character follows them.
    if (count == 0) return;
    std::memcpy(reserve(count), text, count);
    commit(count);
}

void write_asterisks(std::int32_t width) {
    const std::size_t count = static_cast<std::size_t>(width);
    std::memset(reserve(count), '*', count);
    commit(count);
}

void tab(std::int32_t target) {
    if (target > statement.length) {
        // Blanks up to the target are owed, and dropped if the record ends first.
        statement.column = statement.length + 1;
        statement.pending = target - statement.length - 1;
    } else {
        statement.column = target;
        statement.pending = 0;
    }
}

// Carries out elements up to the next data descriptor or the final ")".
void advance() {
    const ParsedFormat& format = *statement.format;
    while (true) {
        const FormatElement& element = format.elements[static_cast<std::size_t>(statement.next)];
        switch (element.op) {
            case FormatOp::IField:
            case FormatOp::EField:
            case FormatOp::FormatEnd:
                return;
            case FormatOp::Literal:
                write_text(format.literals.data() + element.a, static_cast<std::size_t>(element.b));
                break;
            case FormatOp::RecordEnd:
                for (std::int32_t i = 0; i < element.a; ++i) end_record();
                break;
            case FormatOp::Tab:
                tab(element.a);
                break;
            case FormatOp::Scale:
                statement.scale = element.a;
                break;
            case FormatOp::GroupStart:
                statement.groups[statement.depth++] = {statement.next, element.a};
                break;
            case FormatOp::GroupEnd: {
                Statement::Pass& pass = statement.groups[statement.depth - 1];
                if (--pass.remaining > 0) {
                    statement.next = pass.start + 1;
                    continue;
                }
                --statement.depth;
                break;
            }
        }
        ++statement.next;
    }
}

// The data descriptor that takes the next item. At the final ")" with an
// item left, the record ends and the format restarts at its reversion point.
const FormatElement& descriptor_for_item() {
    const ParsedFormat& format = *statement.format;
    if (format.elements[static_cast<std::size_t>(statement.next)].op == FormatOp::FormatEnd) {
        if (!format.reversion_has_data) fail(error_number::kFormatNoDescriptor);
        end_record();
        statement.next = format.reversion;
        advance();
    }
    return format.elements[static_cast<std::size_t>(statement.next)];
}

void finish_item() {
    ++statement.next;
    advance();
}

}  // namespace

void begin_write(int unit, const Format& format) {
    statement.unit = unit;
    int error = 0;
    const ParsedFormat* parsed = format.parsed(error);
    if (parsed == nullptr) fail(error);
    unit_begin_write(unit);
    statement.format = parsed;
    statement.next = 0;
    statement.column = 1;
    statement.length = 0;
    statement.pending = 0;
    statement.scale = 0;
    statement.depth = 0;
    advance();
}

void put_integer(std::int32_t value) {
    const FormatElement& field = descriptor_for_item();
    if (field.op != FormatOp::IField) fail(error_number::kFormatIntegerForReal);
    char text[kMaxIntegerText];
    const std::size_t length = i_field_text(value, text);
    if (length > static_cast<std::size_t>(field.a)) {
        write_asterisks(field.a);
    } else {
        statement.pending += field.a - static_cast<std::int32_t>(length);
        write_text(text, length);
    }
    finish_item();
}

void put_real(double value) {
    const FormatElement& field = descriptor_for_item();
    if (field.op != FormatOp::EField) fail(error_number::kFormatRealForInteger);
    if (statement.scale != 1) fail(error_number::kFormatUnsupported);
    const std::size_t length = e_field_text_length(value, field.b);
    if (length > static_cast<std::size_t>(field.a)) {
        write_asterisks(field.a);
    } else {
        statement.pending += field.a - static_cast<std::int32_t>(length);
        commit(e_field_text(value, field.b, reserve(length)));
    }
    finish_item();
}

void end_write() { end_record(); }
