// wintree: prints the windows of the process that owns a top-level window of the given title,
// as Windows (here: Wine) shows them, for the screen comparison with our Linux layer. One JSON
// object: every visible top-level window of that process (main window, message boxes, a
// combo box's dropped list) and, under each, its visible descendants, with class, text, id,
// style, window rectangle on the screen and, for top-levels, the client area on the screen;
// combo boxes add their two item heights, buttons whether they show an image. The Linux
// layer writes the same shape (platform/user32/window_tree.cpp).
//   wintree.exe "V i n t o r e l"
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t *text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    }
    return out;
}

std::string quoted(const std::string &text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out.append(escaped);
        } else {
            out.push_back(ch);
        }
    }
    out.push_back('"');
    return out;
}

std::string rect(const RECT &r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

std::string describe(HWND hwnd, HWND parent) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    // WM_GETTEXT itself: GetWindowText reads another process's controls' creation texts only.
    wchar_t text[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    RECT window{};
    GetWindowRect(hwnd, &window);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%p", static_cast<void *>(hwnd));
    char parentHandle[32];
    std::snprintf(parentHandle, sizeof parentHandle, "%p", static_cast<void *>(parent));
    std::string out = "{\"hwnd\":" + quoted(handle) +
                      ",\"parent\":" + (parent ? quoted(parentHandle) : std::string("null")) +
                      ",\"class\":" + quoted(utf8(cls)) + ",\"text\":" + quoted(utf8(text)) +
                      ",\"id\":" + std::to_string(GetDlgCtrlID(hwnd)) +
                      ",\"style\":" + std::to_string(static_cast<unsigned long>(style)) +
                      ",\"rect\":" + rect(window);
    if (parent == nullptr) {
        RECT client{};
        GetClientRect(hwnd, &client);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        OffsetRect(&client, origin.x, origin.y);
        out += ",\"client\":" + rect(client);
    }
    if (lstrcmpiW(cls, L"ComboBox") == 0) {
        out += ",\"itemHeights\":[" +
               std::to_string(SendMessageW(hwnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) +
               "," + std::to_string(SendMessageW(hwnd, CB_GETITEMHEIGHT, 0, 0)) + "]";
    }
    if (lstrcmpiW(cls, L"Button") == 0) {
        const bool image = (style & (BS_ICON | BS_BITMAP)) != 0 ||
                           SendMessageW(hwnd, BM_GETIMAGE, IMAGE_ICON, 0) != 0 ||
                           SendMessageW(hwnd, BM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
        out += std::string(",\"image\":") + (image ? "true" : "false");
    }
    if (lstrcmpiW(cls, L"Static") == 0) {
        const bool image = (style & SS_TYPEMASK) == SS_ICON || (style & SS_TYPEMASK) == SS_BITMAP;
        out += std::string(",\"image\":") + (image ? "true" : "false");
    }
    return out + "}";
}

struct Walk {
    DWORD process = 0;
    std::vector<std::string> lines;
};

void addChildren(HWND parent, Walk &walk) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) {
            walk.lines.push_back(describe(child, parent));
            addChildren(child, walk);
        }
    }
}

BOOL CALLBACK addTopLevel(HWND hwnd, LPARAM param) {
    auto &walk = *reinterpret_cast<Walk *>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == walk.process && IsWindowVisible(hwnd)) {
        walk.lines.push_back(describe(hwnd, nullptr));
        addChildren(hwnd, walk);
    }
    return TRUE;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wintree TITLE\n");
        return 2;
    }
    HWND main = FindWindowA(nullptr, argv[1]);
    if (main == nullptr) {
        std::fprintf(stderr, "wintree: no window titled '%s'\n", argv[1]);
        return 1;
    }
    Walk walk;
    GetWindowThreadProcessId(main, &walk.process);
    EnumWindows(addTopLevel, reinterpret_cast<LPARAM>(&walk));
    std::string out = "{\"windows\":[\n";
    for (size_t i = 0; i < walk.lines.size(); ++i) {
        out += walk.lines[i] + (i + 1 < walk.lines.size() ? ",\n" : "\n");
    }
    out += "]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
