// Win32 behaviour of the platform's windows, messages, timers, painting, keyboard focus and
// message boxes, written against the Win32 API so that it would pass on Windows too.
#ifndef _WIN32
#include "message_boxes.h"
#endif
#include "mouse.h"
#include "under_wine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

struct Trace {
    std::vector<std::string> events;
    bool destroyInCreate = false;
    bool failCreate = false;
    LPVOID createParam = nullptr;
    RECT lastPaint{};
    bool lastErase = false;
};

Trace g_trace;

std::string name(HWND hwnd) {
    char text[32] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

LRESULT CALLBACK traceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        const auto *cs = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        g_trace.createParam = cs->lpCreateParams;
        g_trace.events.push_back("create " + std::string(cs->lpszName ? cs->lpszName : ""));
        if (g_trace.destroyInCreate) {
            DestroyWindow(hwnd);
            return 0;
        }
        return g_trace.failCreate ? -1 : 0;
    }
    case WM_DESTROY:
        g_trace.events.push_back("destroy " + name(hwnd));
        return 0;
    case WM_ERASEBKGND:
        g_trace.events.push_back("erase");
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        g_trace.lastPaint = ps.rcPaint;
        g_trace.lastErase = ps.fErase != FALSE;
        g_trace.events.push_back("paint");
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        RECT all{0, 0, 1000, 1000};
        FillRect(dc, &all, red); // clipped to the update region
        DeleteObject(red);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER:
        g_trace.events.push_back("timer " + std::to_string(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        g_trace.events.push_back("down");
        return 0;
    case WM_LBUTTONUP:
        g_trace.events.push_back("up");
        return 0;
    case WM_LBUTTONDBLCLK:
        g_trace.events.push_back("double");
        return 0;
    case WM_USER + 1:
        g_trace.events.push_back("user " + std::to_string(wParam));
        return static_cast<LRESULT>(wParam * 2);
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

class User32Test : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = traceProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = CreateSolidBrush(RGB(150, 170, 190));
        wc.lpszClassName = "TraceWindow";
        RegisterClassA(&wc);
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpszClassName = "PlainTraceWindow";
        RegisterClassA(&wc);
    }
    void SetUp() override { g_trace = Trace{}; }
    void TearDown() override {
        for (HWND w : windows_) {
            if (IsWindow(w)) {
                DestroyWindow(w);
            }
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND make(const char *title, DWORD style = WS_DLGFRAME | WS_SYSMENU, HWND parent = nullptr,
              int id = 0, const char *cls = "TraceWindow") {
        HWND w = CreateWindowExA(0, cls, title, style, 10, 20, 340, 169, parent,
                                 reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                                 GetModuleHandleA(nullptr), &g_trace);
        windows_.push_back(w);
        return w;
    }
    void drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                break;
            }
            DispatchMessageA(&msg);
        }
    }
    std::vector<HWND> windows_;
};

TEST_F(User32Test, CreationSendsCreateSynchronouslyWithTheParameters) {
    HWND w = make("main");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(g_trace.events.front(), "create main");
    EXPECT_EQ(g_trace.createParam, &g_trace);
}

TEST_F(User32Test, WindowDestroyedDuringCreationYieldsNoWindow) {
    g_trace.destroyInCreate = true;
    EXPECT_EQ(make("doomed"), nullptr);
    EXPECT_EQ(g_trace.events, (std::vector<std::string>{"create doomed", "destroy doomed"}));
    EXPECT_EQ(FindWindowA("TraceWindow", "doomed"), nullptr);
}

TEST_F(User32Test, CreateReturningMinusOneYieldsNoWindow) {
    g_trace.failCreate = true;
    EXPECT_EQ(make("refused"), nullptr);
    EXPECT_EQ(FindWindowA("TraceWindow", "refused"), nullptr);
    if (!underWine()) { // Wine sends the refused window no WM_DESTROY
        EXPECT_EQ(g_trace.events.back(), "destroy refused");
    }
}

TEST_F(User32Test, UnknownClassYieldsNoWindow) {
    EXPECT_EQ(
        CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    if (!underWine()) { // Wine says ERROR_CLASS_DOES_NOT_EXIST
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    }
}

TEST_F(User32Test, ClassNamesAreCaseInsensitiveAndUnique) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = traceProc;
    wc.lpszClassName = "tracewindow";
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    HWND w = CreateWindowExA(0, "TRACEWINDOW", "upper", WS_DLGFRAME, 0, 0, 50, 50, nullptr, nullptr,
                             nullptr, nullptr);
    windows_.push_back(w);
    EXPECT_NE(w, nullptr);
}

TEST_F(User32Test, DestroyReachesTheWindowThenItsChildrenAtOnce) {
    HWND parent = make("parent");
    HWND child = make("child", WS_CHILD | WS_VISIBLE, parent, 7);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgItem(parent, 7), child);
    EXPECT_EQ(GetParent(child), parent);
    g_trace.events.clear();
    EXPECT_TRUE(DestroyWindow(parent));
    EXPECT_EQ(g_trace.events, (std::vector<std::string>{"destroy parent", "destroy child"}));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(DestroyWindow(parent));
}

TEST_F(User32Test, ClassicDialogFrameGeometry) {
    HWND w = make("geometry");
    RECT rc{};
    GetClientRect(w, &rc);
    EXPECT_EQ(rc.right, 334);
    EXPECT_EQ(rc.bottom, 169 - GetSystemMetrics(SM_CYCAPTION) - 6);
    // CreateWindowEx gives every overlapped window a caption; AdjustWindowRect goes by the
    // style it is given, where a caption is WS_CAPTION (WS_BORDER | WS_DLGFRAME).
    for (const DWORD style : {DWORD{WS_DLGFRAME | WS_SYSMENU}, DWORD{WS_CAPTION | WS_SYSMENU}}) {
        RECT adjusted{0, 0, 334, 144};
        AdjustWindowRect(&adjusted, style, FALSE);
        EXPECT_EQ(adjusted.right - adjusted.left, 340) << style;
        EXPECT_EQ(adjusted.bottom - adjusted.top,
                  144 + 6 + (style & WS_BORDER ? GetSystemMetrics(SM_CYCAPTION) : 0))
            << style;
    }
    MoveWindow(w, 50, 60, 924, GetSystemMetrics(SM_CYCAPTION) + 150, TRUE);
    GetClientRect(w, &rc);
    EXPECT_EQ(rc.right, 918);
    EXPECT_EQ(rc.bottom, 144);
    RECT wr{};
    GetWindowRect(w, &wr);
    EXPECT_EQ(wr.left, 50);
    EXPECT_EQ(wr.top, 60);
}

TEST_F(User32Test, SendIsSynchronousPostIsQueued) {
    HWND w = make("messages");
    g_trace.events.clear();
    EXPECT_EQ(SendMessageA(w, WM_USER + 1, 21, 0), 42);
    EXPECT_EQ(g_trace.events, (std::vector<std::string>{"user 21"}));
    PostMessageA(w, WM_USER + 1, 1, 0);
    PostMessageA(w, WM_USER + 1, 2, 0);
    EXPECT_EQ(g_trace.events.size(), 1u);
    drain();
    EXPECT_EQ(g_trace.events, (std::vector<std::string>{"user 21", "user 1", "user 2"}));
    EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(0x1234), WM_USER + 1, 1, 0), 0);
}

TEST_F(User32Test, QuitEndsGetMessageWithItsCodeAfterPostedMessages) {
    HWND w = make("quit");
    PostMessageA(w, WM_USER + 1, 5, 0);
    PostQuitMessage(3);
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(User32Test, InvalidationWithEraseFillsWithTheClassBrushBeforePainting) {
    HWND w = make("paint");
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    g_trace.events.clear();
    RECT part{10, 10, 20, 30};
    InvalidateRect(w, &part, TRUE);
    UpdateWindow(w);
    EXPECT_EQ(g_trace.events, (std::vector<std::string>{"erase", "paint"}));
    EXPECT_EQ(g_trace.lastPaint.left, 10);
    EXPECT_EQ(g_trace.lastPaint.bottom, 30);
    EXPECT_FALSE(g_trace.lastErase);
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 0, 0)) << "painted inside the update region";
    EXPECT_EQ(GetPixel(dc, 25, 15), RGB(255, 0, 0)) << "left from the first full paint";
    ReleaseDC(w, dc);
    // Nothing left to paint: no further WM_PAINT.
    g_trace.events.clear();
    drain();
    EXPECT_TRUE(g_trace.events.empty());
}

TEST_F(User32Test, OnlyTheInvalidatedAreaIsRepainted) {
    HWND w = make("partial");
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w); // all red now
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 100, 100), RGB(255, 0, 0));
    ReleaseDC(w, dc);
    // Erase one area without repainting it red: the procedure paints red everywhere it may,
    // so only the invalidated area can change. A window procedure that erases but does not
    // paint is DefWindowProc's WM_PAINT; use ValidateRect to drop part of an invalidation.
    InvalidateRect(w, nullptr, TRUE);
    RECT keep{0, 0, 200, 144};
    ValidateRect(w, &keep);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
    EXPECT_EQ(update.left, 200);
    EXPECT_EQ(update.right, 334);
}

TEST_F(User32Test, TimersTickAsMessagesAndReArmWithTheSameId) {
    HWND w = make("timers");
    g_trace.events.clear();
    EXPECT_NE(SetTimer(w, 116, 10'000'000, nullptr), 0u);
    EXPECT_NE(SetTimer(w, 116, 15, nullptr), 0u); // re-armed, not a second timer
    MSG msg{};
    int ticks = 0;
    while (ticks < 2 && GetMessageA(&msg, nullptr, 0, 0)) {
        DispatchMessageA(&msg);
        if (msg.message == WM_TIMER) {
            ++ticks;
        }
    }
    EXPECT_EQ(g_trace.events, (std::vector<std::string>{"timer 116", "timer 116"}));
    EXPECT_TRUE(KillTimer(w, 116));
    EXPECT_FALSE(KillTimer(w, 116));
}

TEST_F(User32Test, TimersOfDestroyedWindowsNeverTick) {
    HWND w = make("gone");
    DestroyWindow(w);
    EXPECT_EQ(SetTimer(w, 124, 10, nullptr), 0u);
    EXPECT_FALSE(KillTimer(w, 124));
}

int g_callbackTicks = 0;
void CALLBACK countTick(HWND hwnd, UINT msg, UINT_PTR id, DWORD) {
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_EQ(msg, static_cast<UINT>(WM_TIMER));
    ++g_callbackTicks;
    KillTimer(nullptr, id);
    PostQuitMessage(0);
}

TEST_F(User32Test, ThreadTimerCallsItsCallback) {
    g_callbackTicks = 0;
    EXPECT_NE(SetTimer(nullptr, 0, 10, countTick), 0u);
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(g_callbackTicks, 1);
}

#ifndef _WIN32 // the platform's own test hook
TEST_F(User32Test, MessageBoxHookRecordsAndAnswers) {
    HWND w = make("owner");
    MessageBoxes boxes;
    boxes.willAnswer(IDNO);
    EXPECT_EQ(MessageBoxA(w, "Question?", "Warning!", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(w, "Fine", "Error", MB_OK), IDOK);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].owner, w);
    EXPECT_EQ(boxes.shown()[0].text, "Question?");
    EXPECT_EQ(boxes.shown()[0].caption, "Warning!");
    EXPECT_EQ(boxes.shown()[0].type, static_cast<UINT>(MB_YESNO));
}
#endif

TEST_F(User32Test, DoubleClickOnlyForClassesThatAskForIt) {
    struct Row {
        const char *cls;
        std::vector<int> clickX; // where the clicks land, one after another
        std::vector<std::string> events;
    };
    const Row rows[] = {
        {"TraceWindow", {50, 50, 50}, {"down", "up", "double", "up", "down", "up"}},
        {"PlainTraceWindow", {50, 50, 50}, {"down", "up", "down", "up", "down", "up"}},
        {"TraceWindow", {50, 53, 53}, {"down", "up", "down", "up", "double", "up"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.cls + std::string(" at ") + std::to_string(row.clickX[1]));
        HWND w = make("clicks", WS_DLGFRAME | WS_SYSMENU, nullptr, 0, row.cls);
        ShowWindow(w, SW_SHOW);
        drain();
        g_trace.events.clear();
        for (int x : row.clickX) {
            POINT p{x, 40};
            ClientToScreen(w, &p);
            clickAt(p);
        }
        drain();
        EXPECT_EQ(g_trace.events, row.events);
        DestroyWindow(w);
    }
}

TEST_F(User32Test, HiddenWindowsAreNotPaintedUntilShown) {
    HWND parent = make("hidden");
    HWND child = make("kid", WS_CHILD | WS_VISIBLE, parent, 4);
    HWND sibling = make("sibling", WS_CHILD, parent, 5);
    g_trace.events.clear();
    InvalidateRect(parent, nullptr, TRUE);
    InvalidateRect(child, nullptr, TRUE);
    ShowWindow(sibling, SW_SHOW);
    UpdateWindow(parent);
    UpdateWindow(child);
    drain();
    EXPECT_TRUE(g_trace.events.empty());
    EXPECT_FALSE(GetUpdateRect(parent, nullptr, FALSE));
    ShowWindow(parent, SW_SHOW);
    drain();
    EXPECT_EQ(std::count(g_trace.events.begin(), g_trace.events.end(), "paint"), 3)
        << "the window and both children, once each";
    g_trace.events.clear();
    ShowWindow(parent, SW_HIDE);
    InvalidateRect(parent, nullptr, TRUE);
    drain();
    EXPECT_TRUE(g_trace.events.empty());
}

struct DcState {
    HDC dc;
    COLORREF textColor; // as the paint found them
    HGDIOBJ font;
};
std::vector<DcState> g_paints;
HFONT g_font = nullptr;

LRESULT CALLBACK dcProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    g_paints.push_back(DcState{dc, SetTextColor(dc, RGB(1, 2, 3)), SelectObject(dc, g_font)});
    SetBkMode(dc, TRANSPARENT);
    EndPaint(hwnd, &ps); // the font stays selected
    return 0;
}

TEST_F(User32Test, OwnDcKeepsWhatThePreviousPaintLeftInIt) {
    LOGFONTA lf{};
    lf.lfHeight = 20;
    g_font = CreateFontIndirectA(&lf);
    const HGDIOBJ systemFont = GetStockObject(SYSTEM_FONT);
    for (const UINT style : {UINT{CS_OWNDC}, UINT{0}}) {
        SCOPED_TRACE(style);
        const std::string cls = "DcTrace" + std::to_string(style);
        WNDCLASSA wc{};
        wc.style = style;
        wc.lpfnWndProc = dcProc;
        wc.lpszClassName = cls.c_str();
        RegisterClassA(&wc);
        g_paints.clear();
        HWND w = make("dc", WS_DLGFRAME, nullptr, 0, cls.c_str());
        ShowWindow(w, SW_SHOW);
        UpdateWindow(w);
        InvalidateRect(w, nullptr, FALSE);
        UpdateWindow(w);
        ASSERT_EQ(g_paints.size(), 2u);
        const bool own = style == CS_OWNDC;
        EXPECT_EQ(g_paints[0].textColor, RGB(0, 0, 0));
        EXPECT_EQ(g_paints[0].font, systemFont);
        if (own) {
            EXPECT_EQ(g_paints[1].dc, g_paints[0].dc);
        }
        EXPECT_EQ(g_paints[1].textColor, own ? RGB(1, 2, 3) : RGB(0, 0, 0));
        EXPECT_EQ(g_paints[1].font, own ? g_font : systemFont);
        HDC dc = GetDC(w);
        if (own) {
            EXPECT_EQ(dc, g_paints[0].dc);
        }
        EXPECT_EQ(SetBkMode(dc, OPAQUE), own ? TRANSPARENT : OPAQUE);
        ReleaseDC(w, dc);
        // Windows refuses to delete an object still selected (Wine deletes it).
        if (!underWine()) {
            EXPECT_EQ(DeleteObject(g_font), own ? FALSE : TRUE) << "still selected in the own DC";
        }
        DestroyWindow(w);
        if (own && !underWine()) {
            EXPECT_TRUE(DeleteObject(g_font)) << "the own DC died with its window";
        }
        g_font = CreateFontIndirectA(&lf);
    }
    DeleteObject(g_font);
}

TEST_F(User32Test, VisibilityAndEnabling) {
    HWND parent = make("vis");
    HWND child = make("kid", WS_CHILD | WS_VISIBLE | WS_DISABLED, parent, 3);
    EXPECT_FALSE(IsWindowVisible(parent));
    EXPECT_FALSE(IsWindowVisible(child)) << "a hidden parent hides its children";
    ShowWindow(parent, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(EnableWindow(child, TRUE)) << "returns whether it was disabled";
    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_TRUE(ShowWindow(child, SW_HIDE)) << "returns whether it was visible";
    EXPECT_FALSE(IsWindowVisible(child));
}

// What reaches the focus test's main window: activations and keys.
std::vector<std::string> g_focusTrace;

LRESULT CALLBACK focusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
        g_focusTrace.push_back((msg == WM_KEYDOWN ? "key " : "syskey ") + std::to_string(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A point of the window's client area that no control covers, on the screen.
POINT ownAreaOf(HWND hwnd) {
    POINT p{300, 100};
    ClientToScreen(hwnd, &p);
    return p;
}

void typeKey(WORD vk) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = vk;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

// The focus is set while the window is still hidden, as a program does during WM_CREATE; then
// something happens and Escape is typed. Where the focus is, and whether the main window's
// procedure sees the key (as WM_SYSKEYDOWN when no window has the focus).
TEST_F(User32Test, KeyboardFocusMovesAsOnWindows) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = focusProc;
    wc.lpszClassName = "FocusWindow";
    RegisterClassA(&wc);
    struct Windows {
        HWND other, main, edit, button;
    };
    struct Row {
        const char *what;
        void (*act)(const Windows &);
        const char *focus; // "main", "edit", "button" or "none"
        std::vector<std::string> mainGets;
    };
    const Row rows[] = {
        {"nothing", [](const Windows &) {}, "edit", {}},
        {"a click on the window's own area",
         [](const Windows &w) { clickAt(ownAreaOf(w.main)); },
         "edit",
         {}},
        {"a click on a button",
         [](const Windows &w) { clickAt(middleOf(w.button)); },
         "button",
         {}},
        {"the window activated anew by a click",
         [](const Windows &w) {
             ShowWindow(w.other, SW_SHOW);
             clickAt(ownAreaOf(w.main));
         },
         "main",
         {"key 27"}},
        {"the focused button hidden",
         [](const Windows &w) {
             SetFocus(w.button);
             ShowWindow(w.button, SW_HIDE);
         },
         "main",
         {"key 27"}},
        {"the focused button disabled",
         [](const Windows &w) {
             SetFocus(w.button);
             EnableWindow(w.button, FALSE);
         },
         "none",
         {"syskey 27"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Windows w{};
        w.other = make("other"); // beside the main window: showing a window raises it
        MoveWindow(w.other, 400, 20, 340, 169, FALSE);
        w.main = CreateWindowExA(0, "FocusWindow", "main", WS_DLGFRAME | WS_SYSMENU, 10, 20, 340,
                                 169, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        windows_.push_back(w.main);
        w.edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 24, w.main,
                                 nullptr, nullptr, nullptr);
        w.button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 10, 50, 100, 24, w.main,
                                   nullptr, nullptr, nullptr);
        SetFocus(w.edit);
        ShowWindow(w.main, SW_SHOW);
        drain();
        ASSERT_EQ(GetActiveWindow(), w.main);
        row.act(w);
        drain();
        const std::map<std::string, HWND> names{
            {"main", w.main}, {"edit", w.edit}, {"button", w.button}, {"none", nullptr}};
        EXPECT_EQ(GetFocus(), names.at(row.focus));
        g_focusTrace.clear();
        typeKey(VK_ESCAPE);
        drain();
        EXPECT_EQ(g_focusTrace, row.mainGets);
        DestroyWindow(w.main);
        DestroyWindow(w.other);
    }
}

} // namespace

// A drop-down combo box given a font: its rows are the font's cell high (22 for a 22-pixel
// font), the closed box is the edit field and its edges, and the dropped list is a popup of its
// own just below the box (above it near the screen's bottom), as tall as its rows and a
// one-pixel border, up to the height given at creation in whole rows.
TEST_F(User32Test, ComboBoxListFollowsItsFont) {
    LOGFONTA lf{};
    lf.lfHeight = 22;
    lf.lfWidth = 14;
    lf.lfCharSet = RUSSIAN_CHARSET;
    HFONT font = CreateFontIndirectA(&lf);
    struct Row {
        int items;
        bool nearBottom;
    };
    for (const Row row : {Row{4, false}, Row{1, false}, Row{40, false}, Row{4, true}}) {
        SCOPED_TRACE(testing::Message()
                     << row.items << " items" << (row.nearBottom ? ", low" : ""));
        HWND parent = make("combo", WS_DLGFRAME | WS_SYSMENU | WS_VISIBLE);
        if (row.nearBottom) {
            MoveWindow(parent, 10, GetSystemMetrics(SM_CYSCREEN) - 150, 340, 169, TRUE);
        }
        HWND combo = CreateWindowExA(
            0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | CBS_DROPDOWN, 33,
            56, 264, 640, parent, reinterpret_cast<HMENU>(128), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SendMessageA(combo, CB_SETHORIZONTALEXTENT, 600, 0);
        for (int i = 0; i < row.items; ++i) {
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Eutelsat W4/Sesat"));
        }
        EXPECT_EQ(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0), 22);
        EXPECT_EQ(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 26);
        RECT box{};
        GetWindowRect(combo, &box);
        EXPECT_EQ(box.bottom - box.top, 30);

        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        drain();
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        EXPECT_TRUE(IsWindowVisible(info.hwndList));
        EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
        RECT list{};
        GetWindowRect(info.hwndList, &list);
        const int height = list.bottom - list.top;
        EXPECT_EQ(list.left, box.left);
        EXPECT_EQ(list.right, box.right);
        if (row.nearBottom) {
            EXPECT_EQ(list.bottom, box.top) << "no room below: the list opens upwards";
        } else {
            EXPECT_EQ(list.top, box.bottom);
        }
        if (row.items < 27) {
            EXPECT_EQ(height, 22 * row.items + 2);
        } else {
            // The height given at creation less the edit field, in whole rows.
            EXPECT_EQ((height - 2) % 22, 0) << height;
            EXPECT_LE(height, 640 - 30);
            EXPECT_GT(height, 640 - 30 - 22 - 16);
        }
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        drain();
        EXPECT_FALSE(IsWindowVisible(info.hwndList));
        DestroyWindow(parent);
    }
    DeleteObject(font);
}

namespace {

WNDPROC g_previous = nullptr;

// A subclass: sees WM_USER + 1 first and keeps WM_USER + 2.
LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 1) {
        g_trace.events.push_back("subclass");
    } else if (msg == WM_USER + 2) {
        return 7;
    } else if (msg == WM_CAPTURECHANGED) {
        g_trace.events.push_back("lost capture " + name(hwnd));
    } else if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) {
        g_trace.events.push_back((msg == WM_LBUTTONDOWN ? "down at " : "up at ") + name(hwnd));
        return 0;
    }
    return CallWindowProcA(g_previous, hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(User32Test, SubclassingAndWhatAWindowKeeps) {
    HWND w = make("a");
    g_trace.events.clear();
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc)));
    EXPECT_EQ(g_previous, traceProc);
    EXPECT_EQ(SendMessageA(w, WM_USER + 1, 3, 0), 6);
    EXPECT_EQ(g_trace.events, (std::vector<std::string>{"subclass", "user 3"}));
    PostMessageA(w, WM_USER + 2, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, w, 0, 0, PM_REMOVE));
    EXPECT_EQ(DispatchMessageA(&msg), 7) << "posted messages go to the subclass too";

    EXPECT_EQ(SetWindowLongPtrA(w, GWLP_USERDATA, 42), 0);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 42);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongPtrA(w, 0, 1), 0) << "the class has no extra bytes";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

    int data = 0;
    EXPECT_TRUE(SetPropA(w, "owner", &data));
    EXPECT_EQ(GetPropA(w, "owner"), &data);
    EXPECT_EQ(RemovePropA(w, "owner"), &data);
    EXPECT_EQ(GetPropA(w, "owner"), nullptr);
}

// The mouse captured by one window: a click elsewhere goes to it; taking the capture away tells
// it, destroying the window that has it ends the capture without a word.
TEST_F(User32Test, CapturedMouseGoesToTheCapturingWindow) {
    HWND a = make("a", WS_DLGFRAME | WS_SYSMENU | WS_VISIBLE);
    HWND b = make("b", WS_CHILD | WS_VISIBLE, a);
    MoveWindow(b, 0, 0, 20, 20, TRUE);
    for (HWND w : {a, b}) {
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc));
    }
    g_previous = traceProc;
    drain();
    g_trace.events.clear();
    EXPECT_EQ(SetCapture(b), nullptr);
    POINT p{200, 80};
    ClientToScreen(a, &p);
    clickAt(p);
    drain();
    EXPECT_EQ(SetCapture(a), b);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(g_trace.events, (std::vector<std::string>{"down at b", "up at b", "lost capture b",
                                                        "destroy a", "destroy b"}));
}
