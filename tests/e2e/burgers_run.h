// Runs the real executable in a fresh directory with a stub command
// interpreter that records the command lines it is given.
//
// With BURGERS_WINDOWS_EXE naming the cross-built burgers.exe, every run
// starts that executable under wine instead (WINEPREFIX from the environment,
// else a prefix beside the executable, prepared by tools/test-windows), with
// the Windows stub comspec_stub.exe found beside it. The Linux executable then
// runs too, on a copy of the same starting files, and each run checks that
// both left the same exit status, standard error bytes, files and commands.
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

    // Runs the program with COMSPEC set to the recording stub (or to
    // `comspec` when given; an empty value unsets it).
    ChildResult run(std::optional<std::string> comspec = std::nullopt) const;
    ChildResult run_with_parameters(const std::string& dados) const;

    // Runs the program with COMSPEC unset, so that the system's own
    // interpreter runs the commands; recording stand-ins for "notepad" and
    // "wgnuplot" come first on its search path.
    ChildResult run_without_comspec() const;

    // The command lines the stub received, one per call: "/c <text>" (or, in
    // a run without COMSPEC, the arguments the stand-ins received).
    std::vector<std::string> commands() const;

    // True when the runs go to the Windows executable under wine.
    static bool windows();

private:
    struct Side {
        TempDir tools;
    };
    ChildResult run_linux(const std::string& directory, const Side& side,
                          std::optional<std::string> comspec, bool stand_ins) const;
    ChildResult run_windows(std::optional<std::string> comspec, bool stand_ins) const;
    ChildResult run_both(std::optional<std::string> comspec, bool stand_ins) const;

    TempDir work_;
    Side side_;
    // Windows mode only: the Linux run on a copy of the starting files.
    std::optional<TempDir> linux_work_;
    std::optional<Side> linux_side_;
};

// The records of a file written with CR LF endings (without the endings).
std::vector<std::string> records(const std::string& bytes);

// The standard error frame of a failure stop.
std::string unit_frame(const std::string& code, const std::string& word, const std::string& file,
                       const std::string& text);
std::string math_frame(const std::string& code, const std::string& text);
