// Test fixture and the recording tuner's registration.
#include "program_fixture.h"

RegisteredTuner::RegisteredTuner(TunerScript initial) : script(std::move(initial)) {
    auto *factory = new vintorel::FilterClassFactory([this](REFIID riid, void **object) -> HRESULT {
        if (script.createStatus != S_OK) {
            return script.createStatus;
        }
        auto *filter = new RecordingTuner(script, log);
        const HRESULT hr = filter->QueryInterface(riid, object);
        filter->Release();
        return hr;
    });
    CoInitialize(nullptr);
    CoRegisterClassObject(CLSID_TunerCardFilter, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                          &cookie_);
    factory->Release();
}

RegisteredTuner::~RegisteredTuner() {
    CoRevokeClassObject(cookie_);
    CoUninitialize();
}

void ProgramTest::SetUp() {
    app = AppState{};
    boxes = std::make_unique<MessageBoxes>();
    tuner = std::make_unique<RegisteredTuner>();
}

void ProgramTest::TearDown() {
    if (IsWindow(app.mainWindow)) {
        DestroyWindow(app.mainWindow);
    }
    pumpMessages();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    tuner.reset();
    boxes.reset();
}

HWND ProgramTest::createWindow() { return createMainWindow(GetModuleHandleA(nullptr)); }

void ProgramTest::pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) {
            return;
        }
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool ProgramTest::quitRequested() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) && msg.message == WM_QUIT;
}
