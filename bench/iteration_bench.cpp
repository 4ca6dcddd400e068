// One linearisation iteration, assembly then solve, per volume, on a state set
// up as a run sets it up (traps armed, first estimate the exact solution).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "driver/problem_state.h"
#include "numerics/analitica.h"
#include "numerics/coef.h"
#include "numerics/contorno.h"
#include "numerics/malha.h"
#include "numerics/solver.h"
#include "runtime/fp_environment.h"

namespace {

void iteration(benchmark::State& state) {
    start_up_floating_point();
    ProblemState s;
    s.N = static_cast<std::int32_t>(state.range(0));
    s.Re = 10.0;
    s.beta = 0.5;
    create_arrays(s);
    s.dx = 1.0 / (s.N - 2.0);
    malha(s);
    analitica(s);
    for (std::int32_t i = 1; i <= s.N; ++i) s.u(i) = s.ua(i);
    contorno(s);

    for (auto _ : state) {
        coef(s);
        solver(s.N, s.ap, s.aw, s.ae, s.bp, s.u);
        benchmark::DoNotOptimize(s.u(s.N / 2));
        benchmark::ClobberMemory();
    }
    // Seconds per volume and iteration.
    state.counters["per_volume"] = benchmark::Counter(
        static_cast<double>(s.N),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(iteration)->Arg(1002)->Arg(1000002)->Unit(benchmark::kMicrosecond);

}  // namespace
