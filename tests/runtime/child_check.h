// Checks made inside a forked child, where a GoogleTest assertion would be
// lost: a failed check writes its condition to standard error and exits with
// status 3, which the parent's comparison of status and bytes then shows.
#pragma once
#include <unistd.h>

#include <cstring>

inline void child_check(bool ok, const char* condition) {
    if (ok) return;
    (void)!write(STDERR_FILENO, "check failed: ", 14);
    (void)!write(STDERR_FILENO, condition, std::strlen(condition));
    (void)!write(STDERR_FILENO, "\n", 1);
    _exit(3);
}

#define CHILD_CHECK(condition) child_check((condition), #condition)
