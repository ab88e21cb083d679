// Layout: the rectangles and control places for the classic 334 x 144 client area, the compact
// view and its round trip, and the double-click that switches it at the measuring step only.
#include "program_fixture.h"

#include "app/layout.h"

namespace {

RECT clientRectOf(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    POINT topLeft{r.left, r.top};
    POINT bottomRight{r.right, r.bottom};
    ScreenToClient(app.mainWindow, &topLeft);
    ScreenToClient(app.mainWindow, &bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void expectRect(const RECT &r, LONG left, LONG top, LONG right, LONG bottom, const char *what) {
    EXPECT_EQ(r.left, left) << what;
    EXPECT_EQ(r.top, top) << what;
    EXPECT_EQ(r.right, right) << what;
    EXPECT_EQ(r.bottom, bottom) << what;
}

class LayoutTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NE(createWindow(), nullptr);
        ShowWindow(app.mainWindow, SW_SHOWNORMAL);
    }
};

TEST_F(LayoutTest, NormalViewRectangles) {
    expectRect(app.clientRect, 0, 0, 334, 144, "client");
    expectRect(app.frameRect, 1, 1, 333, 143, "frame");
    expectRect(app.promptRect, 33, 7, 297, 56, "prompt");
    expectRect(app.captionRect, 33, 28, 297, 56, "caption");
    expectRect(app.readoutRect, 32, 55, 298, 85, "readout");
    expectRect(app.barRect, 66, 57, 264, 83, "bar");
    expectRect(app.lampRect, 265, 57, 296, 83, "lamp");
    expectRect(app.snrRect, 221, 88, 298, 106, "snr");
}

struct ControlRow {
    HWND AppState::*field;
    const char *cls;
    const char *text;
    int id;
    RECT place;
    DWORD style;
};

TEST_F(LayoutTest, ControlsHaveTheirClassesTextsIdsAndPlaces) {
    // One control per row, however long.
    // clang-format off
    const ControlRow rows[] = {
        {&AppState::modeButton, "BUTTON", "MODE 0", 127, {33, 112, 99, 133}, WS_VISIBLE},
        {&AppState::backButton, "BUTTON", "<BACK", 115, {132, 112, 198, 133}, WS_VISIBLE | WS_DISABLED},
        {&AppState::findButton, "BUTTON", "FIND>", 114, {231, 112, 297, 133}, WS_VISIBLE},
        // The up-down control took the edit box's left 16 pixels and overlaps its border by 2,
        // whatever width it was created with, as Windows places it.
        {&AppState::editBox, "EDIT", "12245", 110, {49, 56, 198, 84}, ES_NUMBER | ES_CENTER},
        {&AppState::upDown, "msctls_updown32", "", 111, {33, 56, 51, 84},
         UDS_SETBUDDYINT | UDS_ALIGNLEFT | UDS_ARROWKEYS | UDS_NOTHOUSANDS},
        {&AppState::horizontalRadio, "BUTTON", "Horizontal", 117, {33, 56, 198, 84}, BS_AUTORADIOBUTTON},
        {&AppState::verticalRadio, "BUTTON", "Vertical", 118, {198, 56, 297, 84}, BS_AUTORADIOBUTTON},
        {&AppState::aboutButton, "BUTTON", "About", 121, {231, 112, 297, 133}, BS_PUSHBUTTON},
        {&AppState::flagStatic, "STATIC", "#147", 123, {3, 3, 21, 15}, WS_VISIBLE | SS_NOTIFY | SS_BITMAP},
        {&AppState::soundStatic, "STATIC", "#126", 126, {24, 3, 36, 15}, SS_NOTIFY | SS_BITMAP},
    };
    // clang-format on
    for (const ControlRow &row : rows) {
        const HWND hwnd = app.*row.field;
        ASSERT_TRUE(IsWindow(hwnd)) << row.text;
        char cls[32] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, row.cls);
        char text[32] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        EXPECT_STREQ(text, row.text);
        EXPECT_EQ(GetDlgCtrlID(hwnd), row.id) << row.text;
        EXPECT_EQ(GetParent(hwnd), app.mainWindow) << row.text;
        // Shown, enabled and the class's own style bits exactly as the row says.
        const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
        EXPECT_EQ(style & (WS_VISIBLE | WS_DISABLED | 0xFFFF), row.style) << row.text;
        EXPECT_TRUE(style & WS_CHILD) << row.text;
        const RECT r = clientRectOf(hwnd);
        expectRect(r, row.place.left, row.place.top, row.place.right, row.place.bottom, row.text);
    }
    const HWND combo = app.satelliteCombo;
    ASSERT_TRUE(IsWindow(combo));
    EXPECT_EQ(GetDlgCtrlID(combo), 128);
    const RECT r = clientRectOf(combo);
    EXPECT_EQ(r.left, 33);
    EXPECT_EQ(r.top, 56);
    EXPECT_EQ(r.right, 297);
}

TEST_F(LayoutTest, CompactViewRectanglesAndRoundTrip) {
    RECT before{};
    GetWindowRect(app.mainWindow, &before);
    app.step = 3;
    SendMessageA(app.mainWindow, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 20));
    ASSERT_EQ(app.compactView, 1);
    RECT wide{};
    GetWindowRect(app.mainWindow, &wide);
    EXPECT_EQ(wide.left, 50);
    EXPECT_EQ(wide.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 75);
    EXPECT_EQ(wide.right - wide.left, 924);
    EXPECT_EQ(wide.bottom - wide.top, before.bottom - before.top);
    expectRect(app.clientRect, 0, 0, 918, 144, "client");
    expectRect(app.readoutRect, 7, 55, 911, 126, "readout");
    expectRect(app.barRect, 182, 70, 819, 112, "bar");
    expectRect(app.lampRect, 820, 70, 898, 112, "lamp");
    expectRect(app.snrRect, 820, 28, 903, 42, "snr");
    expectRect(app.promptRect, 91, 7, 819, 56, "prompt");
    expectRect(app.frameRect, 1, 1, 917, 143, "frame");
    EXPECT_FALSE(IsWindowVisible(app.modeButton));
    EXPECT_FALSE(IsWindowVisible(app.backButton));
    EXPECT_FALSE(IsWindowVisible(app.aboutButton));
    expectRect(clientRectOf(app.flagStatic), 3, 3, 21, 15, "flag");

    SendMessageA(app.mainWindow, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 20));
    EXPECT_EQ(app.compactView, 0);
    RECT after{};
    GetWindowRect(app.mainWindow, &after);
    expectRect(after, before.left, before.top, before.right, before.bottom, "window");
    expectRect(app.readoutRect, 32, 55, 298, 85, "readout");
    EXPECT_TRUE(IsWindowVisible(app.modeButton));
    EXPECT_TRUE(IsWindowVisible(app.backButton));
    EXPECT_TRUE(IsWindowVisible(app.aboutButton));
    expectRect(clientRectOf(app.flagStatic), 3, 3, 21, 15, "flag");
}

TEST_F(LayoutTest, DoubleClickBeforeTheMeasuringStepDoesNothing) {
    for (SHORT step : {SHORT{0}, SHORT{1}, SHORT{2}}) {
        app.step = step;
        EXPECT_EQ(SendMessageA(app.mainWindow, WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 10)), 0);
        EXPECT_EQ(app.compactView, 0);
    }
    RECT r{};
    GetClientRect(app.mainWindow, &r);
    EXPECT_EQ(r.right, 334);
}

} // namespace
