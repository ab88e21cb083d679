// Program entry: register the window class, create the main window in the middle of the
// screen, show it and run the message loop until the window is destroyed.
#include "app/app_state.h"
#include "app/main_window.h"
#include "resources/resource.h"

void registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = mainWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(150, 170, 190));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = kMainWindowClass;
    RegisterClassA(&wc); // a class left from an earlier registration serves as well
}

HWND createMainWindow(HINSTANCE instance) {
    registerMainWindowClass(instance);
    app.instance = instance;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    app.windowX = screenWidth / 2 - 170;
    app.windowY = screenHeight / 2 - 75;
    app.mainWindow =
        CreateWindowExA(0, kMainWindowClass, kMainWindowTitle,
                        WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX, app.windowX, app.windowY, 340,
                        GetSystemMetrics(SM_CYCAPTION) + 150, nullptr, nullptr, instance, nullptr);
    return app.mainWindow;
}

int runMessageLoop() {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return 0; // the queue itself failed: nothing more can arrive
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (createMainWindow(instance) == nullptr) {
        return 0;
    }
    ShowWindow(app.mainWindow, showCommand);
    UpdateWindow(app.mainWindow);
    return runMessageLoop();
}
