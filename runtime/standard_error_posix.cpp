#include <cerrno>
#include <unistd.h>

#include "runtime/standard_error.h"

void write_standard_error(const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(STDERR_FILENO, bytes, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            return;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
}
