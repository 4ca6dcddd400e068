#include "numerics/contorno.h"

void contorno(ProblemState& s) {
    s.aw(1) = 0.0;
    s.ae(1) = -1.0;
    s.ap(1) = 1.0;
    s.bp(1) = 0.0;

    s.aw(s.N) = -1.0;
    s.ae(s.N) = 0.0;
    s.ap(s.N) = 1.0;
    s.bp(s.N) = 2.0;
}
