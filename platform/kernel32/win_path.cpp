// Windows path rules on POSIX (see win_path.h). Names cross the API in the ANSI code page,
// Windows-1251, and are stored on disk as UTF-8, so a Cyrillic name made by the program is an
// ordinary name for the rest of the system. Case is ignored with Unicode case folding, which
// for these names agrees with Windows' upcase table.
// Not implemented: drive letters, UNC and rooted paths (refused), stripping of trailing dots
// and blanks from names, reserved device names (CON, NUL, ...), alternate data streams, 8.3
// short names, the MAX_PATH limit on whole paths, DOS wildcards ('<', '>' and '"' in a mask
// are matched as themselves, so they match nothing).
#include "kernel32/win_path.h"

#include "common/codepage.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace vintorel::kernel32 {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isForbidden(unsigned char c) {
    return c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|';
}

bool isDirectory(const std::string &path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Plain matching: '*' any run of characters, '?' exactly one. Both strings are case-folded.
bool globMatch(const QString &pattern, const QString &name) {
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

DWORD parseWinPath(const char *name, bool wildcardsInLast, WinPath &out) {
    out = WinPath{};
    if (name == nullptr || *name == '\0') {
        return ERROR_PATH_NOT_FOUND;
    }
    const std::string text(name);
    const bool driveLetter =
        text.size() >= 2 && text[1] == ':' &&
        ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
    if (isSeparator(text[0]) || driveLetter) {
        return ERROR_PATH_NOT_FOUND; // rooted, UNC (\\server\share), device (\\.\, \\?\), X:
    }
    out.trailingSeparator = isSeparator(text.back());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && !isSeparator(text[end])) {
            ++end;
        }
        const std::string component = text.substr(start, end - start);
        // A search's last component is a mask, not a name: a character no name can hold just
        // matches nothing there.
        const bool mask = wildcardsInLast && end == text.size();
        start = end + 1;
        if (!mask && std::any_of(component.begin(), component.end(), [](char c) {
                return isForbidden(static_cast<unsigned char>(c));
            })) {
            return ERROR_INVALID_NAME;
        }
        if (component.empty() || component == ".") {
            continue;
        }
        if (component == ".." && !out.parts.empty() && out.parts.back() != u"..") {
            out.parts.pop_back();
            continue;
        }
        out.parts.push_back(fromCp1251(component));
    }
    for (std::size_t i = 0; i < out.parts.size(); ++i) {
        const bool mayHaveWildcards =
            wildcardsInLast && i + 1 == out.parts.size() && !out.trailingSeparator;
        if (!mayHaveWildcards && (out.parts[i].contains(u'*') || out.parts[i].contains(u'?'))) {
            return ERROR_INVALID_NAME;
        }
    }
    return ERROR_SUCCESS;
}

bool listDirectory(const std::string &posixDir, std::vector<DirEntry> &entries) {
    entries.clear();
    DIR *dir = ::opendir(posixDir.c_str());
    if (dir == nullptr) {
        return false;
    }
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        entries.push_back({entry->d_name, QString::fromUtf8(entry->d_name)});
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    errno = error;
    return error == 0;
}

std::optional<std::string> lookupEntry(const std::string &posixDir, const QString &name,
                                       bool wantDirectory) {
    const std::string exact = toPosixName(name);
    struct stat st {};
    const std::string exactPath = joinPath(posixDir, exact);
    if (::lstat(exactPath.c_str(), &st) == 0 && (!wantDirectory || isDirectory(exactPath))) {
        return exact;
    }
    std::vector<DirEntry> entries;
    if (!listDirectory(posixDir, entries)) {
        return std::nullopt;
    }
    std::vector<std::string> matches;
    for (const DirEntry &entry : entries) {
        if (entry.raw != "." && entry.raw != ".." &&
            QString::compare(entry.name, name, Qt::CaseInsensitive) == 0) {
            matches.push_back(entry.raw);
        }
    }
    std::sort(matches.begin(), matches.end());
    for (const std::string &match : matches) {
        if (!wantDirectory || isDirectory(joinPath(posixDir, match))) {
            return match;
        }
    }
    return std::nullopt;
}

DWORD resolveDirectory(const std::vector<QString> &parts, std::size_t count, std::string &out) {
    out.assign(1, '.'); // not out = ".": GCC 12 warns falsely about an overlapping copy
    for (std::size_t i = 0; i < count; ++i) {
        if (parts[i] == u"..") {
            out = joinPath(out, "..");
            if (!isDirectory(out)) {
                return ERROR_PATH_NOT_FOUND;
            }
            continue;
        }
        const std::optional<std::string> found = lookupEntry(out, parts[i], true);
        if (!found) {
            return ERROR_PATH_NOT_FOUND;
        }
        out = joinPath(out, *found);
    }
    return ERROR_SUCCESS;
}

std::string joinPath(const std::string &dir, const std::string &leaf) {
    if (dir == ".") {
        return leaf;
    }
    // Appended piece by piece: GCC 12 misreads "dir + '/' + leaf" as an overlapping copy.
    std::string joined;
    joined.reserve(dir.size() + 1 + leaf.size());
    joined.append(dir);
    joined.push_back('/');
    joined.append(leaf);
    return joined;
}

std::string toPosixName(const QString &part) {
    return part.toUtf8().toStdString();
}

bool matchWildcard(const QString &pattern, const QString &name) {
    QString p = pattern.toCaseFolded();
    const QString n = name.toCaseFolded();
    // DOS rules that FindFirstFileA keeps: a trailing "." asks for names without an extension
    // ("*." lists names without a dot), and a trailing ".*" may also match nothing at all
    // ("*.*" matches every name, "name.*" matches "name").
    if (p.size() > 1 && p.endsWith(u'.') && p != u"..") {
        p.chop(1);
        return !n.contains(u'.') && globMatch(p, n);
    }
    if (p.endsWith(u".*") && globMatch(p.chopped(2), n)) {
        return true;
    }
    return globMatch(p, n);
}

DWORD win32ErrorFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case ENXIO:
    case EBADF:
        return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    default:
        return ERROR_GEN_FAILURE;
    }
}

} // namespace vintorel::kernel32
