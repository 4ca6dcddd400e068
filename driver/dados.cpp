#include "driver/dados.h"

#include "runtime/list_reader.h"
#include "runtime/run_command.h"
#include "runtime/units.h"

void dados(ProblemState& s) {
    // Whatever the editor did, the file is read as it is on disk now.
    run_command("notepad dados.txt", 17);

    open_unit(5, "dados.txt", 9);
    begin_read(5);
    get_integer(s.N);
    end_read();
    begin_read(5);
    get_real(s.Re);
    end_read();
    begin_read(5);
    get_real(s.beta);
    end_read();
    begin_read(5);
    get_integer(s.itmax);
    end_read();
    close_unit(5);
}
