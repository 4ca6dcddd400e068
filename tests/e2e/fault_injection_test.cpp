// Faults injected through the real system into whole runs of the executable: a
// full disk, refused permissions, directories and dangling links in place of
// files, runs that blow up during the iterations, array sizes the machine
// cannot hold, broken command interpreters and oversized parameter files.
// Each case checks the standard error bytes, the exit status and every file
// afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/burgers_run.h"
#include "tests/support/files.h"

namespace {

constexpr unsigned kNobody = 65534;
const char* const kResultFiles[] = {"saida.txt", "u.dat", "ucentral.dat"};
const std::vector<std::string> kCommands = {
    "/c notepad dados.txt",
    "/c wgnuplot ucentral.gnu",
    "/c wgnuplot u.gnu",
    "/c notepad saida.txt",
};
const std::vector<std::string> kFirstCommandOnly = {kCommands[0]};
// A file's content from before the run.
const std::string kEarlier = "earlier content\r\n";

// N = 5 keeps the profile (5 records of 72 bytes) within one 1024-byte buffer,
// itmax = 3 the history (3 records of 36 bytes); N = 21 gives a profile of
// 1512 bytes and itmax = 40 a history of 1440 bytes, so the buffer is passed
// on in the middle of a statement.
const char kSmall[] = "5\r\n10.0\r\n0.5\r\n3\r\n";
const char kLongProfile[] = "21\r\n10.0\r\n0.5\r\n3\r\n";
const char kLongHistory[] = "5\r\n10.0\r\n0.5\r\n40\r\n";
// Blows up: the square of u overflows in iteration 3.
const char kBlowUp[] = "5\r\n10.0\r\n1e100\r\n50\r\n";

// The result files of an undisturbed run with the same parameters.
std::map<std::string, std::string> undisturbed_files(const std::string& dados) {
    BurgersRun run;
    run.run_with_parameters(dados);
    std::map<std::string, std::string> files;
    for (const char* name : kResultFiles) files[name] = run.read(name).value_or("<missing>");
    return files;
}

std::string first_records(const std::string& bytes, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        end = bytes.find("\r\n", end);
        if (end == std::string::npos) return "<fewer records than " + std::to_string(count) + ">";
        end += 2;
    }
    return bytes.substr(0, end);
}

// What a result file holds after the run.
struct State {
    enum Kind { Absent, Earlier, Complete, FirstRecords } kind;
    std::size_t records = 0;  // FirstRecords: that many records of the undisturbed run
};
constexpr State kAbsent{State::Absent};
constexpr State kKept{State::Earlier};
constexpr State kComplete{State::Complete};
constexpr State first(std::size_t records) { return {State::FirstRecords, records}; }
constexpr State kEmpty = first(0);

void expect_state(const BurgersRun& run, const std::string& name, const State& state,
                  const std::map<std::string, std::string>& undisturbed) {
    const std::optional<std::string> bytes = run.read(name);
    switch (state.kind) {
        case State::Absent: EXPECT_FALSE(bytes.has_value()) << name; break;
        case State::Earlier: EXPECT_EQ(bytes, kEarlier) << name; break;
        case State::Complete: EXPECT_EQ(bytes, undisturbed.at(name)) << name; break;
        case State::FirstRecords:
            EXPECT_EQ(bytes, first_records(undisturbed.at(name), state.records)) << name;
            break;
    }
}

enum class Fault {
    DiskFull,        // a symbolic link to /dev/full
    Directory,       // a directory of that name
    DanglingLink,    // a symbolic link to a missing file
    ReadOnlyFile,    // an existing file owned by root, mode 0444
    LockedFile,      // an existing file owned by root, mode 0000
    ReadOnlyFolder,  // missing, in a folder the user may not write
};

// Root ignores file modes: these faults need the run to drop its privileges.
bool needs_other_user(Fault fault) { return fault >= Fault::ReadOnlyFile; }

struct FileFault {
    friend void PrintTo(const FileFault& c, std::ostream* out) { *out << c.name; }
    const char* name;
    std::string target;
    Fault fault;
    const char* dados;
    std::string standard_error;  // empty: the run ends normally
    std::map<std::string, State> others;  // every result file but the target
};

const char kDanglingTarget[] = "no-such-file";

void inject(const BurgersRun& run, const FileFault& c, const std::string& earlier) {
    const std::string path = run.path(c.target);
    switch (c.fault) {
        case Fault::DiskFull: ASSERT_EQ(symlink("/dev/full", path.c_str()), 0); break;
        case Fault::Directory: ASSERT_EQ(mkdir(path.c_str(), 0777), 0); break;
        case Fault::DanglingLink: ASSERT_EQ(symlink(kDanglingTarget, path.c_str()), 0); break;
        case Fault::ReadOnlyFile:
        case Fault::LockedFile:
            write_file(path, earlier);
            ASSERT_EQ(chmod(path.c_str(), c.fault == Fault::ReadOnlyFile ? 0444 : 0000), 0);
            break;
        case Fault::ReadOnlyFolder:
            ASSERT_EQ(chmod(run.directory().c_str(), 0555), 0);
            break;
    }
}

// The injected fault itself is left as it was: nothing is written through a
// link or into a directory, and a file the run could not write keeps its bytes.
void expect_target_unchanged(const BurgersRun& run, const FileFault& c,
                             const std::string& earlier) {
    const std::string path = run.path(c.target);
    struct stat status;
    switch (c.fault) {
        case Fault::DiskFull:
        case Fault::DanglingLink: {
            ASSERT_EQ(lstat(path.c_str(), &status), 0);
            EXPECT_TRUE(S_ISLNK(status.st_mode));
            char target[64] = {};
            ASSERT_GT(readlink(path.c_str(), target, sizeof target - 1), 0);
            EXPECT_STREQ(target, c.fault == Fault::DiskFull ? "/dev/full" : kDanglingTarget);
            EXPECT_FALSE(run.read(kDanglingTarget).has_value());
            break;
        }
        case Fault::Directory:
            ASSERT_EQ(lstat(path.c_str(), &status), 0);
            EXPECT_TRUE(S_ISDIR(status.st_mode));
            EXPECT_EQ(rmdir(path.c_str()), 0) << "the directory is no longer empty";
            break;
        case Fault::ReadOnlyFile:
        case Fault::LockedFile: EXPECT_EQ(run.read(c.target), earlier); break;
        case Fault::ReadOnlyFolder: EXPECT_NE(lstat(path.c_str(), &status), 0); break;
    }
}

class FileFaultRun : public ::testing::TestWithParam<FileFault> {};

TEST_P(FileFaultRun, FrameStatusAndEveryFile) {
    const FileFault& c = GetParam();
    const bool as_nobody = needs_other_user(c.fault);
    if (as_nobody && geteuid() != 0) {
        GTEST_SKIP() << "running as another user needs root";
    }
    const auto undisturbed = undisturbed_files(c.dados);
    const bool target_is_parameters = c.target == "dados.txt";
    const std::string earlier = target_is_parameters ? std::string(c.dados) : kEarlier;

    BurgersRun run;
    if (as_nobody) run.open_to_all_users();
    if (!target_is_parameters) run.write("dados.txt", c.dados);
    // In a folder that cannot take new files, every file opened before the
    // target has to exist already.
    for (const auto& [name, state] : c.others) {
        const bool exists = state.kind == State::Earlier ||
                            (c.fault == Fault::ReadOnlyFolder && state.kind != State::Absent);
        if (!exists) continue;
        run.write(name, kEarlier);
        if (as_nobody) {
            ASSERT_EQ(chown(run.path(name).c_str(), kNobody, kNobody), 0);
        }
    }
    inject(run, c, earlier);

    RunSettings settings;
    if (as_nobody) settings.user = kNobody;
    const MeasuredResult result = run.run_with(settings);
    if (c.fault == Fault::ReadOnlyFolder) chmod(run.directory().c_str(), 0777);

    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exit_status, c.standard_error.empty() ? 0 : 1);
    EXPECT_EQ(result.standard_error, c.standard_error);
    expect_target_unchanged(run, c, earlier);
    if (!target_is_parameters) {
        EXPECT_EQ(run.read("dados.txt"), c.dados);
    }
    for (const auto& [name, state] : c.others) expect_state(run, name, state, undisturbed);
    EXPECT_EQ(run.commands(), c.standard_error.empty() ? kCommands : kFirstCommandOnly);
}

std::string disk_full(const char* word, const char* file) {
    return unit_frame("F6422", word, file, "disk full");
}
std::string denied(const char* file) { return unit_frame("F6414", "OPEN", file, "access denied"); }
std::string write_refused(const char* file) {
    return unit_frame("F6421", "WRITE", file, "write refused: access denied or region locked");
}
std::string exists(const char* file) {
    return unit_frame("F6415", "OPEN", file, "file already exists");
}

// The report's records up to the solution row of volume i: 20 + N lines of
// header and coefficients, then one row per volume.
constexpr std::size_t report_through_row(std::size_t N, std::size_t i) { return 20 + N + i; }

INSTANTIATE_TEST_SUITE_P(
    Faults, FileFaultRun,
    ::testing::Values(
        // Disk full. The report passes its first 1024 bytes on while the
        // coefficient rows are written, before any profile record.
        FileFault{"ReportDiskFull", "saida.txt", Fault::DiskFull, kSmall,
                  disk_full("WRITE", "saida.txt"),
                  {{"u.dat", kEmpty}, {"ucentral.dat", kComplete}}},
        FileFault{"ReportDiskFullEarlierProfileKept", "saida.txt", Fault::DiskFull, kSmall,
                  disk_full("WRITE", "saida.txt"),
                  {{"u.dat", kKept}, {"ucentral.dat", kComplete}}},
        // A profile within one buffer fails when the buffer is passed on at
        // the close, after the report is complete.
        FileFault{"SmallProfileDiskFullAtClose", "u.dat", Fault::DiskFull, kSmall,
                  disk_full("CLOSE", "u.dat"),
                  {{"saida.txt", kComplete}, {"ucentral.dat", kComplete}}},
        // A longer profile fails in the record of volume 15 (bytes 1009 to
        // 1080); the stop closes the report with its rows up to that volume.
        FileFault{"LongProfileDiskFullInRecord", "u.dat", Fault::DiskFull, kLongProfile,
                  disk_full("WRITE", "u.dat"),
                  {{"saida.txt", first(report_through_row(21, 15))},
                   {"ucentral.dat", kComplete}}},
        FileFault{"ShortHistoryDiskFullAtClose", "ucentral.dat", Fault::DiskFull, kSmall,
                  disk_full("CLOSE", "ucentral.dat"),
                  {{"saida.txt", kKept}, {"u.dat", kKept}}},
        FileFault{"LongHistoryDiskFullInRecord", "ucentral.dat", Fault::DiskFull, kLongHistory,
                  disk_full("WRITE", "ucentral.dat"),
                  {{"saida.txt", kAbsent}, {"u.dat", kAbsent}}},
        // Two faults: the blow-up stops the run, and passing the history's
        // records on while the stop closes the unit fails too. Both frames.
        FileFault{"HistoryDiskFullWhenTheStopClosesIt", "ucentral.dat", Fault::DiskFull, kBlowUp,
                  math_frame("M6203", "**: OVERFLOW error") + disk_full("CLOSE", "ucentral.dat"),
                  {{"saida.txt", kKept}, {"u.dat", kAbsent}}},

        // A directory in place of a file is refused like a file one may not open.
        FileFault{"ParametersAreADirectory", "dados.txt", Fault::Directory, kSmall,
                  denied("dados.txt"),
                  {{"saida.txt", kAbsent}, {"u.dat", kAbsent}, {"ucentral.dat", kAbsent}}},
        FileFault{"HistoryIsADirectory", "ucentral.dat", Fault::Directory, kSmall,
                  denied("ucentral.dat"), {{"saida.txt", kKept}, {"u.dat", kAbsent}}},
        FileFault{"ReportIsADirectory", "saida.txt", Fault::Directory, kSmall,
                  denied("saida.txt"), {{"u.dat", kKept}, {"ucentral.dat", kComplete}}},
        FileFault{"ProfileIsADirectory", "u.dat", Fault::Directory, kSmall, denied("u.dat"),
                  {{"saida.txt", kEmpty}, {"ucentral.dat", kComplete}}},

        // A dangling link: the existence test finds no file, the exclusive
        // create finds the name, and nothing is created through the link.
        FileFault{"ParametersAreADanglingLink", "dados.txt", Fault::DanglingLink, kSmall,
                  exists("dados.txt"),
                  {{"saida.txt", kAbsent}, {"u.dat", kAbsent}, {"ucentral.dat", kAbsent}}},
        FileFault{"HistoryIsADanglingLink", "ucentral.dat", Fault::DanglingLink, kSmall,
                  exists("ucentral.dat"), {{"saida.txt", kAbsent}, {"u.dat", kAbsent}}},
        FileFault{"ReportIsADanglingLink", "saida.txt", Fault::DanglingLink, kSmall,
                  exists("saida.txt"), {{"u.dat", kAbsent}, {"ucentral.dat", kComplete}}},
        FileFault{"ProfileIsADanglingLink", "u.dat", Fault::DanglingLink, kSmall,
                  exists("u.dat"), {{"saida.txt", kKept}, {"ucentral.dat", kComplete}}},

        // Permissions, as an unprivileged user. A read-only file is connected
        // for reading only: parameters read normally, a result file fails at
        // its first WRITE. A file neither readable nor writable fails to open.
        FileFault{"ReadOnlyParametersAreRead", "dados.txt", Fault::ReadOnlyFile, kSmall, "",
                  {{"saida.txt", kComplete}, {"u.dat", kComplete}, {"ucentral.dat", kComplete}}},
        FileFault{"LockedParameters", "dados.txt", Fault::LockedFile, kSmall, denied("dados.txt"),
                  {{"saida.txt", kAbsent}, {"u.dat", kAbsent}, {"ucentral.dat", kAbsent}}},
        FileFault{"MissingParametersInReadOnlyFolder", "dados.txt", Fault::ReadOnlyFolder, kSmall,
                  denied("dados.txt"),
                  {{"saida.txt", kAbsent}, {"u.dat", kAbsent}, {"ucentral.dat", kAbsent}}},
        FileFault{"ReadOnlyHistory", "ucentral.dat", Fault::ReadOnlyFile, kSmall,
                  write_refused("ucentral.dat"), {{"saida.txt", kKept}, {"u.dat", kAbsent}}},
        FileFault{"LockedHistory", "ucentral.dat", Fault::LockedFile, kSmall,
                  denied("ucentral.dat"), {{"saida.txt", kAbsent}, {"u.dat", kKept}}},
        FileFault{"MissingHistoryInReadOnlyFolder", "ucentral.dat", Fault::ReadOnlyFolder, kSmall,
                  denied("ucentral.dat"), {{"saida.txt", kAbsent}, {"u.dat", kAbsent}}},
        FileFault{"ReadOnlyReport", "saida.txt", Fault::ReadOnlyFile, kSmall,
                  write_refused("saida.txt"), {{"u.dat", kEmpty}, {"ucentral.dat", kComplete}}},
        FileFault{"LockedReport", "saida.txt", Fault::LockedFile, kSmall, denied("saida.txt"),
                  {{"u.dat", kAbsent}, {"ucentral.dat", kComplete}}},
        FileFault{"MissingReportInReadOnlyFolder", "saida.txt", Fault::ReadOnlyFolder, kSmall,
                  denied("saida.txt"), {{"u.dat", kAbsent}, {"ucentral.dat", kComplete}}},
        // The profile's first WRITE comes after the report's rows of volume 1.
        FileFault{"ReadOnlyProfile", "u.dat", Fault::ReadOnlyFile, kSmall, write_refused("u.dat"),
                  {{"saida.txt", first(report_through_row(5, 1))}, {"ucentral.dat", kComplete}}},
        FileFault{"LockedProfile", "u.dat", Fault::LockedFile, kSmall, denied("u.dat"),
                  {{"saida.txt", kEmpty}, {"ucentral.dat", kComplete}}},
        FileFault{"MissingProfileInReadOnlyFolder", "u.dat", Fault::ReadOnlyFolder, kSmall,
                  denied("u.dat"), {{"saida.txt", kKept}, {"ucentral.dat", kComplete}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Parameters whose solution blows up in iteration k: the history keeps the
// k - 1 finished records, exactly those of a run that stops after k - 1.
struct BlowUp {
    friend void PrintTo(const BlowUp& c, std::ostream* out) { *out << c.name; }
    const char* name;
    const char* N;
    const char* Re;
    const char* beta;
    int k;
    std::string standard_error;
    bool earlier_results;  // saida.txt and u.dat exist before the run
};

std::string parameters(const BlowUp& c, int itmax) {
    return std::string(c.N) + "\r\n" + c.Re + "\r\n" + c.beta + "\r\n" + std::to_string(itmax) +
           "\r\n";
}

class BlownUpRun : public ::testing::TestWithParam<BlowUp> {};

TEST_P(BlownUpRun, HistoryHoldsTheFinishedIterations) {
    const BlowUp& c = GetParam();
    BurgersRun finished;
    ASSERT_EQ(finished.run_with_parameters(parameters(c, c.k - 1)).exit_status, 0);
    const std::string history = finished.read("ucentral.dat").value();
    ASSERT_EQ(records(history).size(), static_cast<std::size_t>(c.k - 1));

    BurgersRun run;
    if (c.earlier_results) {
        run.write("saida.txt", kEarlier);
        run.write("u.dat", kEarlier);
    }
    const std::string dados = parameters(c, 200);
    const ChildResult result = run.run_with_parameters(dados);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, c.standard_error);
    EXPECT_EQ(run.read("ucentral.dat"), history);
    const std::optional<std::string> untouched =
        c.earlier_results ? std::optional<std::string>(kEarlier) : std::nullopt;
    EXPECT_EQ(run.read("saida.txt"), untouched);
    EXPECT_EQ(run.read("u.dat"), untouched);
    EXPECT_EQ(run.read("dados.txt"), dados);
    EXPECT_EQ(run.commands(), kFirstCommandOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, BlownUpRun,
    ::testing::Values(
        BlowUp{"PowerOverflowInIteration3", "5", "10.0", "1e100", 3,
               math_frame("M6203", "**: OVERFLOW error"), true},
        BlowUp{"HardwareOverflowInIteration17", "4", "1.0", "1e10", 17,
               math_frame("M6104", "floating-point error: overflow"), false},
        BlowUp{"PowerOverflowInIteration7", "5", "100.0", "1e10", 7,
               math_frame("M6203", "**: OVERFLOW error"), true},
        // 100 records, 3600 bytes: most passed on during the run, the rest
        // when the stop closes the unit.
        BlowUp{"PowerOverflowInIteration101", "5", "10.0", "2", 101,
               math_frame("M6203", "**: OVERFLOW error"), false}),
    [](const auto& info) { return std::string(info.param.name); });

// Peak resident set size of an ordinary small run, the yardstick for runs that
// must not need more memory than it. A forked child starts with the test
// process's pages, so the yardstick is taken right before the run it judges.
long ordinary_peak_kib() {
    BurgersRun run;
    run.write("dados.txt", kSmall);
    return run.run_with({}).peak_rss_kib;
}
constexpr long kAllowedGrowthKib = 8 * 1024;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

struct VolumeCount {
    friend void PrintTo(const VolumeCount& c, std::ostream* out) { *out << c.name; }
    const char* name;
    const char* N;
    std::string standard_error;
    // The first array fits the machine and is granted before the second is
    // refused; the address sanitizer then maps shadow memory for it (2 GiB).
    bool grants_an_array;
};

class VolumeCountRun : public ::testing::TestWithParam<VolumeCount> {};

// Seven arrays of 2147483647 reals are 112 GiB: refused before any of them is
// touched and before any result file is opened, never a kill by the system.
TEST_P(VolumeCountRun, RefusedBeforeAnyResultFile) {
    const VolumeCount& c = GetParam();
    BurgersRun run;
    const std::string dados = std::string(c.N) + "\r\n10.0\r\n0.5\r\n3\r\n";
    run.write("dados.txt", dados);
    const long ordinary_peak = ordinary_peak_kib();
    const MeasuredResult result = run.run_with({});
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, c.standard_error);
    for (const char* name : kResultFiles) EXPECT_FALSE(run.read(name).has_value()) << name;
    EXPECT_EQ(run.read("dados.txt"), dados);
    EXPECT_EQ(run.commands(), kFirstCommandOnly);
    if (!(kAddressSanitizer && c.grants_an_array)) {
        EXPECT_LE(result.peak_rss_kib, ordinary_peak + kAllowedGrowthKib);
    }
}

const std::string kNoMemory = "\r\nrun-time error F6772\r\n- not enough memory for array\r\n";
const std::string kNoVolume =
    "\r\nrun-time error F6773\r\n- N below 1: no control volume to allocate\r\n";

INSTANTIATE_TEST_SUITE_P(Counts, VolumeCountRun,
                         ::testing::Values(VolumeCount{"Largest", "2147483647", kNoMemory, true},
                                           VolumeCount{"Zero", "0", kNoVolume, false},
                                           VolumeCount{"Negative", "-5", kNoVolume, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whatever the command interpreter does, the run goes on and ends normally
// with complete files and nothing of its own on standard error.
struct Interpreter {
    friend void PrintTo(const Interpreter& c, std::ostream* out) { *out << c.name; }
    const char* name;
    // Prepares the interpreter in `run` and gives COMSPEC (nothing: unset).
    std::function<std::optional<std::string>(const BurgersRun&)> prepare;
    enum { Stub, Shell, Nothing } log;  // what the command log holds afterwards
};

// Stand-ins for the editor and the plotting program, found on PATH by the
// POSIX shell that runs the commands when COMSPEC is unset or empty.
void install_programs(const BurgersRun& run) {
    for (const char* program : {"notepad", "wgnuplot"}) {
        run.write_tool(program, std::string("#!/bin/sh\nprintf '%s %s\\n' ") + program +
                                    " \"$1\" >> '" + run.log_path() + "'\n");
    }
}

std::string padded_stub_path(const BurgersRun& run, std::size_t length) {
    const std::string directory = run.tools_directory();
    return directory + std::string(length - directory.size() - 7, '/') + "comspec";
}

std::optional<std::string> logging_interpreter(const BurgersRun& run, const std::string& ending) {
    run.write_tool("interpreter", "#!/bin/sh\nprintf '%s %s\\n' \"$1\" \"$2\" >> '" +
                                      run.log_path() + "'\n" + ending);
    return run.tool_path("interpreter");
}

class InterpreterRun : public ::testing::TestWithParam<Interpreter> {};

TEST_P(InterpreterRun, RunGoesOnAndEndsNormally) {
    const Interpreter& c = GetParam();
    const auto undisturbed = undisturbed_files(kSmall);
    BurgersRun run;
    run.write("dados.txt", kSmall);
    install_programs(run);
    RunSettings settings;
    settings.environment = {{"COMSPEC", c.prepare(run)},
                            {"PATH", run.tools_directory() + ":/usr/bin:/bin"}};
    const MeasuredResult result = run.run_with(settings);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
    for (const char* name : kResultFiles) EXPECT_EQ(run.read(name), undisturbed.at(name)) << name;
    const std::vector<std::string> shell_log = {"notepad dados.txt", "wgnuplot ucentral.gnu",
                                                "wgnuplot u.gnu", "notepad saida.txt"};
    const std::vector<std::string> expected_log =
        c.log == Interpreter::Stub ? kCommands
        : c.log == Interpreter::Shell ? shell_log
                                      : std::vector<std::string>{};
    EXPECT_EQ(run.commands(), expected_log);
}

INSTANTIATE_TEST_SUITE_P(
    Comspec, InterpreterRun,
    ::testing::Values(
        Interpreter{"Unset", [](const BurgersRun&) { return std::optional<std::string>(); },
                    Interpreter::Shell},
        Interpreter{"Empty", [](const BurgersRun&) { return std::optional<std::string>(""); },
                    Interpreter::Shell},
        Interpreter{"Exactly260Characters",
                    [](const BurgersRun& run) {
                        return std::optional<std::string>(padded_stub_path(run, 260));
                    },
                    Interpreter::Stub},
        Interpreter{"Over260Characters",
                    [](const BurgersRun& run) {
                        return std::optional<std::string>(padded_stub_path(run, 261));
                    },
                    Interpreter::Nothing},
        Interpreter{"MissingFile",
                    [](const BurgersRun& run) {
                        return std::optional<std::string>(run.tool_path("no-such-interpreter"));
                    },
                    Interpreter::Nothing},
        Interpreter{"NotExecutable",
                    [](const BurgersRun& run) {
                        const std::optional<std::string> path = logging_interpreter(run, "");
                        chmod(path->c_str(), 0644);
                        return path;
                    },
                    Interpreter::Nothing},
        Interpreter{"ExitsNonzero",
                    [](const BurgersRun& run) { return logging_interpreter(run, "exit 7\n"); },
                    Interpreter::Stub},
        Interpreter{"KillsItself",
                    [](const BurgersRun& run) {
                        return logging_interpreter(run, "kill -KILL $$\n");
                    },
                    Interpreter::Stub}),
    [](const auto& info) { return std::string(info.param.name); });

// Parameter files far larger than their values: read through the unit's
// buffer, so the run needs no more memory than an ordinary one.
struct LargeInput {
    friend void PrintTo(const LargeInput& c, std::ostream* out) { *out << c.name; }
    const char* name;
    const char* filler;        // repeated before the values
    std::size_t filler_bytes;  // how many bytes of it
    std::string standard_error;  // empty: the values are read and the run ends normally
};

void write_parameters_after(const std::string& path, const LargeInput& c) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string unit(c.filler);
    std::string chunk;
    while (chunk.size() < (1u << 20)) chunk += unit;
    for (std::size_t written = 0; written < c.filler_bytes; written += chunk.size()) {
        out.write(chunk.data(), static_cast<std::streamsize>(
                                    std::min(chunk.size(), c.filler_bytes - written)));
    }
    out << kSmall;
}

class LargeInputRun : public ::testing::TestWithParam<LargeInput> {};

TEST_P(LargeInputRun, BoundedMemory) {
    const LargeInput& c = GetParam();
    const auto undisturbed = undisturbed_files(kSmall);
    BurgersRun run;
    write_parameters_after(run.path("dados.txt"), c);
    const long ordinary_peak = ordinary_peak_kib();
    const MeasuredResult result = run.run_with({});
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exit_status, c.standard_error.empty() ? 0 : 1);
    EXPECT_EQ(result.standard_error, c.standard_error);
    for (const char* name : kResultFiles) {
        if (c.standard_error.empty()) {
            EXPECT_EQ(run.read(name), undisturbed.at(name)) << name;
        } else {
            EXPECT_FALSE(run.read(name).has_value()) << name;
        }
    }
    EXPECT_EQ(run.commands(), c.standard_error.empty() ? kCommands : kFirstCommandOnly);
    EXPECT_LE(result.peak_rss_kib, ordinary_peak + kAllowedGrowthKib);
}

const std::string kTooLong =
    unit_frame("F6510", "READ", "dados.txt", "value longer than 259 characters");

INSTANTIATE_TEST_SUITE_P(
    Files, LargeInputRun,
    ::testing::Values(LargeInput{"FiftyMegabytesOfBlankLines", "\r\n", 50u << 20, ""},
                      LargeInput{"FiftyMegabytesOfBlanksInOneRecord", " \t", 50u << 20, ""},
                      // The digits run straight into the 5 of the first line.
                      LargeInput{"MillionDigitValue", "1", 1000000, kTooLong}),
    [](const auto& info) { return std::string(info.param.name); });

// A parameters file that never ends (a device giving NUL bytes forever) stops
// at once at the value-length limit.
TEST(EndlessParameters, StopAtTheValueLengthLimit) {
    BurgersRun run;
    ASSERT_EQ(symlink("/dev/zero", run.path("dados.txt").c_str()), 0);
    const MeasuredResult result = run.run_with({});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, kTooLong);
    for (const char* name : kResultFiles) EXPECT_FALSE(run.read(name).has_value()) << name;
    EXPECT_EQ(run.commands(), kFirstCommandOnly);
}

}  // namespace
