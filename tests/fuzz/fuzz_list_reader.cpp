// Arbitrary parameter-file bytes read the way the program reads them: four
// READ statements. Every outcome must be four values or a READ failure whose
// number belongs to the reader or the record source.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/list_reader.h"
#include "runtime/units.h"
#include "tests/fuzz/fuzz_failure_stop.h"

namespace {

const std::string& parameters_path() {
    // In memory where the system has it: one file is written per input.
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = folder + "/burgers-fuzz-reader-" + std::to_string(getpid());
    static const bool removed_at_exit = std::atexit([] { unlink(path.c_str()); }) == 0;
    (void)removed_at_exit;
    return path;
}

bool is_read_failure(int number) {
    switch (number) {
        case 6100: case 6101: case 6102: case 6103: case 6302: case 6303:
        case 6500: case 6501: case 6502: case 6503: case 6504: case 6510:
            return true;
        default:
            return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = parameters_path();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    std::int32_t N = 0, itmax = 0;
    double Re = 0.0, beta = 0.0;
    if (setjmp(fuzz_escape) != 0) {
        if (fuzz_stop.kind != FailureKind::Read || !is_read_failure(fuzz_stop.number)) std::abort();
        return 0;
    }
    open_unit(5, path.c_str(), path.size());
    begin_read(5); get_integer(N); end_read();
    begin_read(5); get_real(Re); end_read();
    begin_read(5); get_real(beta); end_read();
    begin_read(5); get_integer(itmax); end_read();
    close_unit(5);
    return 0;
}
