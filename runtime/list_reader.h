// Free-format reading: one READ statement is begin_read, one get_integer or
// get_real per item, then end_read.
#pragma once
#include <cstdint>

// Starts a READ statement on the connected `unit` at its current position.
void begin_read(int unit);

// Reads the statement's next value into the item; a null value leaves the
// item as it is. Every failure is a READ failure stop on the unit.
void get_integer(std::int32_t& item);
void get_real(double& item);

// Ends the statement: the unit is left at the start of the record after the
// one that held the last value. A pending repeat is dropped.
void end_read();
