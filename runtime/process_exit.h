// Ends the process at once with a status, running no exit handlers.
#pragma once

[[noreturn]] void end_process(int status);
