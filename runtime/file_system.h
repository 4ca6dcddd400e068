// The platform's file calls as the units need them. Every call that can fail
// returns 0 or the failure number of its statement for the reason the system
// gave; the units turn that number into the failure stop.
#pragma once
#include <cstddef>
#include <cstdint>

using FileHandle = std::intptr_t;

struct OpenedFile {
    FileHandle handle = -1;
    bool created = false;  // the file did not exist and was created empty
};

// Tests whether the file exists, creates a missing one exclusively, and opens
// it shared for reading and writing, else reading only, else writing only.
// Returns 0 or an OPEN failure number.
int open_shared(const char* name, OpenedFile& opened);

// Reads up to `capacity` bytes; `got` is 0 at the end of the file.
// Returns 0 or READ 6500.
int read_bytes(FileHandle handle, char* buffer, std::size_t capacity, std::size_t& got);

// Writes all `count` bytes. Returns 0 or a WRITE failure number.
int write_bytes(FileHandle handle, const char* bytes, std::size_t count);

// Removes everything from `position` to the end of the file and moves there.
// A device such as /dev/null has no length to cut and is left as it is.
// Returns 0 or a WRITE failure number.
int cut_at(FileHandle handle, std::uint64_t position);

// Closes the file. Returns 0 or a CLOSE failure number.
int close_file(FileHandle handle);
