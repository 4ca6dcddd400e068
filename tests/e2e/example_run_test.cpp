// The shipped example case and the helper tools run the way a user runs them:
// the real executable with the notepad and wgnuplot shims on PATH, no command
// interpreter named (so the POSIX shell runs the commands) and nobody at the
// terminal. Also the grid convergence study.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kSource = BURGERS_SOURCE_DIR;
const std::string kTools = kSource + "/tools";
const std::string kPngSignature = "\x89PNG\r\n\x1A\n";

bool on_path(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path == nullptr ? "" : path);
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
    }
    return false;
}

std::string path_with_tools() {
    const char* path = std::getenv("PATH");
    return kTools + ":" + (path == nullptr ? "/usr/bin:/bin" : path);
}

void copy_example(const std::string& name, const std::string& destination) {
    std::filesystem::copy(kSource + "/examples/" + name, destination,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

void expect_png(const std::string& path) {
    const std::optional<std::string> bytes = read_file(path);
    ASSERT_TRUE(bytes.has_value()) << path << " was not written";
    EXPECT_EQ(bytes->substr(0, kPngSignature.size()), kPngSignature) << path;
    EXPECT_GT(bytes->size(), 10u * 1024) << path << " is too small to hold a plot";
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// An editor that would hang the run if the shim started it without a terminal.
const std::pair<std::string, std::string> kBlockingEditor = {"VISUAL", "timeout 20 tail -f"};

TEST(ExampleRun, WritesBothPlotsAndNeverWaitsWithoutATerminal) {
    if (!on_path("gnuplot")) GTEST_SKIP() << "gnuplot is not installed (apt-get install gnuplot-nox)";
    TempDir work;
    copy_example("exemplo", work.path());

    ProgramRun run;
    run.directory = work.path();
    run.argv = {BURGERS_EXECUTABLE};
    run.environment = {{"PATH", path_with_tools()}, {"COMSPEC", ""}, kBlockingEditor};
    const auto start = std::chrono::steady_clock::now();
    const ChildResult result = run_program(run);
    const double elapsed = seconds_since(start);

    ASSERT_EQ(result.exit_status, 0) << result.standard_error;
    EXPECT_EQ(result.standard_error, "") << "the plot scripts should run without a complaint";
    EXPECT_LT(elapsed, 10.0) << "an editor or a plot window waited for a user";
    expect_png(work / "ucentral.png");
    expect_png(work / "u.png");
}

TEST(ExampleRun, NotepadReturnsAtOnceWithoutATerminal) {
    TempDir work;
    write_file(work / "dados.txt", "52\r\n");
    ProgramRun run;
    run.directory = work.path();
    run.argv = {kTools + "/notepad", "dados.txt"};
    run.environment = {kBlockingEditor};
    const auto start = std::chrono::steady_clock::now();
    const ChildResult result = run_program(run);
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_LT(seconds_since(start), 5.0);
    EXPECT_EQ(read_file(work / "dados.txt").value(), "52\r\n");
}

TEST(ExampleRun, WgnuplotWithoutGnuplotSaysHowToInstallIt) {
    TempDir empty_path;
    ProgramRun run;
    run.directory = empty_path.path();
    run.argv = {kTools + "/wgnuplot", "u.gnu"};
    run.environment = {{"PATH", empty_path.path()}};
    const ChildResult result = run_program(run);
    EXPECT_NE(result.exit_status, 0);
    const std::string& message = result.standard_error;
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(message.find('\n'), message.size() - 1) << "one line: " << message;
    EXPECT_NE(message.find("install"), std::string::npos) << message;
    EXPECT_NE(message.find("gnuplot"), std::string::npos) << message;
}

// History files that a log scale cannot show as they stand: no records (itmax
// below 1), only zero changes, and changes written with a three-digit exponent.
struct HistoryCase {
    const char* name;
    std::string records;
};

TEST(ExampleRun, HistoryPlotCopesWithChangesALogScaleCannotShow) {
    if (!on_path("gnuplot")) GTEST_SKIP() << "gnuplot is not installed (apt-get install gnuplot-nox)";
    const std::vector<HistoryCase> cases = {
        {"no records", ""},
        {"only zero changes",
         "        1    0.000000000000000E+00\r\n        2    0.000000000000000E+00\r\n"},
        {"zeros among tiny changes",
         "        1    6.275635857645017E-03\r\n        2    0.000000000000000E+00\r\n"
         "        3    1.000000000000000-120\r\n        4    2.500000000000000E-05\r\n"},
    };
    for (const HistoryCase& history : cases) {
        SCOPED_TRACE(history.name);
        TempDir work;
        copy_example("exemplo", work.path());
        write_file(work / "ucentral.dat", history.records);
        ProgramRun run;
        run.directory = work.path();
        run.argv = {kTools + "/wgnuplot", "ucentral.gnu"};
        run.environment = {{"PATH", path_with_tools()}};
        const ChildResult result = run_program(run);
        EXPECT_EQ(result.exit_status, 0) << result.standard_error;
        expect_png(work / "ucentral.png");
    }
}

// The printed table of tools/convergence: the observed orders of one series.
std::vector<double> orders(const std::string& table) {
    std::vector<double> found;
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        int real_volumes = 0;
        std::string error, order;
        if (!(fields >> real_volumes >> error >> order)) continue;
        if (order != "-") found.push_back(std::stod(order));
    }
    return found;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

struct SchemeCase {
    const char* beta;
    double lowest_order;   // both within 0.5..2.5; tighter per scheme so that
    double highest_order;  // first and second order are told apart
};

TEST(Convergence, ObservedOrdersMatchTheScheme) {
    const std::vector<SchemeCase> cases = {{"0", 0.5, 1.2}, {"1", 1.7, 2.5}};
    for (const SchemeCase& scheme : cases) {
        SCOPED_TRACE(std::string("beta = ") + scheme.beta);
        TempDir work;
        ProgramRun run;
        run.directory = work.path();
        run.argv = {"/bin/sh", "-c",
                    quoted(kTools + "/convergence") + " --grids 20,40,80 --re 10 --beta " +
                        scheme.beta + " --no-plot --executable " + quoted(BURGERS_EXECUTABLE) +
                        " > table.txt"};
        const ChildResult result = run_program(run);
        ASSERT_EQ(result.exit_status, 0) << result.standard_error;
        const std::string table = read_file(work / "table.txt").value_or("");
        const std::vector<double> found = orders(table);
        ASSERT_EQ(found.size(), 2u) << table;
        for (double order : found) {
            EXPECT_GE(order, scheme.lowest_order) << table;
            EXPECT_LE(order, scheme.highest_order) << table;
        }
    }
}

TEST(Convergence, PlotsTheStudy) {
    if (!on_path("gnuplot")) GTEST_SKIP() << "gnuplot is not installed (apt-get install gnuplot-nox)";
    TempDir work;
    ProgramRun run;
    run.directory = work.path();
    run.argv = {kTools + "/convergence", "--grids", "10,20,40", "--beta", "0,1", "--plot-dir",
                work / "plots", "--executable", BURGERS_EXECUTABLE};
    const ChildResult result = run_program(run);
    ASSERT_EQ(result.exit_status, 0) << result.standard_error;
    expect_png(work / "plots/convergence.png");
}

TEST(Convergence, FailingRunIsReported) {
    TempDir work;
    ProgramRun run;
    run.directory = work.path();
    run.argv = {kTools + "/convergence", "--grids", "20", "--no-plot", "--executable", "/bin/false"};
    const ChildResult result = run_program(run);
    EXPECT_NE(result.exit_status, 0);
    EXPECT_NE(result.standard_error.find("failed"), std::string::npos) << result.standard_error;
}

}  // namespace
