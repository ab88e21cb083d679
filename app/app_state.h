// AppState: the one record of the program's state, shared by every part of the program on the
// window's thread. Fields start at zero unless an initial value is given here.
#pragma once

#include "app/win32.h"

struct TunerControl;
struct IDirectSound8;
struct IDirectSoundBuffer;

struct AppState {
    // Shell
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr; // set when window creation returns
    LONG windowX = 0;
    LONG windowY = 0;
    BYTE comReady = 0; // the tuner card's filter object exists
    BYTE gdiReady = 0; // window creation ran to its end: brushes and fonts exist

    // Controls
    HWND modeButton = nullptr;
    HWND backButton = nullptr;
    HWND findButton = nullptr;
    HWND editBox = nullptr;
    HWND upDown = nullptr;
    HWND horizontalRadio = nullptr;
    HWND verticalRadio = nullptr;
    HWND aboutButton = nullptr;
    HWND flagStatic = nullptr;
    HWND soundStatic = nullptr;
    HWND satelliteCombo = nullptr;
    HBITMAP flagRuBitmap = nullptr;
    HBITMAP flagEnBitmap = nullptr;
    HBITMAP soundVoiceBitmap = nullptr;
    HBITMAP soundToneBitmap = nullptr;

    // Layout
    RECT clientRect{};
    RECT frameRect{};
    RECT promptRect{};
    RECT captionRect{};
    RECT readoutRect{};
    RECT barRect{};
    RECT lampRect{};
    RECT snrRect{};
    BYTE compactView = 0;

    // Painting
    HBRUSH brushFrame = nullptr;
    HBRUSH brushBar = nullptr;
    HBRUSH brushGreen = nullptr;
    HBRUSH brushRed = nullptr;
    HFONT fontText = nullptr;
    HFONT fontEdit = nullptr;
    HFONT fontList = nullptr;
    HFONT fontDigits = nullptr;
    HDC paintDC = nullptr;
    HBRUSH savedBrush = nullptr;
    HFONT savedFont = nullptr;

    // Switches
    SHORT language = 1; // 1 English, 0 Russian
    BYTE voiceMode = 0; // 0 tone, 1 spoken digits

    // Tuner and measurement
    IBaseFilter *sourceFilter = nullptr;
    TunerControl *tuner = nullptr;
    LONG frequencyMHz = 12245;
    LONG symbolRate = 27500;
    LONG polarity = 0;
    LONG quality = 0;
    FLOAT snrValue = 0.0f;
    char qualityText[4] = {'0', ' ', ' ', '\0'};
    char snrText[9] = {'s', '/', 'n', '=', ' ', '.', ' ', ' ', '\0'};

    // Wizard and list
    SHORT step = 0;     // WizardStep
    LONG entryMode = 0; // EntryMode
    BYTE noList = 0;
    char freqText[8] = {};
    char srateText[8] = {'2', '7', '5', '0', '0', '\0'};
    char titleLine[15] = {};
    BYTE timersOn = 0;

    // Voice
    IDirectSound8 *sound = nullptr;
    IDirectSoundBuffer *clipRu[10] = {};
    IDirectSoundBuffer *clipEn[10] = {};
    IDirectSoundBuffer *clipTone = nullptr;
    LONG announcePhase = 0;
    char currentDigit = 0;
    char pendingDigit = 0;
};

extern AppState app;

// WizardStep: the values of `step`.
enum WizardStep : SHORT {
    STEP_FIRST_ENTRY = 0, // the satellite ("MODE 0") or the frequency ("MODE 1")
    STEP_SYMBOL_RATE = 1,
    STEP_POLARITY = 2,
    STEP_MEASURING = 3,
};

// EntryMode: the values of `entryMode`.
enum EntryMode : LONG {
    MODE_LIST = 0,   // "MODE 0": a satellite from the list
    MODE_MANUAL = 1, // "MODE 1": frequency, symbol rate and polarity typed in
};

// Timer ids
constexpr UINT_PTR POLL_TIMER = 116;
constexpr UINT_PTR ANNOUNCE_TIMER = 124;

// Control ids
constexpr int ID_EDIT_BOX = 110;
constexpr int ID_UP_DOWN = 111;
constexpr int ID_FIND_BUTTON = 114;
constexpr int ID_BACK_BUTTON = 115;
constexpr int ID_HORIZONTAL_RADIO = 117;
constexpr int ID_VERTICAL_RADIO = 118;
constexpr int ID_ABOUT_BUTTON = 121;
constexpr int ID_FLAG_STATIC = 123;
constexpr int ID_SOUND_STATIC = 126;
constexpr int ID_MODE_BUTTON = 127;
constexpr int ID_SATELLITE_COMBO = 128;
