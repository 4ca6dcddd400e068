// Whole runs of the real executable: the three result files byte for byte
// where their content is fixed, and consistent with each other and with the
// equations where it is computed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/burgers_run.h"
#include "tests/support/worked_example.h"

namespace {

const std::vector<std::string> kCommands = {
    "/c notepad dados.txt",
    "/c wgnuplot ucentral.gnu",
    "/c wgnuplot u.gnu",
    "/c notepad saida.txt",
};

std::string parameters(int N, double Re, double beta, int itmax) {
    char text[200];
    std::snprintf(text, sizeof text, "%d\r\n%.17g\r\n%.17g\r\n%d\r\n", N, Re, beta, itmax);
    return text;
}

// A field of the report as a number; the three-digit exponent form has no letter.
double field(const std::string& line, std::size_t first_column, std::size_t width) {
    const std::string text = line.substr(first_column - 1, width);
    const std::size_t exponent_sign = text.find_last_of("+-");
    const bool letter_missing = exponent_sign != std::string::npos && exponent_sign > 0 &&
                                std::isdigit(static_cast<unsigned char>(text[exponent_sign - 1]));
    if (!letter_missing) return std::strtod(text.c_str(), nullptr);
    const std::string with_letter =
        text.substr(0, exponent_sign).append("E").append(text.substr(exponent_sign));
    return std::strtod(with_letter.c_str(), nullptr);
}

void expect_close(double actual, double expected, double relative, const std::string& what) {
    const double scale = std::fmax(std::fabs(expected), 1e-300);
    EXPECT_LE(std::fabs(actual - expected), relative * scale)
        << what << ": " << actual << " vs " << expected;
}

TEST(WholeRun, WorkedExampleFixedLines) {
    BurgersRun run;
    const ChildResult result = run.run_with_parameters("5\r\n10.0\r\n0.5\r\n100\r\n");
    ASSERT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");

    const std::vector<std::string> report = records(run.read("saida.txt").value());
    ASSERT_EQ(report.size(), 2u * 5 + 29);
    for (std::size_t i = 0; i < kWorkedExampleStart.size(); ++i) {
        EXPECT_EQ(report[i], kWorkedExampleStart[i]) << "line " << i + 1;
    }
    EXPECT_EQ(report[19],
              "         5   -1.000000000000000E+00    0.000000000000000E+00    "
              "1.000000000000000E+00    2.000000000000000E+00");
    EXPECT_EQ(report[20], "");
    EXPECT_EQ(report[21], "");
    EXPECT_EQ(report[22], "Solu\xE7\xF5" "es num\xE9ricas");
    EXPECT_EQ(report[24],
              "    Volume     Posi\xE7\xE3o [m]        Vel. num\xE9rica [m/s]      Vel. "
              "anal\xEDtica [m/s]     Erro num\xE9rico [m/s]");
    EXPECT_EQ(report[25],
              "         1     0.000000000E+00    0.000000000000000E+00    "
              "0.000000000000000E+00    0.000000000000000E+00");
    EXPECT_EQ(report[26].substr(0, 30), "         2     1.666666667E-01");
    EXPECT_EQ(report[27].substr(0, 30), "         3     5.000000000E-01");
    EXPECT_EQ(report[28].substr(0, 30), "         4     8.333333333E-01");
    EXPECT_EQ(report[29],
              "         5     1.000000000E+00    1.000000000000000E+00    "
              "1.000000000000000E+00    0.000000000000000E+00");
    EXPECT_EQ(report[32].substr(0, 39), "Velocidade m\xE9" "dia num\xE9rica  [m/s]:      ");
    EXPECT_EQ(report[33].substr(0, 39), "Velocidade m\xE9" "dia anal\xEDtica [m/s]:      ");
    EXPECT_EQ(report[34].substr(0, 39), "Erro num\xE9rico para a velocidade m\xE9" "dia: ");
    EXPECT_EQ(report[37].substr(0, 14), "Norma L1:     ");
    EXPECT_EQ(report[38].substr(0, 14), "Norma L1 / N: ");

    const std::vector<std::string> profile = records(run.read("u.dat").value());
    ASSERT_EQ(profile.size(), 5u);
    EXPECT_EQ(profile.front(),
              "     0.000000000E+00    0.000000000000000E+00    0.000000000000000E+00");
    EXPECT_EQ(profile.back(),
              "     1.000000000E+00    1.000000000000000E+00    1.000000000000000E+00");

    const std::vector<std::string> history = records(run.read("ucentral.dat").value());
    ASSERT_EQ(history.size(), 100u);
    EXPECT_EQ(history[0].substr(0, 9), "        1");
    EXPECT_EQ(history[99].substr(0, 9), "      100");
    EXPECT_EQ(run.commands(), kCommands);
}

struct Case {
    friend void PrintTo(const Case& c, std::ostream* out) {
        *out << c.N << " " << c.Re << " " << c.beta << " " << c.itmax;
    }
    int N;
    double Re;
    double beta;
    int itmax;
};

class ConsistentRun : public ::testing::TestWithParam<Case> {};

// The report agrees with the profile, with the exact solution and with the
// tridiagonal equations of its own coefficient table.
TEST_P(ConsistentRun, ReportProfileAndHistoryAgree) {
    const Case c = GetParam();
    BurgersRun run;
    const ChildResult result = run.run_with_parameters(parameters(c.N, c.Re, c.beta, c.itmax));
    ASSERT_EQ(result.exit_status, 0) << result.standard_error;
    EXPECT_EQ(result.standard_error, "");

    const std::string report_bytes = run.read("saida.txt").value();
    const std::string profile_bytes = run.read("u.dat").value();
    const std::string history_bytes = run.read("ucentral.dat").value();
    for (const std::string* bytes : {&report_bytes, &profile_bytes, &history_bytes}) {
        for (const std::string& line : records(*bytes)) {
            ASSERT_TRUE(line.empty() || line.back() != ' ') << "[" << line << "]";
            ASSERT_EQ(line.find('\n'), std::string::npos);
        }
    }
    const std::vector<std::string> report = records(report_bytes);
    const std::vector<std::string> profile = records(profile_bytes);
    const std::vector<std::string> history = records(history_bytes);
    const std::size_t N = static_cast<std::size_t>(c.N);
    ASSERT_EQ(report.size(), 2 * N + 29);
    ASSERT_EQ(profile.size(), N);
    ASSERT_EQ(history.size(), static_cast<std::size_t>(c.itmax));
    for (int it = 1; it <= c.itmax; ++it) {
        EXPECT_EQ(std::atoi(history[it - 1].substr(0, 9).c_str()), it);
        EXPECT_EQ(history[it - 1].size(), 34u);
    }

    const double dx = 1.0 / (c.N - 2.0);
    std::vector<double> u(N + 2), ua(N + 2), aw(N + 2), ae(N + 2), ap(N + 2), bp(N + 2);
    double sum_u = 0.0, sum_error = 0.0;
    for (std::size_t i = 1; i <= N; ++i) {
        const std::string& row = report[15 + i - 1];
        EXPECT_EQ(std::atoi(row.substr(0, 10).c_str()), static_cast<int>(i));
        aw[i] = field(row, 11, 25);
        ae[i] = field(row, 36, 25);
        ap[i] = field(row, 61, 25);
        bp[i] = field(row, 86, 25);
        const std::string& solution = report[20 + N + i - 1];
        EXPECT_EQ(solution.substr(10, 70), profile[i - 1]) << "row " << i;
        u[i] = field(solution, 31, 25);
        ua[i] = field(solution, 56, 25);
        if (i > 1 && i < N) {
            const double x = (static_cast<double>(i) - 1.5) * dx;
            expect_close(field(solution, 11, 20), x, 1e-9, "x");
            const double exact = (std::exp(c.Re * x) - 1.0) / (std::exp(c.Re) - 1.0);
            expect_close(ua[i], exact, 1e-12, "ua");
            expect_close(field(solution, 81, 25), ua[i] - u[i], 1e-9, "error column");
            sum_u += u[i];
            sum_error += std::fabs(field(solution, 81, 25));
        }
    }
    // Fictitious volumes: their rows make u(1) = -u(2) and u(N) = 2 - u(N-1).
    u[1] = -u[2];
    u[N] = 2.0 - u[N - 1];
    for (std::size_t i = 2; i < N; ++i) {
        const double scale = std::fabs(ap[i] * u[i]) + std::fabs(aw[i] * u[i - 1]) +
                             std::fabs(ae[i] * u[i + 1]) + std::fabs(bp[i]);
        EXPECT_LE(std::fabs(ap[i] * u[i] - aw[i] * u[i - 1] - ae[i] * u[i + 1] - bp[i]),
                  1e-9 * scale)
            << "row " << i;
    }
    const std::size_t means = 20 + 2 * N + 2;
    const double um = field(report[means], 40, 25);
    const double uma = field(report[means + 1], 40, 25);
    expect_close(um, dx * sum_u, 1e-12, "um");
    expect_close(uma, (std::exp(c.Re) - c.Re - 1.0) / ((std::exp(c.Re) - 1.0) * c.Re), 1e-13,
                 "uma");
    expect_close(field(report[means + 2], 40, 25), uma - um, 1e-9, "uma - um");
    const double L1 = field(report[means + 5], 15, 25);
    expect_close(L1, sum_error, 1e-12, "L1");
    expect_close(field(report[means + 6], 15, 25), L1 / (c.N - 2.0), 1e-15, "L1 / N");
}

INSTANTIATE_TEST_SUITE_P(Cases, ConsistentRun,
                         ::testing::Values(Case{3, 1.0, 0.5, 10}, Case{5, 10.0, 0.5, 100},
                                           Case{10, 10.0, 1.0, 50}, Case{11, -10.0, 0.5, 50},
                                           Case{12, 10.0, -0.5, 20}, Case{302, 50.0, 0.5, 40},
                                           Case{102, 300.0, 0.0, 5}),
                         [](const auto& info) {
                             const Case& c = info.param;
                             char text[80];
                             std::snprintf(text, sizeof text, "N%d_Re%d_beta%d_itmax%d", c.N,
                                           static_cast<int>(c.Re), static_cast<int>(c.beta * 10),
                                           c.itmax);
                             std::string name = text;
                             for (char& ch : name) {
                                 if (ch == '-') ch = 'm';
                             }
                             return name;
                         });

struct FailureCase {
    friend void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.dados; }
    const char* name;
    const char* dados;
    std::string standard_error;
    bool history_created;  // ucentral.dat exists afterwards (empty)
};

class FailedRun : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedRun, FrameAndStatusAndFiles) {
    const FailureCase& c = GetParam();
    BurgersRun run;
    const ChildResult result = run.run_with_parameters(c.dados);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, c.standard_error);
    EXPECT_FALSE(run.read("saida.txt").has_value());
    EXPECT_FALSE(run.read("u.dat").has_value());
    EXPECT_EQ(run.read("ucentral.dat").has_value(), c.history_created);
    if (c.history_created) {
        EXPECT_EQ(run.read("ucentral.dat").value(), "");
    }
    EXPECT_EQ(run.commands(), std::vector<std::string>{kCommands[0]});
}

INSTANTIATE_TEST_SUITE_P(
    Stops, FailedRun,
    ::testing::Values(
        FailureCase{"TwoVolumes", "2\n1.0\n0.5\n10\n",
                    math_frame("M6103", "floating-point error: divide by zero"), false},
        FailureCase{"ZeroReynolds", "5\n0\n0.5\n10\n",
                    math_frame("M6101", "floating-point error: invalid"), false},
        FailureCase{"ExpOverflow", "5\n710\n0.5\n10\n", math_frame("M6203", "exp: OVERFLOW error"),
                    false},
        FailureCase{"PowerOverflow", "5\n400\n0.5\n1\n", math_frame("M6203", "**: OVERFLOW error"),
                    true},
        FailureCase{"NoVolume", "0\n1.0\n0.5\n10\n",
                    "\r\nrun-time error F6773\r\n- N below 1: no control volume to allocate\r\n",
                    false},
        FailureCase{"RealForN", "21.0\n1.0\n0.5\n10\n",
                    unit_frame("F6101", "READ", "dados.txt", "invalid character in integer value"),
                    false},
        FailureCase{"TooFewValues", "21\n1.0\n0.5\n",
                    unit_frame("F6501", "READ", "dados.txt", "end of file"), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WholeRun, MissingParametersFileIsLeftBehindEmpty) {
    BurgersRun run;
    const ChildResult result = run.run();
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, unit_frame("F6501", "READ", "dados.txt", "end of file"));
    EXPECT_EQ(run.read("dados.txt").value(), "");
}

TEST(WholeRun, EarlierResultsAreReplacedOrKept) {
    BurgersRun run;
    const std::string old_history = "earlier history\r\n";
    run.write("ucentral.dat", old_history);
    run.write("saida.txt", std::string(100000, 'x'));
    ASSERT_EQ(run.run_with_parameters("3\n1.0\n0.5\n0\n").exit_status, 0);
    EXPECT_EQ(run.read("ucentral.dat").value(), old_history);  // no record: never cut
    const std::vector<std::string> report = records(run.read("saida.txt").value());
    ASSERT_EQ(report.size(), 35u);
    EXPECT_EQ(report.back().substr(0, 14), "Norma L1 / N: ");
    EXPECT_EQ(field(report[33], 15, 25), 0.0);  // L1 without iterations
}

// Without COMSPEC the system's own interpreter runs the four commands: the
// stand-ins for the editor and the plotting program receive their arguments.
TEST(WholeRun, WithoutComspecTheSystemInterpreterRunsTheCommands) {
    BurgersRun run;
    run.write("dados.txt", "3\n1.0\n0.5\n2\n");
    const ChildResult result = run.run_without_comspec();
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
    EXPECT_EQ(records(run.read("ucentral.dat").value()).size(), 2u);
    EXPECT_EQ(run.commands(),
              (std::vector<std::string>{"dados.txt", "ucentral.gnu", "u.gnu", "saida.txt"}));
}

}  // namespace
