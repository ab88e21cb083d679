// Self-registration of the simulated card on Windows, as regsvr32 calls it:
//   DllRegisterServer       registers this DLL as the tuner card filter's in-process server,
//                           unless the class id already belongs to another server (refused);
//   DllInstall(TRUE,"force") registers even over another server, keeping its registration;
//   DllUnregisterServer     (and DllInstall(FALSE, ...)) removes only what this DLL wrote and
//                           puts back a registration it was forced over.
// The registration is per machine (HKLM\Software\Classes) when the caller may write there,
// otherwise per user (HKCU\Software\Classes); an existing per-user entry of the class id is
// updated in place, since it overrides the machine's for that user. Not done: registering the
// filter with DirectShow's filter mapper (the program creates the filter by its class id).
#include "tuner_control.h"

#include <windows.h>

#include <olectl.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kDescription[] = L"Vintorel simulated tuner card";
constexpr wchar_t kOurFileName[] = L"vintorel_tuner_sim.dll";
constexpr wchar_t kThreadingModel[] = L"ThreadingModel";
// Where a registration we were forced over is kept, in our InprocServer32 key.
constexpr wchar_t kSavedServer[] = L"VintorelSavedServer";
constexpr wchar_t kSavedThreadingModel[] = L"VintorelSavedThreadingModel";

class Key {
  public:
    Key() = default;
    Key(const Key &) = delete;
    Key &operator=(const Key &) = delete;
    ~Key() { close(); }
    void close() {
        if (handle_ != nullptr) {
            RegCloseKey(handle_);
            handle_ = nullptr;
        }
    }
    HKEY get() const { return handle_; }
    LSTATUS open(HKEY parent, const std::wstring &path, REGSAM access) {
        return RegOpenKeyExW(parent, path.c_str(), 0, access, &handle_);
    }
    LSTATUS create(HKEY parent, const std::wstring &path, bool *created = nullptr) {
        DWORD disposition = 0;
        const LSTATUS status =
            RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &handle_, &disposition);
        if (created != nullptr) {
            *created = status == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
        }
        return status;
    }

  private:
    HKEY handle_ = nullptr;
};

// A registry value as stored: its type and raw bytes.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

std::optional<RawValue> readRaw(HKEY key, const wchar_t *name) {
    RawValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    if (RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

LSTATUS writeRaw(HKEY key, const wchar_t *name, const RawValue &value) {
    return RegSetValueExW(key, name, 0, value.type, value.bytes.data(),
                          static_cast<DWORD>(value.bytes.size()));
}

LSTATUS writeString(HKEY key, const wchar_t *name, const std::wstring &text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A string value's text with environment variables expanded; empty when absent or no string.
std::wstring readText(HKEY key, const wchar_t *name) {
    const auto raw = readRaw(key, name);
    if (!raw || (raw->type != REG_SZ && raw->type != REG_EXPAND_SZ)) {
        return {};
    }
    std::wstring text(reinterpret_cast<const wchar_t *>(raw->bytes.data()),
                      raw->bytes.size() / sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    if (raw->type == REG_EXPAND_SZ) {
        std::vector<wchar_t> expanded(32768);
        const DWORD n = ExpandEnvironmentStringsW(text.c_str(), expanded.data(),
                                                  static_cast<DWORD>(expanded.size()));
        if (n > 0 && n <= expanded.size()) {
            text = expanded.data();
        }
    }
    return text;
}

std::wstring modulePath() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&modulePath), &self);
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(self, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            return std::wstring(buffer.data(), n);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring fileNameOf(const std::wstring &path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A server entry is ours when it names this DLL, or another copy of it (an earlier install).
bool isOurs(const std::wstring &server, const std::wstring &self) {
    return _wcsicmp(server.c_str(), self.c_str()) == 0 ||
           _wcsicmp(fileNameOf(server).c_str(), kOurFileName) == 0;
}

std::wstring classIdText() {
    wchar_t text[40] = {};
    StringFromGUID2(CLSID_TunerCardFilter, text, 40);
    return text;
}

std::wstring classKeyPath() {
    return L"Software\\Classes\\CLSID\\" + classIdText();
}

std::wstring serverKeyPath() {
    return classKeyPath() + L"\\InprocServer32";
}

// The server key's full name in hive root, for messages.
std::wstring serverKeyName(HKEY root) {
    return std::wstring(root == HKEY_LOCAL_MACHINE ? L"HKEY_LOCAL_MACHINE\\"
                                                   : L"HKEY_CURRENT_USER\\") +
           serverKeyPath();
}

// regsvr32 /s (and an installer's /S) asks for no dialogs.
bool runSilently() {
    int count = 0;
    LPWSTR *args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr) {
        return true;
    }
    bool silent = false;
    for (int i = 1; i < count; ++i) {
        const wchar_t *a = args[i];
        if ((a[0] == L'/' || a[0] == L'-') && (a[1] == L's' || a[1] == L'S')) {
            silent = true;
        }
    }
    LocalFree(args);
    return silent;
}

// Why registering failed, where the user can see it: on the console, to a debugger, and in a
// message box unless the caller runs silently (regsvr32 then shows only its error code).
HRESULT refuse(HRESULT hr, const std::wstring &text) {
    std::fwprintf(stderr, L"vintorel_tuner_sim: %ls\n", text.c_str());
    std::fflush(stderr);
    OutputDebugStringW((L"vintorel_tuner_sim: " + text + L"\n").c_str());
    if (!runSilently()) {
        MessageBoxW(nullptr, text.c_str(), kDescription, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    }
    return hr;
}

std::wstring statusText(LSTATUS status) {
    wchar_t *text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring result = text != nullptr ? text : L"error " + std::to_wstring(status);
    if (text != nullptr) {
        LocalFree(text);
    }
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) {
        result.pop_back();
    }
    return result;
}

// The server COM finds for the class id: the per-user entry over the machine's (looked up in
// both hives, as HKEY_CLASSES_ROOT's merged view is not the same on every system).
std::wstring effectiveServer() {
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        Key server;
        if (server.open(root, serverKeyPath(), KEY_READ) == ERROR_SUCCESS) {
            return readText(server.get(), nullptr);
        }
    }
    return {};
}

// The hive to write: the user's when the class id already has a per-user entry (it overrides
// the machine's), otherwise the machine's when writable, otherwise the user's.
HKEY registrationRoot() {
    Key user;
    if (user.open(HKEY_CURRENT_USER, classKeyPath(), KEY_READ) == ERROR_SUCCESS) {
        return HKEY_CURRENT_USER;
    }
    Key machine;
    if (machine.create(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID") == ERROR_SUCCESS) {
        return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

HRESULT registerServer(bool force) {
    const std::wstring self = modulePath();
    if (self.empty()) {
        return refuse(
            SELFREG_E_CLASS,
            L"The simulated tuner card is not registered: this DLL cannot find its own path.");
    }
    const std::wstring current = effectiveServer();
    if (!current.empty() && !isOurs(current, self) && !force) {
        return refuse(SELFREG_E_CLASS,
                      L"The simulated tuner card is not registered: the tuner card's class id " +
                          classIdText() + L" already belongs to another server,\n\n" + current +
                          L"\n\nprobably the card's own driver. To use the simulated card anyway, "
                          L"run\n\nregsvr32 /n /i:force \"" +
                          self +
                          L"\"\n\n\"regsvr32 /u\" undoes that and puts the other server back.");
    }

    const HKEY root = registrationRoot();
    Key classKey;
    bool created = false;
    LSTATUS status = classKey.create(root, classKeyPath(), &created);
    if (status == ERROR_SUCCESS && created) {
        status = writeString(classKey.get(), nullptr, kDescription);
    }
    Key server;
    if (status == ERROR_SUCCESS) {
        status = server.create(classKey.get(), L"InprocServer32");
    }
    if (status == ERROR_SUCCESS) {
        // Keep another server's entry in this hive, once, so that unregistering restores it.
        const std::wstring previous = readText(server.get(), nullptr);
        if (!previous.empty() && !isOurs(previous, self) && !readRaw(server.get(), kSavedServer)) {
            status = writeRaw(server.get(), kSavedServer, *readRaw(server.get(), nullptr));
            if (const auto model = readRaw(server.get(), kThreadingModel);
                status == ERROR_SUCCESS && model) {
                status = writeRaw(server.get(), kSavedThreadingModel, *model);
            }
        }
    }
    if (status == ERROR_SUCCESS) {
        status = writeString(server.get(), nullptr, self);
    }
    if (status == ERROR_SUCCESS) {
        status = writeString(server.get(), kThreadingModel, L"Both");
    }
    if (status != ERROR_SUCCESS) {
        return refuse(SELFREG_E_CLASS,
                      L"The simulated tuner card is not registered: cannot write " +
                          serverKeyName(root) + L": " + statusText(status));
    }
    return S_OK;
}

// Removes our entry from one hive: puts back a saved registration, or deletes the server key
// and the class key if we made it and nothing else lives there.
LSTATUS unregisterFrom(HKEY root, const std::wstring &self) {
    Key classKey;
    LSTATUS status = classKey.open(root, classKeyPath(), KEY_READ | KEY_WRITE);
    Key server;
    if (status == ERROR_SUCCESS) {
        status = server.open(classKey.get(), L"InprocServer32", KEY_READ | KEY_WRITE);
    }
    if (status == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS; // nothing here
    }
    if (status != ERROR_SUCCESS) {
        // Unreadable as this user: ours only if we can tell, so look without write access.
        Key look;
        if (look.open(root, serverKeyPath(), KEY_READ) == ERROR_SUCCESS &&
            !isOurs(readText(look.get(), nullptr), self)) {
            return ERROR_SUCCESS;
        }
        return status;
    }
    if (!isOurs(readText(server.get(), nullptr), self)) {
        return ERROR_SUCCESS; // another server's entry: not ours to touch
    }
    if (const auto saved = readRaw(server.get(), kSavedServer)) {
        status = writeRaw(server.get(), nullptr, *saved);
        if (status == ERROR_SUCCESS) {
            if (const auto model = readRaw(server.get(), kSavedThreadingModel)) {
                status = writeRaw(server.get(), kThreadingModel, *model);
            } else {
                RegDeleteValueW(server.get(), kThreadingModel);
            }
        }
        if (status == ERROR_SUCCESS) {
            RegDeleteValueW(server.get(), kSavedServer);
            RegDeleteValueW(server.get(), kSavedThreadingModel);
        }
        return status;
    }
    DWORD subkeys = 0;
    RegQueryInfoKeyW(server.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
    if (subkeys != 0) {
        // Someone else added to it: leave the key, take back only our values.
        RegDeleteValueW(server.get(), nullptr);
        RegDeleteValueW(server.get(), kThreadingModel);
        return ERROR_SUCCESS;
    }
    server.close();
    status = RegDeleteKeyW(classKey.get(), L"InprocServer32");
    if (status != ERROR_SUCCESS) {
        return status;
    }
    DWORD values = 0;
    RegQueryInfoKeyW(classKey.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    const bool onlyOurDescription =
        values == 0 || (values == 1 && readText(classKey.get(), nullptr) == kDescription);
    if (subkeys == 0 && onlyOurDescription) {
        classKey.close();
        RegDeleteKeyW(root, classKeyPath().c_str());
    }
    return ERROR_SUCCESS;
}

HRESULT unregisterServer() {
    const std::wstring self = modulePath();
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (const LSTATUS status = unregisterFrom(root, self); status != ERROR_SUCCESS) {
            return refuse(SELFREG_E_CLASS,
                          L"The simulated tuner card's registration cannot be removed from " +
                              serverKeyName(root) + L": " + statusText(status));
        }
    }
    return S_OK;
}

} // namespace

extern "C" HRESULT DllRegisterServer(void) {
    return registerServer(false);
}

extern "C" HRESULT DllUnregisterServer(void) {
    return unregisterServer();
}

// regsvr32 /n /i:force registers over another server; /u /n /i unregisters.
extern "C" HRESULT DllInstall(BOOL install, LPCWSTR commandLine) {
    if (!install) {
        return unregisterServer();
    }
    const bool empty = commandLine == nullptr || *commandLine == L'\0';
    if (!empty && _wcsicmp(commandLine, L"force") != 0) {
        return refuse(E_INVALIDARG, L"Unknown option \"" + std::wstring(commandLine) +
                                        L"\": the only one is /i:force.");
    }
    return registerServer(!empty);
}
