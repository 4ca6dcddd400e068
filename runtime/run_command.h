// Runs one command line through the command interpreter and waits for it.
#pragma once
#include <cstddef>
#include <cstdint>

// Trailing blanks of `text` (at most `length` characters) are dropped. The
// result is the interpreter's exit status, or -1 when nothing was started: a
// command over 1024 characters, an interpreter name over 260 characters, or
// an interpreter that could not be started. Never ends the run.
std::int32_t run_command(const char* text, std::size_t length);
