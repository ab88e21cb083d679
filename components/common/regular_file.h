// Opening a file that a component reads whole (a clip, the simulated card's script) only when it
// is a regular file of a bounded size. A folder, a device or a pipe is refused without reading
// from it or waiting for it: a FIFO without a writer would block a plain open, and a device such
// as /dev/zero never ends. Header-only, for POSIX and Windows. Not done here: the reading itself.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include <sys/stat.h>
#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vintorel {

enum class RegularFile { opened, cannotOpen, notRegular, tooLarge };

// Opens path for binary reading when it is a regular file of at most maxBytes and gives its
// size; otherwise *file stays null and the answer says why.
inline RegularFile openRegularFile(const std::string &path, int64_t maxBytes, std::FILE **file,
                                   int64_t *size) {
    *file = nullptr;
#if defined(_WIN32)
    struct _stat64 st;
    if (_stat64(path.c_str(), &st) != 0) {
        return RegularFile::cannotOpen;
    }
    if ((st.st_mode & _S_IFMT) != _S_IFREG) {
        return RegularFile::notRegular; // checked before opening: a pipe could wait for its server
    }
    std::FILE *opened = std::fopen(path.c_str(), "rb");
    if (opened == nullptr) {
        return RegularFile::cannotOpen;
    }
    if (_fstat64(_fileno(opened), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(opened);
        return RegularFile::notRegular;
    }
#else
    // Non-blocking, so that a FIFO opens at once; the kind is then checked on the descriptor.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return RegularFile::cannotOpen;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return RegularFile::notRegular;
    }
    std::FILE *opened = nullptr;
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
        (opened = ::fdopen(fd, "rb")) == nullptr) {
        ::close(fd);
        return RegularFile::cannotOpen;
    }
#endif
    if (st.st_size > maxBytes) {
        std::fclose(opened);
        return RegularFile::tooLarge;
    }
    *file = opened;
    *size = static_cast<int64_t>(st.st_size);
    return RegularFile::opened;
}

} // namespace vintorel
