// Windows path rules on POSIX for the KERNEL32 file functions: parsing a Windows-1251 path with
// backslash or slash separators, finding its components case-insensitively, wildcard matching
// as FindFirstFileA does, and errno to Win32 error codes. Internal to platform/kernel32.
#pragma once

#include <windows.h>

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vintorel::kernel32 {

// A relative Windows path, normalised lexically as Windows does: no empty or "." components,
// ".." removes the component before it (only leading ".." components remain).
struct WinPath {
    std::vector<QString> parts;
    bool trailingSeparator = false;
};

// Parses a path given in the ANSI code page (Windows-1251). Returns ERROR_SUCCESS, or
// ERROR_PATH_NOT_FOUND for a null, empty, drive, UNC or rooted path, or ERROR_INVALID_NAME for
// a component with a character Windows forbids in names (control characters, < > : " | and,
// unless allowed in the last component, the wildcards * and ?).
DWORD parseWinPath(const char *name, bool wildcardsInLast, WinPath &out);

// An entry of a directory: the name as stored on disk and as Unicode (decoded as UTF-8).
struct DirEntry {
    std::string raw;
    QString name;
};

// All entries of a directory including "." and ".."; false with errno set on failure.
bool listDirectory(const std::string &posixDir, std::vector<DirEntry> &entries);

// The on-disk name in posixDir that stands for the Windows name: the exact name when it exists,
// otherwise the first case-insensitive match in byte order (only directories count when
// wantDirectory). Nothing when there is none.
std::optional<std::string> lookupEntry(const std::string &posixDir, const QString &name,
                                       bool wantDirectory);

// The POSIX path of the directory made of the first `count` components, each found as by
// lookupEntry. ERROR_PATH_NOT_FOUND when one is missing or is not a directory.
DWORD resolveDirectory(const std::vector<QString> &parts, std::size_t count, std::string &out);

std::string joinPath(const std::string &dir, const std::string &leaf);
std::string toPosixName(const QString &part); // UTF-8

// FindFirstFileA's matching of one name against a pattern with * and ?, ignoring case.
bool matchWildcard(const QString &pattern, const QString &name);

// The Win32 error code for an errno value of a file operation.
DWORD win32ErrorFromErrno(int error);

} // namespace vintorel::kernel32
