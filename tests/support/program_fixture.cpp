// Test fixture and the recording tuner's registration.
#include "program_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

WorkingFolder::WorkingFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vintorel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder";
    }
    path_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
}

WorkingFolder::~WorkingFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
}

void WorkingFolder::writeFile(const std::string &relative, const std::string &bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string WorkingFolder::readFile(const std::string &relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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
    folder = std::make_unique<WorkingFolder>();
    folder->writeFile("Data/satellite.ini", kDefaultListBytes);
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
    folder.reset();
}

void ProgramTest::useList(const std::string &bytes) {
    folder->writeFile("Data/satellite.ini", bytes);
}

void ProgramTest::useNoDataFolder() {
    std::filesystem::remove_all(folder->path() / "Data");
}

HWND ProgramTest::createWindow() {
    return createMainWindow(GetModuleHandleA(nullptr));
}

HWND ProgramTest::createShownWindow() {
    const HWND window = createWindow();
    if (window != nullptr) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    return window;
}

void ProgramTest::measureAt(LONG quality, const char *title) {
    app.step = 3;
    app.quality = quality;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(quality));
    std::memcpy(app.qualityText, digits, 3); // at most three characters, as the poll writes
    app.qualityText[3] = '\0';
    std::memcpy(app.titleLine, title, sizeof app.titleLine);
}

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
