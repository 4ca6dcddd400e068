// Arbitrary format texts and items through the record writer onto /dev/null:
// every statement either writes its records or ends in a WRITE failure stop
// with one of the writer's own numbers; never undefined behaviour.
//
// Input: byte 0 = number of items (low 4 bits); then per item one type byte
// (even: integer from the next 4 bytes, odd: real from the next 8 bytes);
// the rest is the format text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "reports/format.h"
#include "reports/record_writer.h"
#include "runtime/error_messages.h"
#include "runtime/units.h"
#include "tests/fuzz/fuzz_failure_stop.h"

namespace {

struct Item {
    bool real;
    std::int32_t integer;
    double value;
};

bool is_writer_failure(int number) {
    switch (number) {
        case error_number::kFormatMalformed:
        case error_number::kFormatIntegerForReal:
        case error_number::kFormatRealForInteger:
        case error_number::kFormatNoDescriptor:
        case error_number::kFormatUnsupported:
        case error_number::kRecordTooLong:
            return true;
        default:
            return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::size_t next = 1;
    const int count = data[0] & 0x0F;
    Item items[16];
    int taken = 0;
    for (; taken < count && next < size; ++taken) {
        Item& item = items[taken];
        item.real = (data[next++] & 1) != 0;
        const std::size_t width = item.real ? sizeof item.value : sizeof item.integer;
        if (size - next < width) break;
        if (item.real) {
            std::memcpy(&item.value, data + next, width);
        } else {
            std::memcpy(&item.integer, data + next, width);
        }
        next += width;
    }
    const std::string text(reinterpret_cast<const char*>(data + next), size - next);
    Format* format = new Format(text.c_str());

    if (setjmp(fuzz_escape) != 0) {
        delete format;
        if (fuzz_stop.kind != FailureKind::Write || !is_writer_failure(fuzz_stop.number)) {
            std::abort();
        }
        return 0;
    }
    open_unit(7, "/dev/null", 9);
    begin_write(7, *format);
    for (int i = 0; i < taken; ++i) {
        if (items[i].real) {
            put_real(items[i].value);
        } else {
            put_integer(items[i].integer);
        }
    }
    end_write();
    close_unit(7);
    delete format;
    return 0;
}
