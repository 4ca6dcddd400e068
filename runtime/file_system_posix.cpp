#include <cerrno>
#include <fcntl.h>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/error_messages.h"
#include "runtime/file_system.h"

namespace {

int open_error_number(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR: return 6416;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY: return 6414;
        case EEXIST: return 6415;
        case EMFILE:
        case ENFILE: return 6417;
        case EINVAL:
        case ENAMETOOLONG: return 6412;
        default: return error_number::kOpenOther;
    }
}

int write_error_number(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EBADF:
        case EINVAL: return 6421;
        case ENOSPC:
        case EDQUOT: return 6422;
        default: return error_number::kWriteOther;
    }
}

bool refused(int error) { return open_error_number(error) == 6414; }

int open_retrying(const char* name, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(name, flags | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A directory is no text file: it is refused like a file one may not open.
int refuse_directory(int fd) {
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

}  // namespace

int open_shared(const char* name, OpenedFile& opened) {
    struct stat status;
    if (::stat(name, &status) != 0 && errno == ENOENT) {
        const int fd = open_retrying(name, O_RDWR | O_CREAT | O_EXCL, 0666);
        if (fd < 0) return open_error_number(errno);
        opened = {fd, true};
        return 0;
    }
    for (int access : {O_RDWR, O_RDONLY, O_WRONLY}) {
        int fd = open_retrying(name, access);
        if (fd >= 0) fd = refuse_directory(fd);
        if (fd >= 0) {
            opened = {fd, false};
            return 0;
        }
        if (!refused(errno)) break;
    }
    return open_error_number(errno);
}

int read_bytes(FileHandle handle, char* buffer, std::size_t capacity, std::size_t& got) {
    ssize_t count;
    do {
        count = ::read(static_cast<int>(handle), buffer, capacity);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return 6500;
    got = static_cast<std::size_t>(count);
    return 0;
}

int write_bytes(FileHandle handle, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(static_cast<int>(handle), bytes, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            return write_error_number(errno);
        }
        if (written == 0) return error_number::kWriteOther;  // no progress: never retried forever
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return 0;
}

int cut_at(FileHandle handle, std::uint64_t position) {
    const int fd = static_cast<int>(handle);
    const off_t offset = static_cast<off_t>(position);
    if (::ftruncate(fd, offset) != 0) {
        // A regular file refuses the cut only when it cannot be written at all
        // (a read-only connection), so that is the WRITE failure even when
        // there is nothing beyond the position; devices have no length to cut.
        const int error = errno;
        struct stat status;
        const bool device = ::fstat(fd, &status) == 0 && !S_ISREG(status.st_mode);
        if (!device) return write_error_number(error);
    }
    ::lseek(fd, offset, SEEK_SET);  // devices and pipes have no position to set
    return 0;
}

int close_file(FileHandle handle) {
    if (::close(static_cast<int>(handle)) != 0 && errno != EINTR) {
        return errno == ENOSPC || errno == EDQUOT ? 6422 : error_number::kWriteOther;
    }
    return 0;
}
