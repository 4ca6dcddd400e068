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
#include <utility>
#include <vector>

#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

// How `BurgersRun::run_with` starts the Linux executable beyond the default run.
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

    // Runs the program with COMSPEC set to the recording stub (or to
    // `comspec` when given; an empty value unsets it).
    ChildResult run(std::optional<std::string> comspec = std::nullopt) const;
    ChildResult run_with_parameters(const std::string& dados) const;
    // The Linux executable only, with the settings; its peak memory measured.
    MeasuredResult run_with(const RunSettings& settings) const;

    // Lets any user work in the run's folder and run the stub: the folder and
    // the tools folder get mode 0777 and the command log exists, mode 0666.
    void open_to_all_users() const;
    std::string directory() const { return work_.path(); }
    // A file beside the stub, e.g. a stand-in for a program looked up on PATH.
    std::string tool_path(const std::string& name) const { return side_.tools / name; }
    std::string tools_directory() const { return side_.tools.path(); }
    void write_tool(const std::string& name, const std::string& script) const;
    std::string stub_path() const { return side_.tools / "comspec"; }
    std::string log_path() const { return side_.tools / "log"; }

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
