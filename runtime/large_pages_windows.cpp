#include "runtime/large_pages.h"

// Large pages on Windows need a privilege that ordinary accounts lack, and
// must be asked for when the memory is reserved: the arrays keep 4 KiB pages.
void prefer_large_pages(void*, std::uint64_t) {}
