#include <windows.h>

#include <cstring>

#include "runtime/run_command.h"

namespace {

constexpr std::size_t kMaxCommand = 1024;
constexpr DWORD kMaxInterpreter = 260;

}  // namespace

std::int32_t run_command(const char* text, std::size_t length) {
    while (length > 0 && text[length - 1] == ' ') --length;
    if (length > kMaxCommand) return -1;

    char interpreter[kMaxInterpreter + 1];
    DWORD interpreter_length = GetEnvironmentVariableA("COMSPEC", interpreter, sizeof interpreter);
    if (interpreter_length > kMaxInterpreter) return -1;
    if (interpreter_length == 0) {
        std::memcpy(interpreter, "cmd.exe", 7);
        interpreter_length = 7;
    }

    // "interpreter /c text", nothing quoted or escaped.
    char command_line[kMaxInterpreter + 4 + kMaxCommand + 1];
    std::memcpy(command_line, interpreter, interpreter_length);
    std::memcpy(command_line + interpreter_length, " /c ", 4);
    std::memcpy(command_line + interpreter_length + 4, text, length);
    command_line[interpreter_length + 4 + length] = '\0';

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command_line, nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);  // not needed either; closing it keeps no handle behind
    return static_cast<std::int32_t>(status);
}
