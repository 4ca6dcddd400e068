#include "tests/support/subprocess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace {

std::string read_all(int fd) {
    std::string bytes;
    char buffer[4096];
    ssize_t count;
    while ((count = read(fd, buffer, sizeof buffer)) != 0) {
        if (count < 0) {
            if (errno == EINTR) continue;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

ChildResult wait_for(pid_t child, int error_pipe) {
    ChildResult result;
    result.standard_error = read_all(error_pipe);
    close(error_pipe);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

}  // namespace

ChildResult run_in_child(const std::function<void()>& body) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) throw std::runtime_error("pipe");
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) {
        close(pipe_ends[0]);
        dup2(pipe_ends[1], STDERR_FILENO);
        close(pipe_ends[1]);
        body();
        _exit(0);
    }
    close(pipe_ends[1]);
    return wait_for(child, pipe_ends[0]);
}

ChildResult run_program(const ProgramRun& run) {
    int error_pipe[2];
    int input_pipe[2];
    if (pipe(error_pipe) != 0 || pipe(input_pipe) != 0) throw std::runtime_error("pipe");
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) {
        dup2(error_pipe[1], STDERR_FILENO);
        dup2(input_pipe[0], STDIN_FILENO);
        close(error_pipe[0]);
        close(error_pipe[1]);
        close(input_pipe[0]);
        close(input_pipe[1]);
        if (!run.directory.empty() && chdir(run.directory.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : run.environment) {
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        std::vector<char*> argv;
        for (const std::string& argument : run.argv) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(error_pipe[1]);
    close(input_pipe[0]);
    if (!run.standard_input.empty()) {
        (void)!write(input_pipe[1], run.standard_input.data(), run.standard_input.size());
    }
    close(input_pipe[1]);
    return wait_for(child, error_pipe[0]);
}
