// How much memory the machine can give a process at most: physical memory
// plus swap.
#pragma once
#include <cstdint>

std::uint64_t machine_memory();
