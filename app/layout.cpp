// The layout of the main window: every rectangle is a formula in tenths and twentieths of the
// client area, so the normal (334 x 144) and the compact (918 x 144) view come from the same
// code. The compact view is a wide, low window for watching the readout from afar.
#include "app/layout.h"

#include "app/app_state.h"

namespace {

constexpr int kNormalWidth = 340;
constexpr int kCompactWidth = 924;
constexpr int kCompactX = 50;
constexpr int kHeightBelowCaption = 150;

void computeFrameAndTexts(LONG w10, LONG h10, LONG h20) {
    const LONG W = app.clientRect.right;
    const LONG H = app.clientRect.bottom;
    app.frameRect = RECT{1, 1, W - 1, H - 1};
    app.promptRect = RECT{w10, h20, 9 * w10, 4 * h10};
    app.captionRect = RECT{w10, 2 * h10, 9 * w10, 4 * h10};
}

void computeNormalView(LONG w10, LONG h10) {
    app.readoutRect = RECT{w10 - 1, 4 * h10 - 1, 9 * w10 + 1, 6 * h10 + 1};
    app.barRect = RECT{2 * w10, 4 * h10 + 1, 8 * w10, 6 * h10 - 1};
    app.lampRect = RECT{8 * w10 + 1, 4 * h10 + 1, 9 * w10 - 1, 6 * h10 - 1};
    app.snrRect = RECT{7 * w10 - 10, 6 * h10 + 4, 9 * w10 + 1, 7 * h10 + 8};
}

void computeCompactView(LONG w10, LONG h10) {
    const LONG W = app.clientRect.right;
    app.readoutRect = RECT{7, 4 * h10 - 1, W - 7, 9 * h10};
    app.barRect = RECT{2 * w10, 5 * h10, 9 * w10, 8 * h10};
    app.lampRect = RECT{9 * w10 + 1, 5 * h10, W - 20, 8 * h10};
    app.snrRect = RECT{9 * w10 + 1, 2 * h10, W - 15, 3 * h10};
}

} // namespace

void createLayout(HWND window) {
    GetClientRect(window, &app.clientRect);
    const LONG w10 = app.clientRect.right / 10;
    const LONG h10 = app.clientRect.bottom / 10;
    const LONG h20 = app.clientRect.bottom / 20;
    computeFrameAndTexts(w10, h10, h20);
    computeNormalView(w10, h10);
}

void computeLayout() {
    GetClientRect(app.mainWindow, &app.clientRect);
    const LONG w10 = app.clientRect.right / 10;
    const LONG h10 = app.clientRect.bottom / 10;
    const LONG h20 = app.clientRect.bottom / 20;
    if (app.compactView == 1) {
        computeCompactView(w10, h10);
    } else {
        computeNormalView(w10, h10);
    }
    computeFrameAndTexts(w10, h10, h20);
}

void toggleCompactView() {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (app.compactView == 0) {
        app.compactView = 1;
        ShowWindow(app.modeButton, SW_HIDE);
        ShowWindow(app.backButton, SW_HIDE);
        ShowWindow(app.aboutButton, SW_HIDE);
        MoveWindow(app.mainWindow, kCompactX, screenHeight / 2 - 75, kCompactWidth,
                   GetSystemMetrics(SM_CYCAPTION) + kHeightBelowCaption, TRUE);
        computeLayout();
    } else if (app.compactView == 1) {
        app.compactView = 0;
        MoveWindow(app.mainWindow, screenWidth / 2 - 170, screenHeight / 2 - 75, kNormalWidth,
                   GetSystemMetrics(SM_CYCAPTION) + kHeightBelowCaption, TRUE);
        ShowWindow(app.modeButton, SW_SHOWNORMAL);
        ShowWindow(app.backButton, SW_SHOWNORMAL);
        ShowWindow(app.aboutButton, SW_SHOWNORMAL);
        computeLayout();
    }
    MoveWindow(app.flagStatic, app.clientRect.left + 3, app.clientRect.top + 3, 18, 12, TRUE);
}
