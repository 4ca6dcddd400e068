#include "driver/principal.h"

#include <cmath>

#include "driver/dados.h"
#include "numerics/analitica.h"
#include "numerics/contorno.h"
#include "numerics/fonte.h"
#include "numerics/iteracao.h"
#include "numerics/malha.h"
#include "numerics/medias.h"
#include "reports/history_record.h"
#include "reports/resultados.h"
#include "runtime/error_messages.h"
#include "runtime/failure_stop.h"
#include "runtime/units.h"

namespace {

// With no volume at all the grid and boundary rows would be written outside
// the arrays; such a run ends before anything is created.
void require_a_volume(const ProblemState& s) {
    if (s.N < 1) {
        failure_stop(error_number::kTooFewVolumes, FailureKind::Allocation, "",
                     error_message(error_number::kTooFewVolumes));
    }
}

}  // namespace

void principal(ProblemState& s) {
    dados(s);
    require_a_volume(s);
    create_arrays(s);
    s.dx = 1.0 / (static_cast<double>(s.N) - 2.0);
    malha(s);
    analitica(s);
    for (std::int32_t i = 1; i <= s.N; ++i) s.u(i) = s.ua(i);
    const std::int32_t ic = central_volume(s);
    double ucentral = s.u(ic);
    contorno(s);

    open_unit(8, "ucentral.dat", 12);
    // A 64-bit count, so that itmax = 2147483647 does not overflow the counter.
    for (std::int64_t iteration = 1; iteration <= s.itmax; ++iteration) {
        s.it = static_cast<std::int32_t>(iteration);
        // The source does not depend on u: once, at the first assembly, so
        // that its "**" overflow stop comes where coef would give it.
        if (iteration == 1) fonte(s);
        iteracao(s);
        write_history_record(s.it, std::fabs(ucentral - s.u(ic)));
        ucentral = s.u(ic);
    }
    close_unit(8);

    medias(s);
    resultados(s);
}
