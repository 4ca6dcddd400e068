// The fixed-column record writer: one write statement at a time turns a
// format and its items into records on a unit, each ended by CR LF.
//
// Calling order: begin_write, one put per item in the order the format takes
// them, end_write. Faults end the run with a WRITE failure stop on the
// statement's unit: a format that breaks the notation, an integer meeting an
// E field or a real meeting an I field, an item with no data descriptor left,
// an E field under a scale factor other than 1 (kFormatUnsupported), and a
// record longer than kMaxRecordLength columns.
#pragma once
#include <cstdint>

#include "reports/format.h"

inline constexpr std::int32_t kMaxRecordLength = 32767;

// Starts a statement on `unit` (connected for writing): parses the format on
// its first use, applies the unit's cut rule, and carries out the format up
// to its first data descriptor.
void begin_write(int unit, const Format& format);

// The next item.
void put_integer(std::int32_t value);
void put_real(double value);

// Carries out the format after the last item up to the next data descriptor
// or the final ")", and ends the current record.
void end_write();
