// The program's own exponential against the C library's, over arguments in
// [-3, 7] such as the flow model's coefficients meet.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "runtime/exponential.h"

namespace {

std::vector<double> arguments() {
    std::vector<double> x(4096);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = -3.0 + 10.0 * static_cast<double>(i) / static_cast<double>(x.size());
    }
    return x;
}

template <double (*Function)(double)>
void over_arguments(benchmark::State& state) {
    const std::vector<double> x = arguments();
    for (auto _ : state) {
        double sum = 0.0;
        for (double v : x) sum += Function(v);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(x.size()));
}

double library_exp(double x) { return std::exp(x); }

}  // namespace

BENCHMARK(over_arguments<exponential>)->Name("exponential");
BENCHMARK(over_arguments<library_exp>)->Name("library_exp");
