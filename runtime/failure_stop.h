// The one way a run ends: the failure stop with its message frame, and the
// normal end. Both close every connected unit first so that records already
// written reach their files.
#pragma once

enum class FailureKind { Close, Write, Open, Read, Allocation, Math };

// Writes the frame for `number` of `kind` to standard error and ends the
// process with status 1. `file_name` is the name connected to the unit for the
// four unit kinds (ignored otherwise); `message` may be empty. While the
// termination processing is already running, it writes the frame and returns.
// Async-signal-safe: no allocation, plain writes only.
void failure_stop(int number, FailureKind kind, const char* file_name, const char* message);

// Ends a run that reached the end of the driver: closes the units, status 0,
// or status 1 when closing a unit failed (its frame is written).
[[noreturn]] void normal_end();

// True once the termination processing has started.
bool ending();
