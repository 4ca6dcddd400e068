#include "tests/e2e/burgers_run.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>

#include "tests/support/files.h"

namespace {

namespace fs = std::filesystem;

const char* environment_value(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

std::string windows_executable() {
    const char* exe = environment_value("BURGERS_WINDOWS_EXE");
    return exe != nullptr ? fs::absolute(exe).string() : "";
}

// wine's drive Z: is the Linux root.
std::string windows_path(const std::string& linux_path) {
    std::string result = "Z:" + fs::absolute(linux_path).string();
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    return result;
}

std::string wine_prefix() {
    const char* prefix = environment_value("WINEPREFIX");
    return prefix != nullptr ? prefix : (fs::path(windows_executable()).parent_path() / "wineprefix");
}

std::string wine_program() {
    const char* wine = environment_value("BURGERS_WINE");
    return wine != nullptr ? wine : "/usr/lib/wine/wine64";
}

std::string stub_script(const std::string& log) {
    return "#!/bin/sh\nprintf '%s %s\\n' \"$1\" \"$2\" >> '" + log + "'\n";
}

std::string stub_executable() {
    return fs::path(windows_executable()).parent_path() / "comspec_stub.exe";
}

void write_script(const std::string& name, const std::string& text) {
    write_file(name, text);
    chmod(name.c_str(), 0755);
}

// Every regular file of a directory, by name.
std::map<std::string, std::string> directory_files(const std::string& directory) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        if (!entry.is_regular_file()) continue;
        files[entry.path().filename().string()] = read_file(entry.path().string()).value_or("");
    }
    return files;
}

std::string first_difference(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    std::ostringstream out;
    out << "sizes " << a.size() << " and " << b.size() << ", first difference at byte " << i
        << ": [" << a.substr(i > 40 ? i - 40 : 0, 100) << "] vs [" << b.substr(i > 40 ? i - 40 : 0, 100)
        << "]";
    return out.str();
}

std::vector<std::string> log_lines(const std::string& name) {
    std::vector<std::string> lines;
    std::istringstream log(read_file(name).value_or(""));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

}  // namespace

bool BurgersRun::windows() { return !windows_executable().empty(); }

BurgersRun::BurgersRun() {
    write_script(stub_path(), stub_script(log_path()));
    if (windows()) {
        linux_work_.emplace();
        linux_side_.emplace();
    }
}

void BurgersRun::write(const std::string& name, const std::string& bytes) const {
    write_file(path(name), bytes);
}

std::optional<std::string> BurgersRun::read(const std::string& name) const {
    return read_file(path(name));
}

ChildResult BurgersRun::run_linux(const std::string& directory, const Side& side,
                                  std::optional<std::string> comspec, bool stand_ins) const {
    const std::string log = side.tools / "log";
    const std::string stub = side.tools / "comspec";
    write_script(stub, stub_script(log));
    ProgramRun program;
    program.directory = directory;
    program.argv = {BURGERS_EXECUTABLE};
    program.environment = {{"COMSPEC", comspec.value_or(stub)}};
    if (stand_ins) {
        for (const char* name : {"notepad", "wgnuplot"}) {
            write_script(side.tools / name, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + log + "'\n");
        }
        const char* path = std::getenv("PATH");
        program.environment.emplace_back("PATH",
                                         side.tools.path() + ":" + (path != nullptr ? path : ""));
    }
    return run_program(program);
}

ChildResult BurgersRun::run_windows(std::optional<std::string> comspec, bool stand_ins) const {
    // wine leaves its service processes running after the program, holding
    // the descriptors they inherited: standard error goes to a file, not to
    // the pipe, and standard output nowhere, so that nothing waits for them.
    const std::string error_file = side_.tools / "stderr";
    ProgramRun program;
    program.directory = work_.path();
    program.argv = {"/bin/sh", "-c", "exec \"$0\" \"$1\" 2>\"$2\" >/dev/null </dev/null",
                    wine_program(), windows_executable(), error_file};
    program.environment = {
        {"WINEDEBUG", "-all"},
        {"WINEPREFIX", wine_prefix()},
        {"COMSPEC", comspec.value_or(windows_path(stub_executable()))},
        {"BURGERS_STUB_LOG", windows_path(side_.tools / "log")},
    };
    if (stand_ins) {
        for (const char* name : {"notepad.exe", "wgnuplot.exe"}) {
            fs::copy_file(stub_executable(), side_.tools / name,
                          fs::copy_options::overwrite_existing);
        }
        program.environment.emplace_back("WINEPATH", windows_path(side_.tools.path()));
    }
    ChildResult result = run_program(program);
    result.standard_error = read_file(error_file).value_or("") + result.standard_error;
    return result;
}

// The Linux run on a copy of the starting files, then the Windows run; both
// must leave the same results.
ChildResult BurgersRun::run_both(std::optional<std::string> comspec, bool stand_ins) const {
    const std::string linux_directory = linux_work_->path();
    for (const fs::directory_entry& entry : fs::directory_iterator(linux_directory)) {
        fs::remove_all(entry.path());
    }
    fs::remove(linux_side_->tools / "log");
    fs::remove(side_.tools / "log");
    for (const fs::directory_entry& entry : fs::directory_iterator(work_.path())) {
        fs::copy(entry.path(), linux_directory / entry.path().filename(),
                 fs::copy_options::recursive);
    }
    const ChildResult on_linux = run_linux(linux_directory, *linux_side_, comspec, stand_ins);
    const ChildResult on_windows = run_windows(comspec, stand_ins);

    EXPECT_EQ(on_windows.exit_status, on_linux.exit_status) << "exit status, Windows vs Linux";
    EXPECT_EQ(on_windows.standard_error, on_linux.standard_error)
        << "standard error, Windows vs Linux";
    const auto windows_files = directory_files(work_.path());
    const auto linux_files = directory_files(linux_directory);
    for (const auto& [name, bytes] : linux_files) {
        const auto found = windows_files.find(name);
        if (found == windows_files.end()) {
            ADD_FAILURE() << name << " left by the Linux run only";
        } else if (found->second != bytes) {
            ADD_FAILURE() << name << " differs, Windows vs Linux: "
                          << first_difference(found->second, bytes);
        }
    }
    for (const auto& [name, bytes] : windows_files) {
        if (linux_files.count(name) == 0) ADD_FAILURE() << name << " left by the Windows run only";
    }
    EXPECT_EQ(log_lines(side_.tools / "log"), log_lines(linux_side_->tools / "log"))
        << "commands, Windows vs Linux";
    return on_windows;
}

ChildResult BurgersRun::run(std::optional<std::string> comspec) const {
    if (windows()) return run_both(comspec, false);
    return run_linux(work_.path(), side_, comspec, false);
}

ChildResult BurgersRun::run_with_parameters(const std::string& dados) const {
    write("dados.txt", dados);
    return run();
}

ChildResult BurgersRun::run_without_comspec() const {
    if (windows()) return run_both(std::string(), true);
    return run_linux(work_.path(), side_, std::string(), true);
}

void BurgersRun::write_tool(const std::string& name, const std::string& script) const {
    write_script(tool_path(name), script);
}

void BurgersRun::open_to_all_users() const {
    if (!read_file(log_path())) write_file(log_path(), "");
    if (chmod(work_.path().c_str(), 0777) != 0 || chmod(side_.tools.path().c_str(), 0777) != 0 ||
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

std::vector<std::string> BurgersRun::commands() const { return log_lines(side_.tools / "log"); }

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
