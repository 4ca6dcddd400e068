#include "runtime/run_command.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

namespace {

// Sets (or, with no value, removes) an environment variable while it lives.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A stand-in for a cmd-style interpreter: it logs its arguments one per line,
// insists on "/c", and runs the command text with the POSIX shell in its place.
class StubInterpreter {
public:
    explicit StubInterpreter(const TempDir& directory)
        : path_(directory / "stub.sh"), log_(directory / "arguments.log") {
        write_file(path_, "#!/bin/sh\n"
                          ": > '" + log_ + "'\n"
                          "for a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + log_ + "'; done\n"
                          "[ \"$1\" = /c ] && [ $# -eq 2 ] || exit 99\n"
                          "exec /bin/sh -c \"$2\"\n");
        ::chmod(path_.c_str(), 0755);
    }
    const std::string& path() const { return path_; }
    std::optional<std::string> arguments() const { return read_file(log_); }

private:
    std::string path_;
    std::string log_;
};

std::int32_t run(const std::string& text) { return run_command(text.data(), text.size()); }

struct CommandCase {
    std::string text;
    std::size_t length;
    std::string passed;  // the command text the interpreter gets
    std::int32_t status;
};

TEST(RunCommand, PassesSlashCAndTheTextWithoutTrailingBlanks) {
    TempDir directory;
    StubInterpreter stub(directory);
    ScopedVariable comspec("COMSPEC", stub.path());
    const std::string longest = "exit 5 #" + std::string(1016, 'x');
    const CommandCase cases[] = {
        {"notepad dados.txt", 17, "notepad dados.txt", 127},  // no editor here: the shell says 127
        {"exit 0   ", 9, "exit 0", 0},
        {"exit 3 and more", 6, "exit 3", 3},  // the length bounds the text
        {"exit 4 \t", 8, "exit 4 \t", 4},   // only blanks are dropped
        {"  exit 6", 8, "  exit 6", 6},
        {longest, longest.size(), longest, 5},
        {longest + std::string(500, ' '), longest.size() + 500, longest, 5},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.passed.substr(0, 40));
        EXPECT_EQ(run_command(c.text.data(), c.length), c.status);
        EXPECT_EQ(stub.arguments(), "/c\n" + c.passed + "\n");
    }
}

TEST(RunCommand, NothingStartsForAnOverlongCommand) {
    TempDir directory;
    StubInterpreter stub(directory);
    ScopedVariable comspec("COMSPEC", stub.path());
    EXPECT_EQ(run("exit 0 #" + std::string(1017, 'x')), -1);
    EXPECT_EQ(stub.arguments(), std::nullopt);
}

// "/./" steps lengthen the interpreter's name without changing the file.
std::string name_of_length(const StubInterpreter& stub, std::size_t length) {
    const std::size_t slash = stub.path().rfind('/');
    std::string name = stub.path().substr(0, slash);
    while (name.size() + 2 + (stub.path().size() - slash) <= length) name += "/.";
    name += stub.path().substr(slash);
    if (name.size() < length) name.insert(slash, "/");  // one more slash evens it out
    return name;
}

TEST(RunCommand, InterpreterNameOfAtMost260Characters) {
    TempDir directory;
    StubInterpreter stub(directory);
    const std::string at_limit = name_of_length(stub, 260);
    const std::string over_limit = name_of_length(stub, 261);
    ASSERT_EQ(at_limit.size(), 260u);
    ASSERT_EQ(over_limit.size(), 261u);
    {
        ScopedVariable comspec("COMSPEC", at_limit);
        EXPECT_EQ(run("exit 9"), 9);
        EXPECT_EQ(stub.arguments(), "/c\nexit 9\n");
    }
    std::filesystem::remove(directory / "arguments.log");
    {
        ScopedVariable comspec("COMSPEC", over_limit);
        EXPECT_EQ(run("exit 9"), -1);
        EXPECT_EQ(stub.arguments(), std::nullopt);
    }
}

TEST(RunCommand, InterpreterIsLookedUpOnThePath) {
    TempDir directory;
    StubInterpreter stub(directory);
    ScopedVariable path("PATH", directory.path() + ":" + std::getenv("PATH"));
    ScopedVariable comspec("COMSPEC", "stub.sh");
    EXPECT_EQ(run("exit 2"), 2);
    EXPECT_EQ(stub.arguments(), "/c\nexit 2\n");
}

TEST(RunCommand, MissingInterpreterGivesMinusOne) {
    TempDir directory;
    for (const std::string& missing : {directory / "cmd.exe", std::string("no-such-interpreter")}) {
        SCOPED_TRACE(missing);
        ScopedVariable comspec("COMSPEC", missing);
        EXPECT_EQ(run("exit 0"), -1);
    }
}

TEST(RunCommand, WithoutComspecTheShellRunsTheText) {
    TempDir directory;
    for (const std::optional<std::string>& value : {std::optional<std::string>(), std::optional<std::string>("")}) {
        SCOPED_TRACE(value ? "COMSPEC empty" : "COMSPEC unset");
        ScopedVariable comspec("COMSPEC", value);
        std::filesystem::remove(directory / "marker.txt");
        EXPECT_EQ(run("cd '" + directory.path() + "' && printf 'a b' > marker.txt   "), 0);
        EXPECT_EQ(read_file(directory / "marker.txt"), "a b");
        EXPECT_EQ(run("exit 4"), 4);
    }
}

TEST(RunCommand, StatusOfAKilledInterpreterIs128PlusTheSignal) {
    TempDir directory;
    StubInterpreter stub(directory);
    ScopedVariable comspec("COMSPEC", stub.path());
    EXPECT_EQ(run("kill -KILL $$"), 128 + 9);
    EXPECT_EQ(run("kill -TERM $$"), 128 + 15);
}

TEST(RunCommand, ReturnsOnlyAfterTheInterpreterHasEnded) {
    TempDir directory;
    StubInterpreter stub(directory);
    ScopedVariable comspec("COMSPEC", stub.path());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run("sleep 1; printf done > '" + directory / "late.txt" + "'"), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(read_file(directory / "late.txt"), "done");
    EXPECT_GE(waited, std::chrono::milliseconds(900));
}

}  // namespace
