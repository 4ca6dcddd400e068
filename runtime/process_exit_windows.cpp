#include <windows.h>

#include "runtime/process_exit.h"

void end_process(int status) { ExitProcess(static_cast<UINT>(status)); }
