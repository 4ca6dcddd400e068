#include "tests/e2e/burgers_run.h"

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <stdexcept>

#include "tests/support/files.h"

BurgersRun::BurgersRun() {
    write_file(stub_path(), "#!/bin/sh\nprintf '%s %s\\n' \"$1\" \"$2\" >> '" + (tools_ / "log") +
                                "'\n");
    chmod(stub_path().c_str(), 0755);
}

void BurgersRun::write(const std::string& name, const std::string& bytes) const {
    write_file(path(name), bytes);
}

std::optional<std::string> BurgersRun::read(const std::string& name) const {
    return read_file(path(name));
}

ChildResult BurgersRun::run(std::optional<std::string> comspec) const {
    ProgramRun program;
    program.directory = work_.path();
    program.argv = {BURGERS_EXECUTABLE};
    program.environment = {{"COMSPEC", comspec.value_or(stub_path())}};
    return run_program(program);
}

ChildResult BurgersRun::run_with_parameters(const std::string& dados) const {
    write("dados.txt", dados);
    return run();
}

void BurgersRun::write_tool(const std::string& name, const std::string& script) const {
    write_file(tool_path(name), script);
    chmod(tool_path(name).c_str(), 0755);
}

void BurgersRun::open_to_all_users() const {
    if (!read_file(log_path())) write_file(log_path(), "");
    if (chmod(work_.path().c_str(), 0777) != 0 || chmod(tools_.path().c_str(), 0777) != 0 ||
        chmod(log_path().c_str(), 0666) != 0) {
        throw std::runtime_error("chmod");
    }
}

MeasuredResult BurgersRun::run_with(const RunSettings& settings) const {
    int error_pipe[2];
    if (pipe(error_pipe) != 0) throw std::runtime_error("pipe");
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) {
        dup2(error_pipe[1], STDERR_FILENO);
        close(error_pipe[0]);
        close(error_pipe[1]);
        const int nothing = open("/dev/null", O_RDONLY);
        dup2(nothing, STDIN_FILENO);
        if (chdir(work_.path().c_str()) != 0) _exit(126);
        setenv("COMSPEC", stub_path().c_str(), 1);
        for (const auto& [name, value] : settings.environment) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        if (settings.user) {
            const unsigned id = *settings.user;
            if (setgroups(0, nullptr) != 0 || setgid(id) != 0 || setuid(id) != 0) _exit(125);
        }
        char* argv[] = {const_cast<char*>(BURGERS_EXECUTABLE), nullptr};
        execv(argv[0], argv);
        _exit(127);
    }
    close(error_pipe[1]);
    MeasuredResult result;
    char buffer[4096];
    for (ssize_t count; (count = ::read(error_pipe[0], buffer, sizeof buffer)) != 0;) {
        if (count > 0) result.standard_error.append(buffer, static_cast<std::size_t>(count));
        if (count < 0 && errno != EINTR) break;
    }
    close(error_pipe[0]);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
    }
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.peak_rss_kib = usage.ru_maxrss;
    return result;
}

std::vector<std::string> BurgersRun::commands() const {
    std::vector<std::string> lines;
    std::istringstream log(read_file(tools_ / "log").value_or(""));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> records(const std::string& bytes) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            result.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        result.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return result;
}

std::string unit_frame(const std::string& code, const std::string& word, const std::string& file,
                       const std::string& text) {
    return "\r\nrun-time error " + code + ": " + word + "(" + file + ")\r\n- " + text + "\r\n";
}

std::string math_frame(const std::string& code, const std::string& text) {
    return "\r\nrun-time error " + code + ": MATH\r\n- " + text + "\r\n";
}
