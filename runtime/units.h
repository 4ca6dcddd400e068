// Numbered connections to text files: opening and closing, the record source
// for free-format reading, and the byte sink for fixed-column writing.
#pragma once
#include <cstddef>

#include "runtime/failure_stop.h"

inline constexpr int kMaxUnit = 99;            // units 0 to 99
inline constexpr std::size_t kMaxFileName = 1024;
inline constexpr std::size_t kUnitBufferSize = 1024;

// Connects `unit` to the file (an OPEN failure stop when that cannot be done).
void open_unit(int unit, const char* name, std::size_t length);

// Writes out buffered output, closes the file and keeps it, frees the unit.
// Nothing happens for a unit that is not connected.
void close_unit(int unit);

// Termination processing: closes every connected unit in number order. A
// failure while closing is reported (its frame) and the rest are abandoned.
// Async-signal-safe.
void close_all_units();

// The failure stop for a statement on `unit`, naming its file.
[[noreturn]] void unit_failure(int unit, FailureKind kind, int number);

// Record source: the next byte of the unit's records. After a last record
// without a line end one line feed is supplied; past that, READ 6501.
unsigned char unit_next_byte(int unit);

// Record source: moves to just after the next line feed (or to the end).
void unit_skip_record(int unit);

// Starts a WRITE statement: cuts an uncut connection at its position.
void unit_begin_write(int unit);

// Appends record characters, passing them to the file in 1024-byte blocks.
void unit_write(int unit, const char* bytes, std::size_t count);

// Ends the record being written with CR LF.
void unit_end_record(int unit);
