// Runs the real executable in a fresh directory with a stub command
// interpreter that records the command lines it is given.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

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

    // The command lines the stub received, one per call: "/c <text>".
    std::vector<std::string> commands() const;
    std::string stub_path() const { return tools_ / "comspec"; }

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
