#include "driver/problem_state.h"

void create_arrays(ProblemState& s) {
    s.ae = RealArray(s.N);
    s.ap = RealArray(s.N);
    s.bp = RealArray(s.N);
    s.u = RealArray(s.N);
    s.ua = RealArray(s.N);
    s.x = RealArray(s.N);
    s.aw = RealArray(s.N);
    s.S = RealArray(s.N);
}
