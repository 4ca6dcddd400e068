// Runs the real executable in a fresh directory with a stub command
// interpreter that records the command lines it is given.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

// How `BurgersRun::run_with` starts the executable beyond the default run.
struct RunSettings {
    // Applied after COMSPEC is set to the stub: a value sets the variable,
    // nothing removes it (so an empty value can be given).
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
    // Run as this user and group, without supplementary groups (the caller
    // must be root).
    std::optional<unsigned> user;
};

struct MeasuredResult : ChildResult {
    long peak_rss_kib = 0;  // the child's peak resident set size
};

class BurgersRun {
public:
    BurgersRun();

    // The run's working directory.
    std::string path(const std::string& name) const { return work_ / name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::optional<std::string> read(const std::string& name) const;

    // Runs build/burgers with COMSPEC set to the recording stub (or to
    // `comspec` when given; an empty value unsets it).
    ChildResult run(std::optional<std::string> comspec = std::nullopt) const;
    ChildResult run_with_parameters(const std::string& dados) const;
    MeasuredResult run_with(const RunSettings& settings) const;

    // Lets any user work in the run's folder and run the stub: the folder and
    // the tools folder get mode 0777 and the command log exists, mode 0666.
    void open_to_all_users() const;
    std::string directory() const { return work_.path(); }
    // A file beside the stub, e.g. a stand-in for a program looked up on PATH.
    std::string tool_path(const std::string& name) const { return tools_ / name; }
    std::string tools_directory() const { return tools_.path(); }
    void write_tool(const std::string& name, const std::string& script) const;

    // The command lines the stub received, one per call: "/c <text>".
    std::vector<std::string> commands() const;
    std::string stub_path() const { return tools_ / "comspec"; }
    std::string log_path() const { return tools_ / "log"; }

private:
    TempDir work_;
    TempDir tools_;
};

// The records of a file written with CR LF endings (without the endings).
std::vector<std::string> records(const std::string& bytes);

// The standard error frame of a failure stop.
std::string unit_frame(const std::string& code, const std::string& word, const std::string& file,
                       const std::string& text);
std::string math_frame(const std::string& code, const std::string& text);
