#include "reports/resultados.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"
#include "tests/support/worked_example.h"

namespace {

// N = 5, Re = 10, beta = 0.5, itmax = 100, with exact binary values chosen
// for rows 2 to 4, and fictitious-volume velocities that must not be shown.
ProblemState worked_example() {
    ProblemState s;
    s.N = 5;
    s.Re = 10.0;
    s.beta = 0.5;
    s.itmax = 100;
    s.dx = 1.0 / 3.0;
    for (RealArray* a : {&s.x, &s.u, &s.ua, &s.aw, &s.ae, &s.ap, &s.bp}) *a = RealArray(5);
    for (std::int32_t i = 2; i <= 4; ++i) {
        s.x(i) = (i - 1.5) / 3.0;
        s.aw(i) = 1.5;
        s.ae(i) = 0.25 * i;
        s.ap(i) = 2.0;
        s.bp(i) = -0.125;
    }
    s.x(1) = 0.0;
    s.x(5) = 1.0;
    s.u(1) = -0.25;
    s.u(2) = 0.25;
    s.u(3) = 0.5;
    s.u(4) = 0.75;
    s.u(5) = 1.25;
    s.ua(2) = 0.375;
    s.ua(3) = 0.5;
    s.ua(4) = 0.625;
    s.aw(1) = 0.0;
    s.ae(1) = -1.0;
    s.ap(1) = 1.0;
    s.bp(1) = 0.0;
    s.aw(5) = -1.0;
    s.ae(5) = 0.0;
    s.ap(5) = 1.0;
    s.bp(5) = 2.0;
    s.um = 0.5;
    s.uma = 0.5625;
    s.L1 = 0.375;
    return s;
}

std::string lines(const std::vector<std::string>& records) {
    std::string bytes;
    for (const std::string& r : records) bytes += r + "\r\n";
    return bytes;
}

// The worked example's heading, then the rows of this hand-made state.
const std::vector<std::string> kReport = [] {
    std::vector<std::string> report = kWorkedExampleStart;
    report.insert(report.end(), {
    "         2    1.500000000000000E+00    5.000000000000000E-01    2.000000000000000E+00   -1.250000000000000E-01",
    "         3    1.500000000000000E+00    7.500000000000000E-01    2.000000000000000E+00   -1.250000000000000E-01",
    "         4    1.500000000000000E+00    1.000000000000000E+00    2.000000000000000E+00   -1.250000000000000E-01",
    "         5   -1.000000000000000E+00    0.000000000000000E+00    1.000000000000000E+00    2.000000000000000E+00",
    "",
    "",
    "Solu\xE7\xF5"
    "es num\xE9ricas",
    "",
    "    Volume     Posi\xE7\xE3o [m]        Vel. num\xE9rica [m/s]      Vel. anal\xEDtica [m/s]     Erro num\xE9rico [m/s]",
    "         1     0.000000000E+00    0.000000000000000E+00    0.000000000000000E+00    0.000000000000000E+00",
    "         2     1.666666667E-01    2.500000000000000E-01    3.750000000000000E-01    1.250000000000000E-01",
    "         3     5.000000000E-01    5.000000000000000E-01    5.000000000000000E-01    0.000000000000000E+00",
    "         4     8.333333333E-01    7.500000000000000E-01    6.250000000000000E-01   -1.250000000000000E-01",
    "         5     1.000000000E+00    1.000000000000000E+00    1.000000000000000E+00    0.000000000000000E+00",
    "",
    "",
    "Velocidade m\xE9"
    "dia num\xE9rica  [m/s]:          5.000000000000000E-01",
    "Velocidade m\xE9"
    "dia anal\xEDtica [m/s]:          5.625000000000000E-01",
    "Erro num\xE9rico para a velocidade m\xE9"
    "dia:     6.250000000000000E-02",
    "",
    "",
    "Norma L1:         3.750000000000000E-01",
    "Norma L1 / N:     1.250000000000000E-01",  // L1 / (N - 2), not L1 / N
});
    return report;
}();

const std::vector<std::string> kProfile = {
    "     0.000000000E+00    0.000000000000000E+00    0.000000000000000E+00",
    "     1.666666667E-01    2.500000000000000E-01    3.750000000000000E-01",
    "     5.000000000E-01    5.000000000000000E-01    5.000000000000000E-01",
    "     8.333333333E-01    7.500000000000000E-01    6.250000000000000E-01",
    "     1.000000000E+00    1.000000000000000E+00    1.000000000000000E+00",
};

// Logs each command line and the report's size at that moment, so the log
// shows whether the files were complete when the command started.
const char kStub[] =
    "#!/bin/sh\n"
    "printf '%s|%s|' \"$1\" \"$2\" >> commands.log\n"
    "wc -c < saida.txt | tr -d ' \\n' >> commands.log\n"
    "printf '|' >> commands.log\n"
    "wc -c < u.dat | tr -d ' \\n' >> commands.log\n"
    "printf '\\n' >> commands.log\n";

class Resultados : public ::testing::Test {
protected:
    void run_resultados() {
        WorkingDirectory here(dir_.path());
        const std::string stub = dir_ / "interpreter.sh";
        write_file(stub, kStub);
        chmod(stub.c_str(), 0755);
        const ChildResult result = run_in_child([&] {
            setenv("COMSPEC", stub.c_str(), 1);
            resultados(worked_example());
        });
        ASSERT_EQ(result.exit_status, 0);
        ASSERT_EQ(result.standard_error, "");
    }

    TempDir dir_;
};

TEST_F(Resultados, WorkedExampleGivesTheReportAndProfileByteForByte) {
    run_resultados();
    const std::string report = read_file(dir_ / "saida.txt").value();
    const std::string profile = read_file(dir_ / "u.dat").value();
    EXPECT_EQ(kReport.size(), 2u * 5 + 29);
    EXPECT_EQ(kProfile.size(), 5u);
    EXPECT_EQ(report, lines(kReport));
    EXPECT_EQ(profile, lines(kProfile));
}

TEST_F(Resultados, NoLineEndsInABlankAndEveryOneInCrLf) {
    run_resultados();
    for (const char* name : {"saida.txt", "u.dat"}) {
        const std::string bytes = read_file(dir_ / name).value();
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
        for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
            ASSERT_GE(at, 1u);
            EXPECT_EQ(bytes[at - 1], '\r') << name << " at " << at;
            if (at >= 2) {
                EXPECT_NE(bytes[at - 2], ' ') << name << " at " << at;
            }
        }
    }
}

TEST_F(Resultados, AnExistingLongerReportIsCutToTheNewOne) {
    write_file(dir_ / "saida.txt", std::string(20000, 'Z'));
    write_file(dir_ / "u.dat", std::string(3000, 'Y') + "\r\n");
    run_resultados();
    EXPECT_EQ(read_file(dir_ / "saida.txt").value(), lines(kReport));
    EXPECT_EQ(read_file(dir_ / "u.dat").value(), lines(kProfile));
}

TEST_F(Resultados, TheCommandsRunInOrderAfterBothFilesAreClosed) {
    run_resultados();
    const std::string sizes =
        std::to_string(lines(kReport).size()) + "|" + std::to_string(lines(kProfile).size());
    EXPECT_EQ(read_file(dir_ / "commands.log").value(),
              "/c|wgnuplot ucentral.gnu|" + sizes + "\n" +
              "/c|wgnuplot u.gnu|" + sizes + "\n" +
              "/c|notepad saida.txt|" + sizes + "\n");
}

}  // namespace
