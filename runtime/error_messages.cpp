#include "runtime/error_messages.h"

namespace {

struct Entry {
    int number;
    const char* text;
};

constexpr Entry kMessages[] = {
    {6100, "integer value out of range"},
    {6101, "invalid character in integer value"},
    {6102, "real value out of range"},
    {6103, "invalid character in real value"},
    {6302, "second number sign in based integer"},
    {6303, "base out of range in based integer"},
    {6412, "invalid file name or open request"},
    {6413, "file already connected to another unit"},
    {6414, "access denied"},
    {6415, "file already exists"},
    {6416, "file not found"},
    {6417, "too many open files"},
    {error_number::kOpenOther, "file cannot be opened"},
    {6421, "write refused: access denied or region locked"},
    {6422, "disk full"},
    {error_number::kWriteOther, "write failed"},
    {6500, "read failed"},
    {6501, "end of file"},
    {6502, "zero repeat count"},
    {6503, "second repeat count"},
    {6504, "text or complex value for a number item"},
    {error_number::kValueTooLong, "value longer than 259 characters"},
    {error_number::kUnitNotConnected, "unit not connected"},
    {error_number::kFormatMalformed, "malformed format"},
    {error_number::kFormatIntegerForReal, "integer item for a real field"},
    {error_number::kFormatRealForInteger, "real item for an integer field"},
    {error_number::kFormatNoDescriptor, "item with no field in format"},
    {error_number::kFormatUnsupported, "format element not supported"},
    {error_number::kRecordTooLong, "record longer than 32767 characters"},
    {error_number::kAllocation, "not enough memory for array"},
    {error_number::kTooFewVolumes, "N below 1: no control volume to allocate"},
};

}  // namespace

const char* error_message(int number) {
    for (const Entry& entry : kMessages) {
        if (entry.number == number) return entry.text;
    }
    return "";
}
