// One record of the history file "ucentral.dat" (unit 8), written after each
// iteration.
#pragma once
#include <cstdint>

// Iteration `it` and the change of the central volume's velocity in that
// iteration, |ucentral - u(ic)|, computed by the caller.
void write_history_record(std::int32_t it, double change);
