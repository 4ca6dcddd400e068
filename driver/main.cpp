// The program entry: set up the floating-point environment, run one
// computation, end normally.
#include "driver/principal.h"
#include "driver/problem_state.h"
#include "runtime/failure_stop.h"
#include "runtime/fp_environment.h"

int main() {
    start_up_floating_point();
    ProblemState state;
    principal(state);
    normal_end();
}
