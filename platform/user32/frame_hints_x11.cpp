// The frame a top-level window asks an X11 window manager for, as its Win32 style says: the
// Motif hints (_MOTIF_WM_HINTS) with the functions and decorations the style allows. Qt always
// offers resizing in these hints; a window without WS_THICKFRAME has no sizing border and no
// resize function, and only WS_MAXIMIZEBOX allows maximising. Other platforms (Wayland, Qt's
// offscreen display) are left as Qt describes them; the fixed size (WM_NORMAL_HINTS) and the icon
// (_NET_WM_ICON) are Qt's own.
#include "user32/window_manager.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace vintorel::user32 {

namespace {

// The Motif hints' flags, functions and decorations bits.
constexpr uint32_t kHintsFunctions = 1u << 0;
constexpr uint32_t kHintsDecorations = 1u << 1;
constexpr uint32_t kFuncResize = 1u << 1;
constexpr uint32_t kFuncMove = 1u << 2;
constexpr uint32_t kFuncMinimize = 1u << 3;
constexpr uint32_t kFuncMaximize = 1u << 4;
constexpr uint32_t kFuncClose = 1u << 5;
constexpr uint32_t kDecorBorder = 1u << 1;
constexpr uint32_t kDecorResizeHandle = 1u << 2;
constexpr uint32_t kDecorTitle = 1u << 3;
constexpr uint32_t kDecorMenu = 1u << 4;
constexpr uint32_t kDecorMinimize = 1u << 5;
constexpr uint32_t kDecorMaximize = 1u << 6;

xcb_atom_t atomNamed(xcb_connection_t *connection, const char *name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply != nullptr) {
        atom = reply->atom;
    }
    std::free(reply);
    return atom;
}

} // namespace

void describeFrame(WindowObject *wnd) {
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb") ||
        wnd->widget == nullptr || wnd->isChild()) {
        return;
    }
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return;
    }
    const auto window = static_cast<xcb_window_t>(wnd->widget->winId());
    const xcb_atom_t hints = atomNamed(connection, "_MOTIF_WM_HINTS");
    if (window == 0 || hints == XCB_ATOM_NONE) {
        return;
    }
    const DWORD style = wnd->style;
    uint32_t functions = kFuncMove;
    uint32_t decorations = 0;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        decorations |= kDecorBorder | kDecorTitle;
    } else if (style & (WS_DLGFRAME | WS_BORDER)) {
        decorations |= kDecorBorder;
    }
    if (style & WS_THICKFRAME) {
        functions |= kFuncResize;
        decorations |= kDecorBorder | kDecorResizeHandle;
    }
    if (style & WS_SYSMENU) {
        functions |= kFuncClose;
        decorations |= kDecorMenu;
        if (style & WS_MINIMIZEBOX) {
            functions |= kFuncMinimize;
            decorations |= kDecorMinimize;
        }
        if (style & WS_MAXIMIZEBOX) {
            functions |= kFuncMaximize;
            decorations |= kDecorMaximize;
        }
    }
    const uint32_t value[5] = {kHintsFunctions | kHintsDecorations, functions, decorations, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, hints, hints, 32, 5, value);
    xcb_flush(connection);
}

} // namespace vintorel::user32
