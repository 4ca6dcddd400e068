#include "numerics/malha.h"

void malha(ProblemState& s) {
    s.x(1) = 0.0;
    // Each centre from its own index, never from its neighbour, so no error
    // accumulates along the grid.
    for (std::int32_t i = 2; i <= s.N - 1; ++i) {
        s.x(i) = (static_cast<double>(i) - 1.5) * s.dx;
    }
    s.x(s.N) = 1.0;
}
