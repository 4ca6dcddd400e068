#include <windows.h>

#include <initializer_list>

#include "runtime/error_messages.h"
#include "runtime/file_system.h"

namespace {

int open_error_number(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return 6416;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return 6414;
        case ERROR_FILE_EXISTS: return 6415;
        case ERROR_TOO_MANY_OPEN_FILES: return 6417;
        case ERROR_INVALID_NAME: return 6412;
        default: return error_number::kOpenOther;
    }
}

int write_error_number(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_LOCK_VIOLATION:
        case ERROR_INVALID_HANDLE: return 6421;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return 6422;
        default: return error_number::kWriteOther;
    }
}

bool refused(DWORD error) { return open_error_number(error) == 6414; }

constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE handle_of(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

int open_shared(const char* name, OpenedFile& opened) {
    if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND) {
        const HANDLE created = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, kShared, nullptr,
                                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE) return open_error_number(GetLastError());
        opened = {reinterpret_cast<FileHandle>(created), true};
        return 0;
    }
    DWORD error = ERROR_ACCESS_DENIED;
    for (DWORD access : {GENERIC_READ | GENERIC_WRITE, DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}}) {
        const HANDLE file = CreateFileA(name, access, kShared, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            opened = {reinterpret_cast<FileHandle>(file), false};
            return 0;
        }
        error = GetLastError();
        if (!refused(error)) break;
    }
    return open_error_number(error);
}

int read_bytes(FileHandle handle, char* buffer, std::size_t capacity, std::size_t& got) {
    DWORD count = 0;
    if (!ReadFile(handle_of(handle), buffer, static_cast<DWORD>(capacity), &count, nullptr)) {
        if (GetLastError() != ERROR_BROKEN_PIPE) return 6500;
        count = 0;  // the writing end of a pipe was closed: the end of the file
    }
    got = count;
    return 0;
}

int write_bytes(FileHandle handle, const char* bytes, std::size_t count) {
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(handle_of(handle), bytes, static_cast<DWORD>(count), &written, nullptr)) {
            return write_error_number(GetLastError());
        }
        if (written == 0) return error_number::kWriteOther;  // no progress: never retried forever
        bytes += written;
        count -= written;
    }
    return 0;
}

int cut_at(FileHandle handle, std::uint64_t position) {
    const HANDLE file = handle_of(handle);
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(position);
    if (GetFileType(file) != FILE_TYPE_DISK) return 0;  // a device has no length to cut
    // A read-only connection refuses the cut: the WRITE failure, even when
    // nothing lies beyond the position.
    if (!SetFilePointerEx(file, offset, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
        return write_error_number(GetLastError());
    }
    return 0;
}

int close_file(FileHandle handle) {
    return CloseHandle(handle_of(handle)) ? 0 : error_number::kWriteOther;
}
