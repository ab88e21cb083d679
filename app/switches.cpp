// The two switches of how the program talks to the user, language and sound mode, and the
// About box. The flag shows the current language; the sound icon shows the mode a click
// switches to. Each switch repaints the whole window so every text follows at once.
#include "app/switches.h"

#include "app/app_state.h"
#include "app/cp1251.h"

namespace {

// "с/ш=" is the Russian label of the S/N text; only its two letters differ from "s/n=".
constexpr auto kSnrLabelRu = CP1251(u8"с/ш=");
constexpr char kAboutText[] = "Vintorel " VINTOREL_VERSION;

HBITMAP setImage(HWND control, HBITMAP image) {
    return reinterpret_cast<HBITMAP>(
        SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image)));
}

void repaintAll() {
    InvalidateRect(app.mainWindow, &app.clientRect, TRUE);
}

} // namespace

void toggleLanguage(WORD code) {
    if (code != 0) {
        return;
    }
    if (app.language == 1) {
        app.snrText[0] = kSnrLabelRu.bytes[0];
        app.snrText[2] = kSnrLabelRu.bytes[2];
        app.language = 0;
        app.flagEnBitmap = setImage(app.flagStatic, app.flagRuBitmap);
    } else if (app.language == 0) {
        app.snrText[0] = 's';
        app.snrText[2] = 'n';
        app.language = 1;
        setImage(app.flagStatic, app.flagEnBitmap); // the Russian flag stays in flagRuBitmap
    }
    repaintAll();
}

void toggleVoiceMode(WORD code) {
    if (code != 0) {
        return;
    }
    if (app.voiceMode == 0) {
        app.soundToneBitmap = setImage(app.soundStatic, app.soundVoiceBitmap);
        app.voiceMode = 1;
    } else if (app.voiceMode == 1) {
        app.soundVoiceBitmap = setImage(app.soundStatic, app.soundToneBitmap);
        app.voiceMode = 0;
    }
    repaintAll();
}

void showAbout(WORD) {
    MessageBoxA(app.mainWindow, kAboutText, "About", MB_OK);
}
