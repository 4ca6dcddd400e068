#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

#include "runtime/run_command.h"

extern char** environ;

namespace {

constexpr std::size_t kMaxCommand = 1024;
constexpr std::size_t kMaxInterpreter = 260;

// A cmd-style interpreter named by COMSPEC takes "/c text"; without one, the
// POSIX shell takes "-c text".
struct Interpreter {
    std::string program;
    const char* switch_text;
};

bool choose_interpreter(Interpreter& chosen) {
    const char* comspec = std::getenv("COMSPEC");
    if (comspec == nullptr || *comspec == '\0') {
        chosen = {"/bin/sh", "-c"};
        return true;
    }
    if (std::strlen(comspec) > kMaxInterpreter) return false;
    chosen = {comspec, "/c"};
    return true;
}

}  // namespace

std::int32_t run_command(const char* text, std::size_t length) {
    while (length > 0 && text[length - 1] == ' ') --length;
    if (length > kMaxCommand) return -1;
    Interpreter interpreter;
    if (!choose_interpreter(interpreter)) return -1;

    std::string command(text, length);
    char* arguments[] = {interpreter.program.data(), const_cast<char*>(interpreter.switch_text),
                         command.data(), nullptr};
    pid_t child;
    // Like the Windows process call, a name without a slash is looked up on PATH.
    if (posix_spawnp(&child, interpreter.program.c_str(), nullptr, nullptr, arguments, environ) !=
        0) {
        return -1;
    }
    int status;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);  // killed by a signal: the shell's convention
}
