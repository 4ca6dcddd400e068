// The program entry: set up the floating-point environment, run one
// computation, end normally.
#include "runtime/failure_stop.h"
#include "runtime/fp_environment.h"

int main() {
    start_up_floating_point();
    normal_end();
}
