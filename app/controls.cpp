// The child controls of the main window, created once in a fixed order with their places in
// tenths and twentieths of the client area. Which of them are shown, enabled or captioned how
// is the wizard's business afterwards.
#include "app/app_state.h"
#include "app/layout.h"
#include "resources/resource.h"

namespace {

HWND createChild(HWND window, const char *cls, const char *text, DWORD style, int id, int x, int y,
                 int width, int height) {
    return CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, width, height, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app.instance,
                           nullptr);
}

} // namespace

void createControls(HWND window) {
    const LONG w10 = app.clientRect.right / 10;
    const LONG h10 = app.clientRect.bottom / 10;
    const LONG h20 = app.clientRect.bottom / 20;

    app.modeButton = createChild(window, "BUTTON", "MODE 0", WS_VISIBLE, ID_MODE_BUTTON, w10,
                                 8 * h10, 2 * w10, 3 * h20);
    app.backButton = createChild(window, "BUTTON", "<BACK", WS_VISIBLE | WS_DISABLED,
                                 ID_BACK_BUTTON, 4 * w10, 8 * h10, 2 * w10, 3 * h20);
    app.findButton = createChild(window, "BUTTON", "FIND>", WS_VISIBLE, ID_FIND_BUTTON, 7 * w10,
                                 8 * h10, 2 * w10, 3 * h20);
    app.editBox = createChild(window, "EDIT", nullptr, ES_NUMBER | ES_CENTER, ID_EDIT_BOX, w10,
                              4 * h10, 5 * w10, 2 * h10);
    app.upDown = CreateUpDownControl(
        WS_CHILD | UDS_SETBUDDYINT | UDS_ALIGNLEFT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 20, 20,
        window, ID_UP_DOWN, nullptr, app.editBox, 12700, 3400, 12245);
    app.horizontalRadio = createChild(window, "BUTTON", "Horizontal", BS_AUTORADIOBUTTON,
                                      ID_HORIZONTAL_RADIO, w10, 4 * h10, 5 * w10, 2 * h10);
    app.verticalRadio = createChild(window, "BUTTON", "Vertical", BS_AUTORADIOBUTTON,
                                    ID_VERTICAL_RADIO, 6 * w10, 4 * h10, 3 * w10, 2 * h10);
    app.aboutButton = createChild(window, "BUTTON", "About", 0, ID_ABOUT_BUTTON, 7 * w10, 8 * h10,
                                  2 * w10, 3 * h20);
    app.flagStatic = createChild(window, "STATIC", RESOURCE_TEXT(IDB_FLAG_EN),
                                 WS_VISIBLE | SS_NOTIFY | SS_BITMAP, ID_FLAG_STATIC, 3, 3, 0, 0);
    app.flagRuBitmap = LoadBitmapA(app.instance, MAKEINTRESOURCEA(IDB_FLAG_RU));
    app.soundStatic = createChild(window, "STATIC", RESOURCE_TEXT(IDB_LIPS), SS_NOTIFY | SS_BITMAP,
                                  ID_SOUND_STATIC, 24, 3, 0, 0);
    app.soundVoiceBitmap = LoadBitmapA(app.instance, MAKEINTRESOURCEA(IDB_NOTE));
}
