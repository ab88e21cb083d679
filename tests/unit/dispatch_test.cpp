// The window procedure's dispatch: keys, commands without a handler, unknown timers, and the
// default procedure for everything else.
#include "program_fixture.h"

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

TEST_F(DispatchTest, CommandsFromControlsWithoutHandlersChangeNothing) {
    const AppState before = app;
    for (WORD id : {WORD{110}, WORD{111}, WORD{117}, WORD{118}, WORD{128}, WORD{999}}) {
        for (WORD code : {WORD{0}, WORD{EN_CHANGE}, WORD{CBN_SELCHANGE}}) {
            EXPECT_EQ(SendMessageA(app.mainWindow, WM_COMMAND, MAKEWPARAM(id, code), 0), 0);
        }
    }
    EXPECT_TRUE(IsWindow(app.mainWindow));
    EXPECT_EQ(app.step, before.step);
    EXPECT_EQ(app.entryMode, before.entryMode);
    EXPECT_TRUE(boxes->shown().empty());
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

TEST_F(DispatchTest, DestroyWithTimersRunningStopsThem) {
    app.timersOn = 1;
    SetTimer(app.mainWindow, POLL_TIMER, 600, nullptr);
    SetTimer(app.mainWindow, ANNOUNCE_TIMER, 600, nullptr);
    DestroyWindow(app.mainWindow);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_EQ(KillTimer(app.mainWindow, POLL_TIMER), FALSE);
    EXPECT_EQ(KillTimer(app.mainWindow, ANNOUNCE_TIMER), FALSE);
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
