// What a window keeps for its procedure and its program: GetWindowLongA/GetWindowLongPtrA and
// SetWindowLongPtrA for the style and id (read only), the window procedure (GWLP_WNDPROC, which
// subclasses the window: every message sent or dispatched to it goes to the new procedure from
// then on), GWLP_USERDATA and the class's extra bytes (cbWndExtra, offsets from 0); window
// properties by name (SetPropA, GetPropA, RemovePropA).
// Not implemented: changing the style or id through SetWindowLongPtrA (ERROR_INVALID_INDEX),
// GWLP_HINSTANCE, GWLP_HWNDPARENT, atoms as property names, EnumProps.
#include "user32/window_manager.h"
#include "vintorel_trace.h"

#include <cstring>

using namespace vintorel::user32;

namespace {

WindowObject *windowOrError(HWND hwnd) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    if (wnd == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return wnd;
}

// The extra bytes at index, or null (with the error set) when they do not fit.
unsigned char *extraAt(WindowObject *wnd, int index, size_t size) {
    if (index < 0 || static_cast<size_t>(index) + size > wnd->extraBytes.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return nullptr;
    }
    return wnd->extraBytes.data() + index;
}

} // namespace

extern "C" {

LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
    WindowObject *wnd = windowOrError(hwnd);
    if (wnd == nullptr) {
        return 0;
    }
    if (index >= 0) {
        LONG value = 0;
        if (const unsigned char *p = extraAt(wnd, index, sizeof value)) {
            std::memcpy(&value, p, sizeof value);
        }
        return value;
    }
    return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    WindowObject *wnd = windowOrError(hwnd);
    if (wnd == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(wnd->style);
    case GWLP_ID:
        return wnd->id;
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(wnd->proc);
    case GWLP_USERDATA:
        return wnd->userData;
    default:
        break;
    }
    LONG_PTR value = 0;
    if (const unsigned char *p = extraAt(wnd, index, sizeof value)) {
        std::memcpy(&value, p, sizeof value);
    }
    return value;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    WindowObject *wnd = windowOrError(hwnd);
    if (wnd == nullptr) {
        return 0;
    }
    LONG_PTR previous = 0;
    switch (index) {
    case GWLP_WNDPROC:
        if (value == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        VINTOREL_TRACE(USER32, "SetWindowLongPtrA %p GWLP_WNDPROC", static_cast<void *>(hwnd));
        previous = reinterpret_cast<LONG_PTR>(wnd->proc);
        wnd->proc = reinterpret_cast<WNDPROC>(value);
        return previous;
    case GWLP_USERDATA:
        previous = wnd->userData;
        wnd->userData = value;
        return previous;
    default:
        break;
    }
    unsigned char *p = extraAt(wnd, index, sizeof value);
    if (p == nullptr) {
        return 0;
    }
    std::memcpy(&previous, p, sizeof previous);
    std::memcpy(p, &value, sizeof value);
    return previous;
}

BOOL WINAPI SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
    WindowObject *wnd = windowOrError(hwnd);
    if (wnd == nullptr || name == nullptr) {
        return FALSE;
    }
    wnd->props[name] = data;
    return TRUE;
}

HANDLE WINAPI GetPropA(HWND hwnd, LPCSTR name) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    if (wnd == nullptr || name == nullptr) {
        return nullptr;
    }
    const auto it = wnd->props.find(name);
    return it == wnd->props.end() ? nullptr : it->second;
}

HANDLE WINAPI RemovePropA(HWND hwnd, LPCSTR name) {
    WindowObject *wnd = WindowManager::instance().find(hwnd);
    if (wnd == nullptr || name == nullptr) {
        return nullptr;
    }
    const auto it = wnd->props.find(name);
    if (it == wnd->props.end()) {
        return nullptr;
    }
    const HANDLE data = it->second;
    wnd->props.erase(it);
    return data;
}

} // extern "C"
