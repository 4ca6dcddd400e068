// A stand-in for the command interpreter (and, copied under other names, for
// the programs it would start) in the whole-run tests under wine: appends the
// command line it was given, without its own program name, as one line to the
// file named by BURGERS_STUB_LOG, and ends with status 0.
#include <windows.h>

#include <cstring>

int main() {
    const char* line = GetCommandLineA();
    if (*line == '"') {
        ++line;
        while (*line != '\0' && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;

    char log_name[MAX_PATH + 1];
    const DWORD length = GetEnvironmentVariableA("BURGERS_STUB_LOG", log_name, sizeof log_name);
    if (length == 0 || length > MAX_PATH) return 2;
    const HANDLE log = CreateFileA(log_name, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    const BOOL ok = WriteFile(log, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr) &&
                    WriteFile(log, "\n", 1, &written, nullptr);
    CloseHandle(log);
    return ok ? 0 : 4;
}
