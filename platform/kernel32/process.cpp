// KERNEL32 process services: the last-error value (one thread), the module handle of the
// executable, a millisecond tick count and Sleep. Not implemented: other modules' handles,
// thread-local error values for several threads.
#include <windows.h>

#include <chrono>
#include <thread>

namespace {
thread_local DWORD g_lastError = 0;
// Any non-null, stable value serves as the executable's instance handle.
struct ModuleMarker {
    int unused;
} g_module;
} // namespace

extern "C" {

DWORD WINAPI GetLastError(void) {
    return g_lastError;
}

void WINAPI SetLastError(DWORD error) {
    g_lastError = error;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName != nullptr) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(&g_module);
}

DWORD WINAPI GetTickCount(void) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void WINAPI Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // extern "C"
