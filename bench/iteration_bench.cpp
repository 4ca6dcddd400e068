// One linearisation iteration per row, against the floor it can reach: the
// bare chains of the tridiagonal recurrence alone. And what keeping the
// solver's work array saves.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "driver/problem_state.h"
#include "numerics/analitica.h"
#include "numerics/coef.h"
#include "numerics/contorno.h"
#include "numerics/fonte.h"
#include "numerics/iteracao.h"
#include "numerics/malha.h"
#include "numerics/solver.h"
#include "runtime/fp_environment.h"

namespace {

// A state as a run has it before its first iteration: traps armed, the
// first estimate the exact solution, the source terms computed.
ProblemState run_state(std::int32_t N) {
    start_up_floating_point();
    ProblemState s;
    s.N = N;
    s.Re = 10.0;
    s.beta = 0.5;
    create_arrays(s);
    s.dx = 1.0 / (s.N - 2.0);
    malha(s);
    analitica(s);
    for (std::int32_t i = 1; i <= s.N; ++i) s.u(i) = s.ua(i);
    contorno(s);
    fonte(s);
    return s;
}

void per_row(benchmark::State& state, std::int64_t rows) {
    state.counters["per_row"] = benchmark::Counter(
        static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// (c) What the run does per iteration: coef and solver in one sweep.
void iteration(benchmark::State& state) {
    ProblemState s = run_state(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        iteracao(s);
        benchmark::ClobberMemory();
    }
    per_row(state, s.N);
}
BENCHMARK(iteration)->Arg(101)->Arg(1002)->Arg(100002)->Arg(1000002)->Unit(benchmark::kMicrosecond);

// The same iteration as two passes, coef then solver, for comparison.
void coef_then_solver(benchmark::State& state) {
    ProblemState s = run_state(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        coef(s);
        solver(s.N, s.ap, s.aw, s.ae, s.bp, s.u);
        benchmark::ClobberMemory();
    }
    per_row(state, s.N);
}
BENCHMARK(coef_then_solver)->Arg(1002)->Arg(100002)->Arg(1000002)->Unit(benchmark::kMicrosecond);

// (d) The floor: the forward sweep's chain, then the back substitution's,
// in the solver's operation order, on rows assembled before the timed loop,
// with P and Q in arrays of their own and carried in registers.
void recurrences(benchmark::State& state) {
    ProblemState s = run_state(static_cast<std::int32_t>(state.range(0)));
    coef(s);
    const auto n = static_cast<std::size_t>(s.N);
    const double* ap = &s.ap(1);
    const double* aw = &s.aw(1);
    const double* ae = &s.ae(1);
    const double* bp = &s.bp(1);
    double* u = &s.u(1);
    std::vector<double> P(n), Q(n);
    for (auto _ : state) {
        double p = ae[0] / ap[0];
        double q = bp[0] / ap[0];
        P[0] = p;
        Q[0] = q;
        for (std::size_t i = 1; i < n; ++i) {
            const double d = ap[i] - (p * aw[i]);
            p = ae[i] / d;
            q = ((q * aw[i]) + bp[i]) / d;
            P[i] = p;
            Q[i] = q;
        }
        double east = q;
        u[n - 1] = east;
        for (std::size_t i = n - 1; i-- > 0;) {
            east = (P[i] * east) + Q[i];
            u[i] = east;
        }
        benchmark::ClobberMemory();
    }
    per_row(state, s.N);
}
BENCHMARK(recurrences)->Arg(101)->Arg(1002)->Arg(100002)->Arg(1000002)->Unit(benchmark::kMicrosecond);

// The solver as the run has it (its work array kept from call to call, Q
// kept in u) against a straightforward one that creates Q and P on every
// call and releases them: with the C library's default settings the two
// released blocks go back to the system, and each call takes a page fault
// for every 4 KiB of them again.
void solver_kept(benchmark::State& state) {
    ProblemState s = run_state(static_cast<std::int32_t>(state.range(0)));
    coef(s);
    for (auto _ : state) {
        solver(s.N, s.ap, s.aw, s.ae, s.bp, s.u);
        benchmark::ClobberMemory();
    }
    per_row(state, s.N);
}
BENCHMARK(solver_kept)->Arg(1000002)->Unit(benchmark::kMicrosecond);

void solver_released(benchmark::State& state) {
    ProblemState s = run_state(static_cast<std::int32_t>(state.range(0)));
    coef(s);
    const std::int32_t N = s.N;
    for (auto _ : state) {
        RealArray Q(N);
        RealArray P(N);
        P(1) = s.ae(1) / s.ap(1);
        Q(1) = s.bp(1) / s.ap(1);
        for (std::int32_t i = 2; i <= N; ++i) {
            const double d = s.ap(i) - (P(i - 1) * s.aw(i));
            P(i) = s.ae(i) / d;
            Q(i) = ((Q(i - 1) * s.aw(i)) + s.bp(i)) / d;
        }
        s.u(N) = Q(N);
        for (std::int32_t i = N - 1; i >= 1; --i) s.u(i) = (P(i) * s.u(i + 1)) + Q(i);
        Q = RealArray();
        P = RealArray();
        benchmark::ClobberMemory();
    }
    per_row(state, s.N);
}
BENCHMARK(solver_released)->Arg(1000002)->Unit(benchmark::kMicrosecond);

}  // namespace
