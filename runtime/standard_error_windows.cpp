#include <windows.h>

#include "runtime/standard_error.h"

void write_standard_error(const char* bytes, std::size_t count) {
    const HANDLE standard_error = GetStdHandle(STD_ERROR_HANDLE);
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(standard_error, bytes, static_cast<DWORD>(count), &written, nullptr) ||
            written == 0) {
            return;
        }
        bytes += written;
        count -= written;
    }
}
