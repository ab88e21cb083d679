// The USER32 bookkeeping: handle table (handles are never reused, so a stale HWND is simply
// invalid), the class table with case-insensitive names, the posted-message queue and the
// classic non-client metrics. Not implemented: class and window extra bytes, atoms as class
// names, per-thread queues.
#include "user32/window_manager.h"
#include "common/object_counts.h"

#include <algorithm>
#include <cctype>

namespace vintorel::user32 {

namespace {

std::string upper(const char *name) {
    std::string key = name ? name : "";
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return key;
}

} // namespace

int WindowObject::clientWidth() const {
    const Insets in = nonClientInsets(style, exStyle, !isChild());
    return std::max<int>(0, (windowRect.right - windowRect.left) - in.left - in.right);
}

int WindowObject::clientHeight() const {
    const Insets in = nonClientInsets(style, exStyle, !isChild());
    return std::max<int>(0, (windowRect.bottom - windowRect.top) - in.top - in.bottom);
}

Insets nonClientInsets(DWORD style, DWORD exStyle, bool topLevel) {
    Insets in;
    int frame = 0;
    if (style & WS_THICKFRAME) {
        frame = kSizingFrame;
    } else if (style & WS_DLGFRAME) {
        frame = kDialogFrame;
    } else if (style & WS_BORDER) {
        frame = kBorder;
    }
    in.left = in.right = in.top = in.bottom = frame;
    if ((style & WS_CAPTION) == WS_CAPTION && topLevel) {
        in.top += kCaptionHeight;
    }
    (void)exStyle;
    return in;
}

WindowManager &WindowManager::instance() {
    // Immortal, so windows and classes left at exit are still reachable then.
    static auto *manager = new WindowManager;
    return *manager;
}

WindowObject *WindowManager::find(HWND hwnd) const {
    const auto it = windows_.find(hwnd);
    if (it == windows_.end() || it->second->dead) {
        return nullptr;
    }
    return it->second.get();
}

WindowObject *WindowManager::create() {
    auto wnd = std::make_unique<WindowObject>();
    wnd->handle = reinterpret_cast<HWND>(nextHandle_);
    nextHandle_ += 4;
    WindowObject *raw = wnd.get();
    windows_.emplace(raw->handle, std::move(wnd));
    return raw;
}

void WindowManager::bury(HWND hwnd) {
    const auto it = windows_.find(hwnd);
    if (it == windows_.end()) {
        return;
    }
    it->second->dead = true;
    graveyard_.push_back(std::move(it->second));
    windows_.erase(it);
    std::erase_if(timers, [hwnd](const Timer &t) { return t.hwnd == hwnd; });
    if (focus == hwnd) {
        focus = nullptr;
    }
    if (active == hwnd) {
        active = nullptr;
    }
    if (capture == hwnd) {
        capture = nullptr;
    }
}

void WindowManager::collectGarbage() {
    if (procDepth == 0) {
        graveyard_.clear();
    }
}

std::vector<HWND> WindowManager::topLevels() const {
    std::vector<HWND> out;
    for (const auto &[hwnd, wnd] : windows_) {
        if (!wnd->dead && !wnd->isChild()) {
            out.push_back(hwnd);
        }
    }
    return out;
}

std::shared_ptr<WindowClass> WindowManager::findClass(const char *name) const {
    const auto it = classes_.find(upper(name));
    return it == classes_.end() ? nullptr : it->second;
}

bool WindowManager::addClass(std::shared_ptr<WindowClass> cls) {
    const std::string key = upper(cls->name.c_str());
    if (classes_.count(key) != 0) {
        return false;
    }
    classes_.emplace(key, std::move(cls));
    return true;
}

bool WindowManager::removeClass(const char *name) {
    return classes_.erase(upper(name)) != 0;
}

void WindowManager::post(const MSG &msg) {
    posted_.push_back(msg);
}

namespace {

bool matches(const MSG &m, HWND filter, UINT minMsg, UINT maxMsg) {
    if (filter != nullptr && m.hwnd != filter) {
        return false;
    }
    if (minMsg == 0 && maxMsg == 0) {
        return true;
    }
    return m.message >= minMsg && m.message <= maxMsg;
}

} // namespace

bool WindowManager::takePosted(MSG *out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
    for (auto it = posted_.begin(); it != posted_.end(); ++it) {
        if (matches(*it, filter, minMsg, maxMsg)) {
            *out = *it;
            if (remove) {
                posted_.erase(it);
            }
            return true;
        }
    }
    return false;
}

void WindowManager::removeMessagesFor(HWND hwnd) {
    std::erase_if(posted_, [hwnd](const MSG &m) { return m.hwnd == hwnd; });
}

int windowCount() {
    return static_cast<int>(WindowManager::instance().objectCount());
}

int timerCount() {
    return static_cast<int>(WindowManager::instance().timers.size());
}

} // namespace vintorel::user32
