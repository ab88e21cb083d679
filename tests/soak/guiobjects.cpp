// guiobjects: what the process owning the top-level window of the given title holds, as
// Windows counts it, for the long-run check: GetGuiResources' GDI and USER objects (null where
// the system does not count them: Wine's is a stub), the process's kernel handles, and its
// windows, hidden ones included, by enumeration (which works everywhere). One line of JSON.
//   guiobjects.exe "V i n t o r e l"
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Walk {
    DWORD process = 0;
    int windows = 0;
};

BOOL CALLBACK countChild(HWND, LPARAM param) {
    ++reinterpret_cast<Walk *>(param)->windows;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND hwnd, LPARAM param) {
    auto &walk = *reinterpret_cast<Walk *>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == walk.process) {
        ++walk.windows;
        EnumChildWindows(hwnd, countChild, param); // every descendant
    }
    return TRUE;
}

std::string guiCount(HANDLE process, DWORD kind) {
    SetLastError(0);
    const DWORD n = GetGuiResources(process, kind);
    return n == 0 && GetLastError() != 0 ? "null" : std::to_string(n);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: guiobjects TITLE\n");
        return 2;
    }
    HWND main = FindWindowA(nullptr, argv[1]);
    if (main == nullptr) {
        std::fprintf(stderr, "guiobjects: no window titled '%s'\n", argv[1]);
        return 1;
    }
    Walk walk;
    GetWindowThreadProcessId(main, &walk.process);
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&walk));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, walk.process);
    std::string gdi = "null", user = "null", handles = "null";
    if (process != nullptr) {
        gdi = guiCount(process, GR_GDIOBJECTS);
        user = guiCount(process, GR_USEROBJECTS);
        DWORD count = 0;
        if (GetProcessHandleCount(process, &count) && count != 0) {
            handles = std::to_string(count);
        }
        CloseHandle(process);
    }
    std::printf("{\"gdiObjects\":%s,\"userObjects\":%s,\"handles\":%s,\"windows\":%d}\n",
                gdi.c_str(), user.c_str(), handles.c_str(), walk.windows);
    return 0;
}
