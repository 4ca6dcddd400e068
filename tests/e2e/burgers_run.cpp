#include "tests/e2e/burgers_run.h"

#include <sys/stat.h>

#include <sstream>

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
