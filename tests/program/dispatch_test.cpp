// The window procedure's dispatch: keys, commands without a handler, unknown timers, and the
// default procedure for everything else.
#include "program_fixture.h"

#include <string>

namespace {

class DispatchTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NE(createWindow(), nullptr);
    }
};

TEST_F(DispatchTest, EscapeDestroysTheMainWindow) {
    EXPECT_EQ(SendMessageA(app.mainWindow, WM_KEYDOWN, VK_ESCAPE, 1), 0);
    EXPECT_FALSE(IsWindow(app.mainWindow));
    EXPECT_TRUE(quitRequested());
    EXPECT_EQ(tuner->log.alive, 0);
}

TEST_F(DispatchTest, OtherKeysDoNothing) {
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{'A'}, WPARAM{VK_SPACE}, WPARAM{VK_F1}}) {
        EXPECT_EQ(SendMessageA(app.mainWindow, WM_KEYDOWN, key, 1), 0);
        EXPECT_TRUE(IsWindow(app.mainWindow));
    }
    EXPECT_FALSE(quitRequested());
}

TEST_F(DispatchTest, EscapeThroughTheQueueEndsTheLoop) {
    PostMessageA(app.mainWindow, WM_KEYDOWN, VK_ESCAPE, 1);
    pumpMessages();
    EXPECT_FALSE(IsWindow(app.mainWindow));
    MSG msg{};
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
}

// What a command could change: the wizard's state, the controls, the card and the boxes shown.
std::string observable() {
    std::string state = std::to_string(app.step) + std::to_string(app.entryMode) +
                        std::to_string(app.language) + std::to_string(app.voiceMode) +
                        std::to_string(app.compactView) + std::to_string(app.timersOn);
    for (HWND control : {app.modeButton, app.backButton, app.findButton, app.editBox, app.upDown,
                         app.horizontalRadio, app.verticalRadio, app.aboutButton, app.flagStatic,
                         app.soundStatic, app.satelliteCombo}) {
        char text[32] = {};
        GetWindowTextA(control, text, sizeof text);
        state += std::string("|") + text + std::to_string(IsWindowVisible(control)) +
                 std::to_string(IsWindowEnabled(control)) +
                 std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0)) +
                 std::to_string(SendMessageA(control, CB_GETCURSEL, 0, 0));
    }
    return state;
}

TEST_F(DispatchTest, CommandsFromControlsWithoutHandlersChangeNothing) {
    ShowWindow(app.mainWindow, SW_SHOWNORMAL);
    UpdateWindow(app.mainWindow);
    tuner->log.calls.clear();
    const std::string before = observable();
    for (WORD id : {WORD{110}, WORD{111}, WORD{117}, WORD{118}, WORD{128}, WORD{999}}) {
        for (WORD code : {WORD{BN_CLICKED}, WORD{EN_CHANGE}, WORD{CBN_SELCHANGE}}) {
            EXPECT_EQ(SendMessageA(app.mainWindow, WM_COMMAND, MAKEWPARAM(id, code), 0), 0);
        }
    }
    EXPECT_EQ(observable(), before);
    EXPECT_TRUE(tuner->log.calls.empty());
    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_FALSE(GetUpdateRect(app.mainWindow, nullptr, FALSE)) << "nothing to repaint";
}

TEST_F(DispatchTest, OtherMessagesReachTheDefaultProcedure) {
    // WM_SETTEXT is the default procedure's: the title changes.
    SendMessageA(app.mainWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("other"));
    char title[16] = {};
    GetWindowTextA(app.mainWindow, title, sizeof title);
    EXPECT_STREQ(title, "other");
    // The close box goes through the default procedure to DestroyWindow.
    SendMessageA(app.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(app.mainWindow));
    EXPECT_TRUE(quitRequested());
}

TEST_F(DispatchTest, TimerTicksWithUnknownIdsChangeNothing) {
    tuner->log.calls.clear();
    for (WPARAM id : {WPARAM{1}, WPARAM{115}, WPARAM{117}, WPARAM{123}, WPARAM{125}}) {
        EXPECT_EQ(SendMessageA(app.mainWindow, WM_TIMER, id, 0), 0);
    }
    EXPECT_TRUE(tuner->log.calls.empty());
    EXPECT_EQ(app.quality, 0);
}

// A child of the main window gets its WM_DESTROY after the main window's own, while the main
// window and its timers still exist: what it finds then is what the program left running.
BOOL g_timersLeft[2] = {};
LRESULT CALLBACK timerProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        g_timersLeft[0] = KillTimer(GetParent(hwnd), POLL_TIMER);
        g_timersLeft[1] = KillTimer(GetParent(hwnd), ANNOUNCE_TIMER);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(DispatchTest, DestroyWithTimersRunningStopsThem) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = timerProbeProc;
    wc.lpszClassName = "TimerProbe";
    RegisterClassA(&wc);
    for (const BYTE timersOn : {BYTE{1}, BYTE{0}}) {
        SCOPED_TRACE(static_cast<int>(timersOn));
        if (!IsWindow(app.mainWindow)) {
            app = AppState{};
            ASSERT_NE(createWindow(), nullptr);
        }
        app.timersOn = timersOn;
        SetTimer(app.mainWindow, POLL_TIMER, 600, nullptr);
        if (timersOn == 1) {
            SetTimer(app.mainWindow, ANNOUNCE_TIMER, 600, nullptr);
        }
        ASSERT_NE(CreateWindowExA(0, "TimerProbe", "", WS_CHILD, 0, 0, 1, 1, app.mainWindow,
                                  nullptr, nullptr, nullptr),
                  nullptr);
        g_timersLeft[0] = g_timersLeft[1] = TRUE;
        DestroyWindow(app.mainWindow);
        EXPECT_FALSE(g_timersLeft[0]) << "poll timer";
        EXPECT_FALSE(g_timersLeft[1]) << "announce timer";
        pumpMessages();
    }
}

TEST_F(DispatchTest, FirstPaintFillsTheClientAreaWithTheClassBackground) {
    ShowWindow(app.mainWindow, SW_SHOWNORMAL);
    UpdateWindow(app.mainWindow);
    HDC dc = GetDC(app.mainWindow);
    for (POINT p : {POINT{0, 0}, POINT{167, 72}, POINT{333, 143}}) {
        EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(150, 170, 190)) << p.x << "," << p.y;
    }
    ReleaseDC(app.mainWindow, dc);
}

} // namespace
