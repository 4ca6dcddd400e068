#include "driver/dados.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/error_messages.h"
#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

namespace {

std::string parameters_text(std::int32_t N, double Re, double beta, std::int32_t itmax) {
    char text[96];
    std::snprintf(text, sizeof text, "%" PRId32 " %016" PRIX64 " %016" PRIX64 " %" PRId32, N,
                  std::bit_cast<std::uint64_t>(Re), std::bit_cast<std::uint64_t>(beta), itmax);
    return text;
}

// A stand-in command interpreter: logs its arguments and working directory,
// runs `action` (shell text) and exits with `status`.
std::string write_interpreter(const TempDir& dir, const std::string& action, int status) {
    const std::string path = dir / "interpreter.sh";
    write_file(path, "#!/bin/sh\n"
                     "for argument in \"$@\"; do printf '%s|' \"$argument\"; done >> '" +
                         dir / "commands.log" + "'\n"
                         "pwd -P >> '" + dir / "commands.log" + "'\n" +
                         action + "\nexit " + std::to_string(status) + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

// Runs dados in a child inside `dir` with COMSPEC set to `interpreter`; the
// parameters read come back on standard error.
ChildResult run_dados(const TempDir& dir, const std::string& interpreter) {
    WorkingDirectory inside(dir.path());
    return run_in_child([&] {
        setenv("COMSPEC", interpreter.c_str(), 1);
        ProblemState s;
        dados(s);
        const std::string text = parameters_text(s.N, s.Re, s.beta, s.itmax);
        if (::write(2, text.data(), text.size()) < 0) std::_Exit(3);
    });
}

std::string logged_run(const TempDir& dir) {
    return "/c|notepad dados.txt|" + std::filesystem::canonical(dir.path()).string() + "\n";
}

TEST(Dados, RunsTheEditorThenReadsTheFourParameters) {
    TempDir dir;
    const std::string file = "21   N\r\n100.0  Re\r\n0.5    beta\r\n200    itmax\r\n";
    write_file(dir / "dados.txt", file);
    const ChildResult result = run_dados(dir, write_interpreter(dir, "", 0));
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, parameters_text(21, 100.0, 0.5, 200));
    EXPECT_EQ(read_file(dir / "commands.log"), logged_run(dir));
    EXPECT_EQ(read_file(dir / "dados.txt"), file);  // never changed
}

TEST(Dados, ReadsWhatTheEditorSavedWhateverItsStatus) {
    TempDir dir;
    const ChildResult result =
        run_dados(dir, write_interpreter(dir, "printf '31\\n-50.0\\n1d0\\n10' > dados.txt", 1));
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, parameters_text(31, -50.0, 1.0, 10));
    EXPECT_EQ(read_file(dir / "commands.log"), logged_run(dir));
}

TEST(Dados, ReadsTheFileWhenNoInterpreterStarts) {
    TempDir dir;
    write_file(dir / "dados.txt", "5\n1\n0\n0\n");
    const ChildResult result = run_dados(dir, dir / "no-such-interpreter");
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, parameters_text(5, 1.0, 0.0, 0));
}

TEST(Dados, MissingFileIsLeftEmptyAndEndsTheRun) {
    TempDir dir;
    const ChildResult result = run_dados(dir, write_interpreter(dir, "", 0));
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error,
              std::string("\r\nrun-time error F6501: READ(dados.txt)\r\n- ")
                  .append(error_message(6501))
                  .append("\r\n"));
    EXPECT_EQ(read_file(dir / "dados.txt"), std::string());
    EXPECT_EQ(read_file(dir / "commands.log"), logged_run(dir));
}

}  // namespace
