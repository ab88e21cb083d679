// KERNEL32 files on POSIX: FindFirstFileA, FindNextFileA, FindClose, CreateFileA, GetFileSize,
// ReadFile, WriteFile, CloseHandle and DeleteFileA, with Windows path rules (win_path.h) and
// Windows results.
//
// - Handles are numbers from a table (multiples of 4, never reused, never NULL or
//   INVALID_HANDLE_VALUE); an unknown value is ERROR_INVALID_HANDLE, never dereferenced. File
//   and search handles are separate: CloseHandle does not close a search, FindClose no file.
// - Names: an existing file or directory is found by its exact name, otherwise by the first
//   case-insensitive match in byte order; a file is created under the name given only when no
//   name matches, so "satellite.ini" replaces an existing "Satellite.ini".
// - Sharing is checked between the handles of this process as Windows checks it (a handle with
//   neither GENERIC_READ nor GENERIC_WRITE takes no part); other processes are not told
//   (no advisory locks). Truncation (CREATE_ALWAYS, TRUNCATE_EXISTING) counts as writing.
//   DeleteFileA is refused (ERROR_SHARING_VIOLATION) while a handle of this process without
//   FILE_SHARE_DELETE has the file open; as on Windows, it deletes no directory and no
//   read-only file (ERROR_ACCESS_DENIED).
// - Only regular files are files. A name that is a directory, a FIFO, a device or a socket is
//   ERROR_ACCESS_DENIED, as Windows answers for a directory. The open is non-blocking and the
//   kind is checked on the open descriptor, so a FIFO without a writer (or, for writing,
//   without a reader) never hangs the caller and no such object is ever read or written.
// - A regular file without any write permission bit is a FILE_ATTRIBUTE_READONLY file: opening
//   it for writing or truncating it is ERROR_ACCESS_DENIED, even for root, as on Windows.
//   FILE_ATTRIBUTE_READONLY in the flags of a new file creates it that way (mode 0444).
// - FindFirstFileA takes a snapshot of the matching entries, "." and ".." first when they
//   match, then by case-folded name, as NTFS orders them. Entries that vanish or are dangling
//   links are left out, and so are names longer than MAX_PATH - 1 bytes in the ANSI code page
//   (there are none on Linux, where a name has at most 255 bytes). Times: the creation time is
//   the modification time (POSIX stat has no birth time); cAlternateFileName is empty.
// - ReadFile and WriteFile transfer raw bytes and loop until done, end of file or error.
//   A null count pointer is allowed and ignored (Windows requires it without OVERLAPPED).
// Not implemented: overlapped I/O (ERROR_INVALID_PARAMETER), access rights other than
// GENERIC_READ and GENERIC_WRITE (ERROR_INVALID_PARAMETER), the FILE_FLAG_* flags and template
// files (ignored), the CloseHandle of other kinds of handles (the pseudo-handle
// GetCurrentProcess(), which is INVALID_HANDLE_VALUE, closes with success and does nothing).
#include "kernel32/win_path.h"

#include "common/codepage.h"
#include "common/object_counts.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <unordered_map>

using namespace vintorel::kernel32;

namespace {

struct OpenFile {
    int fd = -1;
    DWORD access = 0;
    DWORD share = 0;
    dev_t device = 0;
    ino_t inode = 0;
    OpenFile() = default;
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;
    ~OpenFile() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

struct Search {
    std::vector<WIN32_FIND_DATAA> results;
    std::size_t next = 0;
};

struct HandleTable {
    std::mutex mutex;
    uintptr_t lastHandle = 0x1000;
    // shared_ptr: a ReadFile or WriteFile in progress keeps the descriptor open after
    // CloseHandle has removed the handle.
    std::unordered_map<uintptr_t, std::shared_ptr<OpenFile>> files;
    std::unordered_map<uintptr_t, std::unique_ptr<Search>> searches;

    HANDLE newHandle() {
        lastHandle += 4;
        return reinterpret_cast<HANDLE>(lastHandle);
    }
};

HandleTable &table() {
    // Immortal, like the platform's other registries: handles left open at exit stay valid for
    // code that runs during exit, and the process's end closes their descriptors.
    static auto *instance = new HandleTable;
    return *instance;
}

uintptr_t key(HANDLE handle) {
    return reinterpret_cast<uintptr_t>(handle);
}

std::shared_ptr<OpenFile> lookupFile(HANDLE handle) {
    HandleTable &t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.files.find(key(handle));
    return it == t.files.end() ? nullptr : it->second;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

HANDLE failHandle(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

constexpr DWORD kDataAccess = GENERIC_READ | GENERIC_WRITE;

// Windows' share check between an open handle and a new open of the same file.
bool sharingConflict(const OpenFile &other, DWORD access, DWORD share) {
    if ((access & kDataAccess) == 0 || (other.access & kDataAccess) == 0) {
        return false;
    }
    return ((access & GENERIC_READ) && !(other.share & FILE_SHARE_READ)) ||
           ((access & GENERIC_WRITE) && !(other.share & FILE_SHARE_WRITE)) ||
           ((other.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) ||
           ((other.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE));
}

int openMode(bool readable, bool writable) {
    if (readable && writable) {
        return O_RDWR;
    }
    return writable ? O_WRONLY : O_RDONLY;
}

bool isReadOnly(const struct stat &st) {
    return S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

FILETIME toFileTime(const timespec &time) {
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
    constexpr int64_t kTicksPerSecond = 10000000LL;
    constexpr int64_t kMaxSeconds =
        std::numeric_limits<int64_t>::max() / kTicksPerSecond - kSecondsFrom1601To1970 - 1;
    const int64_t seconds = std::clamp<int64_t>(time.tv_sec, -kSecondsFrom1601To1970, kMaxSeconds);
    const auto ticks = static_cast<uint64_t>((seconds + kSecondsFrom1601To1970) * kTicksPerSecond +
                                             time.tv_nsec / 100);
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// The POSIX path that a Windows file name stands for: the existing file found as the path rules
// say, or the name a new file gets. A name with a trailing separator names a directory, which
// is no file: ERROR_ACCESS_DENIED when it exists, ERROR_INVALID_NAME otherwise.
DWORD resolveFileName(LPCSTR name, std::string &target) {
    WinPath path;
    DWORD error = parseWinPath(name, false, path);
    if (error != ERROR_SUCCESS) {
        return error;
    }
    std::string dir;
    error = resolveDirectory(path.parts, path.parts.empty() ? 0 : path.parts.size() - 1, dir);
    if (error != ERROR_SUCCESS) {
        return error;
    }
    std::string leaf = ".";
    if (!path.parts.empty()) {
        const QString &last = path.parts.back();
        leaf = last == u".." ? ".." : lookupEntry(dir, last, false).value_or(toPosixName(last));
    }
    target = joinPath(dir, leaf);
    if (path.trailingSeparator) {
        struct stat st {};
        return ::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_ACCESS_DENIED
                                                                       : ERROR_INVALID_NAME;
    }
    return ERROR_SUCCESS;
}

} // namespace

extern "C" {

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                          HANDLE templateFile) {
    if ((access & ~kDataAccess) != 0 ||
        (shareMode & ~DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}) != 0 ||
        disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
        (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
        return failHandle(ERROR_INVALID_PARAMETER);
    }
    std::string target;
    const DWORD error = resolveFileName(name, target);
    if (error != ERROR_SUCCESS) {
        return failHandle(error);
    }

    const bool wantRead = access & GENERIC_READ;
    const bool wantWrite = access & GENERIC_WRITE;
    const bool truncate = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    int common = O_CLOEXEC | O_NOCTTY | O_NONBLOCK; // O_NONBLOCK: never hang on a FIFO
    if (security != nullptr && security->bInheritHandle) {
        common &= ~O_CLOEXEC;
    }
    const mode_t permissions = (flags & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

    HandleTable &t = table();
    std::lock_guard lock(t.mutex); // the share check and the table entry go together
    int fd = -1;
    int openError = 0;
    bool existed = false;
    // Open an existing file first and create only when there is none; a name that appears or
    // disappears in between (another process, a dangling link) is tried again a few times.
    for (int attempt = 0; attempt < 4 && fd < 0; ++attempt) {
        if (disposition != CREATE_NEW) {
            fd = ::open(target.c_str(), openMode(wantRead, wantWrite || truncate) | common);
            if (fd >= 0) {
                existed = true;
                break;
            }
            openError = errno;
            if (openError != ENOENT || disposition == OPEN_EXISTING ||
                disposition == TRUNCATE_EXISTING) {
                break;
            }
        }
        fd = ::open(target.c_str(), openMode(wantRead, wantWrite) | common | O_CREAT | O_EXCL,
                    permissions);
        openError = errno;
        if (fd >= 0 || openError != EEXIST || disposition == CREATE_NEW) {
            break;
        }
        openError = ENOENT; // what is left after the last attempt: a dangling link
    }
    if (fd < 0) {
        return failHandle(win32ErrorFromErrno(openError));
    }

    auto file = std::make_shared<OpenFile>();
    file->fd = fd;
    file->access = access;
    file->share = shareMode;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return failHandle(win32ErrorFromErrno(errno));
    }
    if (!S_ISREG(st.st_mode) || (existed && (wantWrite || truncate) && isReadOnly(st))) {
        return failHandle(ERROR_ACCESS_DENIED); // directories, devices, read-only files
    }
    file->device = st.st_dev;
    file->inode = st.st_ino;
    const DWORD shareAccess = access | (existed && truncate ? DWORD{GENERIC_WRITE} : 0);
    for (const auto &[handle, other] : t.files) {
        if (other->device == file->device && other->inode == file->inode &&
            sharingConflict(*other, shareAccess, shareMode)) {
            return failHandle(ERROR_SHARING_VIOLATION);
        }
    }
    if ((existed && truncate && ::ftruncate(fd, 0) != 0) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        return failHandle(win32ErrorFromErrno(errno));
    }
    const HANDLE handle = t.newHandle();
    t.files.emplace(key(handle), std::move(file));
    const bool reportExisting = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    SetLastError(existed && reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

DWORD WINAPI GetFileSize(HANDLE file, LPDWORD sizeHigh) {
    const std::shared_ptr<OpenFile> opened = lookupFile(file);
    if (!opened) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    struct stat st {};
    if (::fstat(opened->fd, &st) != 0) {
        SetLastError(win32ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<uint64_t>(st.st_size);
    if (sizeHigh != nullptr) {
        *sizeHigh = static_cast<DWORD>(size >> 32);
    }
    if (static_cast<DWORD>(size) == INVALID_FILE_SIZE) {
        SetLastError(ERROR_SUCCESS); // tells a real size from the failure value
    }
    return static_cast<DWORD>(size);
}

BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD bytesRead,
                     LPOVERLAPPED overlapped) {
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    const std::shared_ptr<OpenFile> opened = lookupFile(file);
    if (!opened) {
        return fail(ERROR_INVALID_HANDLE);
    }
    if (overlapped != nullptr) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    if (!(opened->access & GENERIC_READ)) {
        return fail(ERROR_ACCESS_DENIED);
    }
    if (buffer == nullptr && toRead > 0) {
        return fail(ERROR_NOACCESS);
    }
    DWORD done = 0;
    while (done < toRead) {
        const ssize_t n = ::read(opened->fd, static_cast<char *>(buffer) + done, toRead - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            if (bytesRead != nullptr) {
                *bytesRead = done;
            }
            return fail(win32ErrorFromErrno(error));
        }
        if (n == 0) {
            break; // end of file
        }
        done += static_cast<DWORD>(n);
    }
    if (bytesRead != nullptr) {
        *bytesRead = done;
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written,
                      LPOVERLAPPED overlapped) {
    if (written != nullptr) {
        *written = 0;
    }
    const std::shared_ptr<OpenFile> opened = lookupFile(file);
    if (!opened) {
        return fail(ERROR_INVALID_HANDLE);
    }
    if (overlapped != nullptr) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    if (!(opened->access & GENERIC_WRITE)) {
        return fail(ERROR_ACCESS_DENIED);
    }
    if (buffer == nullptr && toWrite > 0) {
        return fail(ERROR_NOACCESS);
    }
    DWORD done = 0;
    while (done < toWrite) {
        const ssize_t n =
            ::write(opened->fd, static_cast<const char *>(buffer) + done, toWrite - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n == 0 ? ENOSPC : errno;
            if (written != nullptr) {
                *written = done;
            }
            return fail(win32ErrorFromErrno(error));
        }
        done += static_cast<DWORD>(n);
    }
    if (written != nullptr) {
        *written = done;
    }
    return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR name) {
    std::string target;
    const DWORD error = resolveFileName(name, target);
    if (error != ERROR_SUCCESS) {
        return fail(error);
    }
    HandleTable &t = table();
    std::lock_guard lock(t.mutex); // no handle can open the file between the check and unlink
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) {
        return fail(win32ErrorFromErrno(errno));
    }
    if (S_ISDIR(st.st_mode) || isReadOnly(st)) {
        return fail(ERROR_ACCESS_DENIED);
    }
    for (const auto &[handle, other] : t.files) {
        if (other->device == st.st_dev && other->inode == st.st_ino &&
            !(other->share & FILE_SHARE_DELETE)) {
            return fail(ERROR_SHARING_VIOLATION);
        }
    }
    if (::unlink(target.c_str()) != 0) {
        return fail(win32ErrorFromErrno(errno));
    }
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE object) {
    if (object == INVALID_HANDLE_VALUE) {
        return TRUE; // the same value as GetCurrentProcess(), whose closing does nothing
    }
    std::shared_ptr<OpenFile> closing; // closes the descriptor after the lock is released
    HandleTable &t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.files.find(key(object));
    if (it == t.files.end()) {
        return fail(ERROR_INVALID_HANDLE);
    }
    closing = std::move(it->second);
    t.files.erase(it);
    return TRUE;
}

HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA findData) {
    if (findData == nullptr) {
        return failHandle(ERROR_INVALID_PARAMETER);
    }
    WinPath path;
    DWORD error = parseWinPath(pattern, true, path);
    if (error != ERROR_SUCCESS) {
        return failHandle(error);
    }
    const bool hasPattern = !path.parts.empty() && !path.trailingSeparator;
    const std::size_t dirParts = path.parts.size() - (hasPattern ? 1 : 0);
    std::string dir;
    error = resolveDirectory(path.parts, dirParts, dir);
    if (error == ERROR_PATH_NOT_FOUND && dirParts > 0 && path.parts[dirParts - 1] != u"..") {
        // The folder to search is a file: Windows opens it as a folder and is told it is none.
        std::string parent;
        if (resolveDirectory(path.parts, dirParts - 1, parent) == ERROR_SUCCESS &&
            lookupEntry(parent, path.parts[dirParts - 1], false)) {
            error = ERROR_DIRECTORY;
        }
    }
    if (error != ERROR_SUCCESS) {
        return failHandle(error);
    }
    std::vector<DirEntry> entries;
    if (!hasPattern) {
        return failHandle(ERROR_FILE_NOT_FOUND);
    }
    if (!listDirectory(dir, entries)) {
        return failHandle(win32ErrorFromErrno(errno));
    }
    struct Found {
        int rank; // "." and ".." first
        QString order;
        std::string raw;
        WIN32_FIND_DATAA data;
    };
    std::vector<Found> found;
    for (const DirEntry &entry : entries) {
        struct stat st {};
        const std::string ansi = vintorel::toCp1251(entry.name);
        if (!matchWildcard(path.parts.back(), entry.name) || ansi.size() >= MAX_PATH ||
            ::stat(joinPath(dir, entry.raw).c_str(), &st) != 0) {
            continue;
        }
        WIN32_FIND_DATAA data{};
        data.dwFileAttributes =
            S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
        if (isReadOnly(st)) {
            data.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
        }
        data.ftCreationTime = toFileTime(st.st_mtim);
        data.ftLastAccessTime = toFileTime(st.st_atim);
        data.ftLastWriteTime = toFileTime(st.st_mtim);
        if (!S_ISDIR(st.st_mode)) {
            const auto size = static_cast<uint64_t>(st.st_size);
            data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
            data.nFileSizeLow = static_cast<DWORD>(size);
        }
        std::memcpy(data.cFileName, ansi.c_str(), ansi.size() + 1);
        const int rank = entry.raw == "." ? 0 : entry.raw == ".." ? 1 : 2;
        found.push_back({rank, entry.name.toCaseFolded(), entry.raw, data});
    }
    if (found.empty()) {
        return failHandle(ERROR_FILE_NOT_FOUND);
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return std::tie(a.rank, a.order, a.raw) < std::tie(b.rank, b.order, b.raw);
    });
    auto search = std::make_unique<Search>();
    for (const Found &f : found) {
        search->results.push_back(f.data);
    }
    *findData = search->results[0];
    search->next = 1;
    HandleTable &t = table();
    std::lock_guard lock(t.mutex);
    const HANDLE handle = t.newHandle();
    t.searches.emplace(key(handle), std::move(search));
    return handle;
}

BOOL WINAPI FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA findData) {
    HandleTable &t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.searches.find(key(find));
    if (it == t.searches.end()) {
        return fail(ERROR_INVALID_HANDLE);
    }
    if (findData == nullptr) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    Search &search = *it->second;
    if (search.next >= search.results.size()) {
        return fail(ERROR_NO_MORE_FILES);
    }
    *findData = search.results[search.next++];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE find) {
    HandleTable &t = table();
    std::lock_guard lock(t.mutex);
    if (t.searches.erase(key(find)) == 0) {
        return fail(ERROR_INVALID_HANDLE);
    }
    return TRUE;
}

} // extern "C"

int vintorel::kernel32::openHandleCount() {
    HandleTable &t = table();
    std::lock_guard lock(t.mutex);
    return static_cast<int>(t.files.size() + t.searches.size());
}
