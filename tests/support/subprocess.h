// Runs a piece of the program in a forked child, as the failure stops end the
// process: the child's standard error bytes and exit status come back.
#pragma once
#include <functional>
#include <utility>
#include <vector>
#include <string>

struct ChildResult {
    int exit_status = -1;   // -1 when the child did not exit normally
    int signal = 0;         // the signal that ended it, if any
    std::string standard_error;
};

// `body` runs in the child; if it returns, the child exits with status 0.
ChildResult run_in_child(const std::function<void()>& body);

// Runs `argv` (the program first) in `directory` with `environment` added to
// (or, for an empty value, removed from) the caller's environment.
struct ProgramRun {
    std::string directory;
    std::vector<std::string> argv;
    std::vector<std::pair<std::string, std::string>> environment;
    std::string standard_input;  // fed through a pipe; closed at once when empty
};
ChildResult run_program(const ProgramRun& run);
