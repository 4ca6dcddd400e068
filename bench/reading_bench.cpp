// Reading the parameters: one free-format real value, as the text
// conversion alone and as a whole READ statement of one value from a file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

#include "runtime/list_reader.h"
#include "runtime/real_text.h"
#include "runtime/units.h"

namespace {

// Values as parameter files hold them.
const char* const kTexts[] = {"10.0", "0.5", "1.0", "-40.0", "1.5E-3", "354.89", "0.123456789012345678"};
constexpr std::size_t kTextCount = sizeof kTexts / sizeof kTexts[0];

void real_conversion(benchmark::State& state) {
    std::size_t k = 0;
    double value = 0.0;
    for (auto _ : state) {
        const char* text = kTexts[k];
        benchmark::DoNotOptimize(real_from_text(text, std::strlen(text), value));
        benchmark::DoNotOptimize(value);
        k = k + 1 == kTextCount ? 0 : k + 1;
    }
}
BENCHMARK(real_conversion);

// A file of records "value   comment", read one statement per record; at
// its end the unit is connected again, once every kRecords statements.
void read_statement(benchmark::State& state) {
    constexpr int kRecords = 100000;
    const std::string name = "reading_bench_" + std::to_string(::getpid()) + ".txt";
    {
        std::FILE* file = std::fopen(name.c_str(), "wb");
        for (int r = 0; r < kRecords; ++r) {
            std::fprintf(file, "%-8s Re     numero de Reynolds\r\n", kTexts[r % kTextCount]);
        }
        std::fclose(file);
    }
    constexpr int kUnit = 5;
    int left = 0;
    double value = 0.0;
    for (auto _ : state) {
        if (left == 0) {
            close_unit(kUnit);
            open_unit(kUnit, name.c_str(), name.size());
            left = kRecords;
        }
        begin_read(kUnit);
        get_real(value);
        end_read();
        benchmark::DoNotOptimize(value);
        --left;
    }
    close_unit(kUnit);
    std::remove(name.c_str());
}
BENCHMARK(read_statement);

}  // namespace
