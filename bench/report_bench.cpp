// Writing the results: the E-field text alone for typical, tiny and huge
// values, and whole report rows through the record writer onto /dev/null.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "reports/e_field.h"
#include "reports/format_texts.h"
#include "reports/record_writer.h"
#include "runtime/units.h"

namespace {

void e_field_text_of(benchmark::State& state, double value) {
    char text[32];
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        e_field(value, 25, 15, text);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK_CAPTURE(e_field_text_of, typical, 0.0123456789012345);
BENCHMARK_CAPTURE(e_field_text_of, tiny, 1.2345678901234e-300);
BENCHMARK_CAPTURE(e_field_text_of, huge, 1.2345678901234e300);

// One coefficient row, "(I10,4(1P,E25.15))": the report's commonest record.
void coefficient_row(benchmark::State& state) {
    open_unit(9, "/dev/null", 9);
    std::int32_t i = 0;
    for (auto _ : state) {
        begin_write(9, format_text::kCoefficientRow);
        put_integer(++i);
        put_real(2.000057338355554);
        put_real(2.0);
        put_real(4.000115571312595);
        put_real(-4.904919092594251e-06);
        end_write();
    }
    close_unit(9);
}
BENCHMARK(coefficient_row);

}  // namespace
