// Start-up and shutdown of the program with a tuner card that fails at each start-up step,
// and a full run through WinMain's message loop.
#include "program_fixture.h"

#include "tuner_control.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

namespace {

int runWinMain() {
    char empty[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, empty, SW_SHOWNORMAL);
}

// True when the COM runtime is back at the count the fixture left it with (balanced
// CoInitialize/CoUninitialize by the program).
bool comBalanced() {
    CoUninitialize(); // the fixture's own
    const HRESULT hr = CoInitialize(nullptr);
    return hr == S_OK;
}

struct StartupFailure {
    const char *name;
    TunerScript script;
    const char *message; // nullptr: no message box
    bool filterCreated;
};

class StartupFailureTest : public ProgramTest,
                           public testing::WithParamInterface<StartupFailure> {};

TEST_P(StartupFailureTest, ShowsItsMessageAndEndsWithoutALoop) {
    const StartupFailure &row = GetParam();
    tuner->script = row.script;

    EXPECT_EQ(runWinMain(), 0);

    if (row.message != nullptr) {
        ASSERT_EQ(boxes->shown().size(), 1u);
        EXPECT_EQ(boxes->shown()[0].text, row.message);
        EXPECT_EQ(boxes->shown()[0].caption, "Error");
        EXPECT_EQ(boxes->shown()[0].type, static_cast<UINT>(MB_OK));
        EXPECT_NE(boxes->shown()[0].owner, nullptr);
    } else {
        EXPECT_TRUE(boxes->shown().empty());
    }
    EXPECT_EQ(app.mainWindow, nullptr);
    EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);
    EXPECT_EQ(tuner->log.alive, 0) << "the filter must be released to its last reference";
    EXPECT_EQ(tuner->log.destroyed, row.filterCreated ? 1 : 0);
    EXPECT_EQ(app.comReady, row.filterCreated ? 1 : 0);
    EXPECT_TRUE(quitRequested()) << "the destroy steps ran";
    EXPECT_TRUE(comBalanced());
}

TunerScript failing(const char *operation, HRESULT status = E_FAIL) {
    TunerScript s;
    s.statuses[operation] = status;
    return s;
}

TunerScript createFails(HRESULT status) {
    TunerScript s;
    s.createStatus = status;
    return s;
}

TunerScript queryFails(HRESULT status) {
    TunerScript s;
    s.queryStatus = status;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, StartupFailureTest,
    testing::Values(
        StartupFailure{"CreateFails", createFails(REGDB_E_CLASSNOTREG),
                       "Cannot create filter graph manager", false},
        StartupFailure{"CreateAnswersPositive", createFails(S_FALSE),
                       "Cannot create filter graph manager", false},
        StartupFailure{"NoControlInterface", queryFails(E_NOINTERFACE), nullptr, true},
        StartupFailure{"ControlInterfaceAnswersPositive", queryFails(S_FALSE), nullptr, true},
        StartupFailure{"InitializeFails", failing("initialize"),
                       "Cannot initialize tuner control interface", true},
        StartupFailure{"SetFecFails", failing("setFec 6"), "Set fec failed", true},
        StartupFailure{"SetDiseqcFails", failing("setDiseqc 0"), "Set DiSEqC failed", true}),
    [](const testing::TestParamInfo<StartupFailure> &row) { return row.param.name; });

TEST_F(ProgramTest, NoTunerCardRegisteredSaysSoAndExits) {
    tuner.reset(); // no class registered at all
    CoInitialize(nullptr);
    EXPECT_EQ(runWinMain(), 0);
    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].text, "Cannot create filter graph manager");
    EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);
    EXPECT_TRUE(comBalanced());
    CoUninitialize();
}

TEST_F(ProgramTest, StartupSettingsAreSentInOrder) {
    ASSERT_NE(createWindow(), nullptr);
    EXPECT_EQ(tuner->log.calls,
              (std::vector<std::string>{"initialize", "setFec 6", "setDiseqc 0"}));
    EXPECT_EQ(app.comReady, 1);
    EXPECT_EQ(app.gdiReady, 1);
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(ProgramTest, PositiveStatusesOfTunerOperationsCountAsSuccess) {
    tuner->script.statuses["initialize"] = 1;
    tuner->script.statuses["setFec"] = 0x7FFFFFFF;
    tuner->script.statuses["setDiseqc"] = 2;
    ASSERT_NE(createWindow(), nullptr);
    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_EQ(app.gdiReady, 1);
}

TEST_F(ProgramTest, MainWindowHasItsClassTitleAndClassicGeometry) {
    const HWND window = createWindow();
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 334);
    EXPECT_EQ(client.bottom, 144);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 340);
    EXPECT_EQ(outer.bottom - outer.top, GetSystemMetrics(SM_CYCAPTION) + 150);
    EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 170);
    EXPECT_EQ(outer.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 75);
    EXPECT_EQ(app.windowX, outer.left);
    EXPECT_EQ(app.windowY, outer.top);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "V i n t o r e l");
    EXPECT_EQ(FindWindowA("TarvoWizard", nullptr), window);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_DLGFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST_F(ProgramTest, ClosingReleasesEveryReferenceAndEndsTheLoopWithZero) {
    tuner->script.extraReferences = 3; // a filter that holds references of its own
    ASSERT_NE(createWindow(), nullptr);
    EXPECT_EQ(tuner->log.alive, 1);
    SendMessageA(app.mainWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(app.mainWindow));
    EXPECT_EQ(tuner->log.alive, 0);
    EXPECT_EQ(tuner->log.destroyed, 1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_TRUE(comBalanced());
}

// A message box runs a loop of its own, in which paints are dispatched: the question about the
// missing list comes during window creation, before the window is shown or has its fonts, so
// nothing may be painted then.
bool g_paintPending = true;
int askWhilePaintsWait(void *, HWND, const char *, const char *, UINT) {
    MSG msg{};
    g_paintPending = PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE) != FALSE;
    return IDNO;
}

TEST_F(ProgramTest, NothingIsPaintedWhileTheListQuestionIsOpen) {
    useNoDataFolder();
    VintorelSetMessageBoxAnswerer(askWhilePaintsWait, nullptr);
    const HWND window = createWindow();
    VintorelSetMessageBoxAnswerer(nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(g_paintPending);
}

// Presses Escape on the main window from inside WinMain's loop.
void CALLBACK pressEscape(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageA(FindWindowA(kMainWindowClass, nullptr), WM_KEYDOWN, VK_ESCAPE, 1);
}

TEST_F(ProgramTest, WinMainRunsTheLoopUntilEscapeAndReturnsZero) {
    SetTimer(nullptr, 0, 20, pressEscape);
    EXPECT_EQ(runWinMain(), 0);
    EXPECT_FALSE(IsWindow(app.mainWindow));
    EXPECT_EQ(tuner->log.alive, 0);
    EXPECT_TRUE(boxes->shown().empty());
}

} // namespace
