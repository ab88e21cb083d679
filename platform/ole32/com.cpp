// The COM runtime subset: CoInitialize/CoUninitialize (a per-thread count), the class table
// (CoRegisterClassObject/CoRevokeClassObject, consulted first, as on Windows), and in-process
// servers loaded from shared modules through their exported DllGetClassObject, the way Windows
// loads an InprocServer32 DLL. Which servers the system offers is not its business: the
// platform's start registers them (ole32/inproc_servers.h), as a setup writes the registry.
// Modules are looked for beside the executable and in ../lib/vintorel. Not implemented:
// apartments, marshalling, local and remote servers, the registry, unloading of modules.
#include "common/object_counts.h"
#include "ole32/inproc_servers.h"
#include "vintorel_trace.h"

#include <objbase.h>

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using vintorel::trace::GuidText;

thread_local int g_initCount = 0;

struct Registration {
    CLSID clsid;
    IUnknown *object;
    DWORD context;
};

std::map<DWORD, Registration> &registrations() {
    static auto *table = new std::map<DWORD, Registration>;
    return *table;
}

DWORD g_nextCookie = 1;

std::filesystem::path executableDir() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return std::filesystem::current_path();
    }
    buffer[n] = '\0';
    return std::filesystem::path(buffer).parent_path();
}

// The in-process servers offered, by class id, and the file name of each one's module.
std::vector<std::pair<CLSID, std::string>> &inprocServers() {
    static auto *servers = new std::vector<std::pair<CLSID, std::string>>;
    return *servers;
}

// The in-process server modules loaded so far, by file name; they stay loaded.
std::map<std::string, void *> &loadedModules() {
    static auto *loaded = new std::map<std::string, void *>;
    return *loaded;
}

HRESULT classObjectFromModule(const std::string &module, REFCLSID clsid, REFIID riid,
                              void **object) {
    std::map<std::string, void *> &loaded = loadedModules();
    void *handle = nullptr;
    if (auto it = loaded.find(module); it != loaded.end()) {
        handle = it->second;
    } else {
        const std::filesystem::path dir = executableDir();
        std::string errors;
        for (const auto &candidate : {dir / module, dir / ".." / "lib" / "vintorel" / module}) {
            handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (handle != nullptr) {
                break;
            }
            errors += std::string("\n  ") + dlerror();
        }
        if (handle == nullptr) {
            std::fprintf(stderr, "vintorel: cannot load %s:%s\n", module.c_str(), errors.c_str());
            return CO_E_DLLNOTFOUND;
        }
        loaded[module] = handle;
        VINTOREL_TRACE(OLE32, "loaded in-process server %s", module.c_str());
    }
    auto getClassObject = reinterpret_cast<LPFNGETCLASSOBJECT>(dlsym(handle, "DllGetClassObject"));
    if (getClassObject == nullptr) {
        std::fprintf(stderr, "vintorel: %s exports no DllGetClassObject\n", module.c_str());
        return CO_E_ERRORINDLL;
    }
    return getClassObject(clsid, riid, object);
}

} // namespace

void vintorel::ole32::registerInprocServer(const CLSID &clsid, const std::string &module) {
    for (auto &[serverClsid, serverModule] : inprocServers()) {
        if (serverClsid == clsid) {
            serverModule = module;
            return;
        }
    }
    inprocServers().emplace_back(clsid, module);
}

int vintorel::ole32::comObjectCount() {
    int count = static_cast<int>(registrations().size());
    for (const auto &[name, handle] : loadedModules()) {
        using CanUnload = HRESULT (*)();
        const auto canUnload = reinterpret_cast<CanUnload>(dlsym(handle, "DllCanUnloadNow"));
        if (canUnload != nullptr && canUnload() == S_FALSE) {
            ++count;
        }
    }
    return count;
}

extern "C" {

HRESULT WINAPI CoInitialize(LPVOID) {
    VINTOREL_TRACE(OLE32, "CoInitialize count %d", g_initCount);
    return g_initCount++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize(void) {
    VINTOREL_TRACE(OLE32, "CoUninitialize count %d", g_initCount);
    if (g_initCount > 0) {
        --g_initCount;
    }
}

HRESULT WINAPI CoGetClassObject(REFCLSID clsid, DWORD context, void *, REFIID riid, void **object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    VINTOREL_TRACE(OLE32, "CoGetClassObject %s context %#lx", GuidText(clsid).text,
                   static_cast<unsigned long>(context));
    if (g_initCount == 0) {
        return CO_E_NOTINITIALIZED;
    }
    for (const auto &[cookie, reg] : registrations()) {
        if (reg.clsid == clsid && (reg.context & context) != 0) {
            return reg.object->QueryInterface(riid, object);
        }
    }
    if (context & CLSCTX_INPROC_SERVER) {
        for (const auto &[serverClsid, module] : inprocServers()) {
            if (serverClsid == clsid) {
                return classObjectFromModule(module, clsid, riid, object);
            }
        }
    }
    return REGDB_E_CLASSNOTREG;
}

HRESULT WINAPI CoCreateInstance(REFCLSID clsid, IUnknown *outer, DWORD context, REFIID riid,
                                void **object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    IClassFactory *factory = nullptr;
    HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void **>(&factory));
    if (FAILED(hr) || factory == nullptr) {
        VINTOREL_TRACE(OLE32, "CoCreateInstance %s -> %#lx, no class object", GuidText(clsid).text,
                       static_cast<unsigned long>(FAILED(hr) ? hr : E_FAIL));
        return FAILED(hr) ? hr : E_FAIL;
    }
    hr = factory->CreateInstance(outer, riid, object);
    factory->Release();
    VINTOREL_TRACE(OLE32, "CoCreateInstance %s iid %s -> %#lx", GuidText(clsid).text,
                   GuidText(riid).text, static_cast<unsigned long>(hr));
    return hr;
}

HRESULT WINAPI CoRegisterClassObject(REFCLSID clsid, IUnknown *classObject, DWORD context, DWORD,
                                     LPDWORD cookie) {
    if (classObject == nullptr || cookie == nullptr) {
        return E_INVALIDARG;
    }
    if (g_initCount == 0) {
        return CO_E_NOTINITIALIZED;
    }
    classObject->AddRef();
    VINTOREL_TRACE(OLE32, "CoRegisterClassObject %s cookie %lu", GuidText(clsid).text,
                   static_cast<unsigned long>(g_nextCookie));
    *cookie = g_nextCookie++;
    registrations()[*cookie] = Registration{clsid, classObject, context};
    return S_OK;
}

HRESULT WINAPI CoRevokeClassObject(DWORD cookie) {
    VINTOREL_TRACE(OLE32, "CoRevokeClassObject cookie %lu", static_cast<unsigned long>(cookie));
    const auto it = registrations().find(cookie);
    if (it == registrations().end()) {
        return CO_E_OBJNOTREG;
    }
    IUnknown *object = it->second.object;
    registrations().erase(it);
    object->Release();
    return S_OK;
}

} // extern "C"
