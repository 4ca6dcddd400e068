// Raw bytes to the standard error stream, no translation, no buffering.
#pragma once
#include <cstddef>

// Async-signal-safe; retries short writes, gives up silently on errors.
void write_standard_error(const char* bytes, std::size_t count);
