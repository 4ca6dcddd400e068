#include "reports/resultados.h"

#include <cstdint>
#include <cstring>

#include "reports/format_texts.h"
#include "reports/record_writer.h"
#include "runtime/run_command.h"
#include "runtime/units.h"

namespace {

constexpr int kReportUnit = 5;
constexpr int kProfileUnit = 7;

void open_named(int unit, const char* name) { open_unit(unit, name, std::strlen(name)); }

void run(const char* command) { run_command(command, std::strlen(command)); }

void write_reals(int unit, const Format& format, std::int32_t i, const double* values, int count) {
    begin_write(unit, format);
    put_integer(i);
    for (int k = 0; k < count; ++k) put_real(values[k]);
    end_write();
}

void write_profile_row(double x, double u, double ua) {
    begin_write(kProfileUnit, format_text::kProfileRow);
    put_real(x);
    put_real(u);
    put_real(ua);
    end_write();
}

void write_one(const Format& format, double value) {
    begin_write(kReportUnit, format);
    put_real(value);
    end_write();
}

void write_one(const Format& format, std::int32_t value) {
    begin_write(kReportUnit, format);
    put_integer(value);
    end_write();
}

void write_none(const Format& format) {
    begin_write(kReportUnit, format);
    end_write();
}

}  // namespace

void resultados(const ProblemState& s) {
    open_named(kReportUnit, "saida.txt");
    open_named(kProfileUnit, "u.dat");

    write_none(format_text::kTitle);
    write_one(format_text::kN, s.N);
    write_one(format_text::kRe, s.Re);
    write_one(format_text::kBeta, s.beta);
    write_one(format_text::kItmax, s.itmax);

    write_none(format_text::kCoefficientHeader);
    for (std::int32_t i = 1; i <= s.N; ++i) {
        const double row[] = {s.aw(i), s.ae(i), s.ap(i), s.bp(i)};
        write_reals(kReportUnit, format_text::kCoefficientRow, i, row, 4);
    }

    // The first and last rows show the boundary values x = 0, u = 0 and
    // x = 1, u = 1, not what the fictitious volumes hold.
    write_none(format_text::kSolutionHeader);
    const double first[] = {0.0, 0.0, 0.0, 0.0};
    write_reals(kReportUnit, format_text::kSolutionRow, 1, first, 4);
    write_profile_row(0.0, 0.0, 0.0);
    for (std::int32_t i = 2; i <= s.N - 1; ++i) {
        const double error = s.ua(i) - s.u(i);
        const double row[] = {s.x(i), s.u(i), s.ua(i), error};
        write_reals(kReportUnit, format_text::kSolutionRow, i, row, 4);
        write_profile_row(s.x(i), s.u(i), s.ua(i));
    }
    const double last[] = {1.0, 1.0, 1.0, 0.0};
    write_reals(kReportUnit, format_text::kSolutionRow, s.N, last, 4);
    write_profile_row(1.0, 1.0, 1.0);

    write_one(format_text::kMeanNumerical, s.um);
    write_one(format_text::kMeanAnalytic, s.uma);
    const double mean_error = s.uma - s.um;
    write_one(format_text::kMeanError, mean_error);
    write_one(format_text::kL1, s.L1);
    // Divided by the number of real volumes, N - 2.
    const double real_volumes = static_cast<double>(s.N) - 2.0;
    const double l1_per_volume = s.L1 / real_volumes;
    write_one(format_text::kL1PerVolume, l1_per_volume);

    close_unit(kReportUnit);
    close_unit(kProfileUnit);

    // The files are complete and closed before any outside program starts;
    // the commands' results are not looked at.
    run("wgnuplot ucentral.gnu");
    run("wgnuplot u.gnu");
    run("notepad saida.txt");
}
