// Win32 subset for Linux: the COM runtime as the program sees it (ole32): GUID, IUnknown,
// IClassFactory, CoInitialize, CoUninitialize, CoCreateInstance, CoRegisterClassObject and
// CoRevokeClassObject, with the SDK's names, layouts and values. Implemented in platform/ole32.
// Not implemented: apartments other than the one thread, marshalling, out-of-process servers,
// the registry, monikers, CoGetClassObject for remote contexts.
#pragma once

#include <windows.h>

#include <cstring>

typedef struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID &REFGUID;
typedef const IID &REFIID;
typedef const CLSID &REFCLSID;
typedef IID *LPIID;
typedef CLSID *LPCLSID;

static_assert(sizeof(GUID) == 16, "GUID must be 16 bytes");

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)
inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b);
}
inline bool operator!=(REFGUID a, REFGUID b) {
    return !IsEqualGUID(a, b);
}

#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define STDAPI extern "C" HRESULT STDAPICALLTYPE
#define PURE = 0

// {00000000-0000-0000-C000-000000000046}
inline constexpr IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00000001-0000-0000-C000-000000000046}
inline constexpr IID IID_IClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

struct IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void **object) PURE;
    STDMETHOD_(ULONG, AddRef)() PURE;
    STDMETHOD_(ULONG, Release)() PURE;
};
typedef IUnknown *LPUNKNOWN;

struct IClassFactory : public IUnknown {
    STDMETHOD(CreateInstance)(IUnknown *outer, REFIID riid, void **object) PURE;
    STDMETHOD(LockServer)(BOOL lock) PURE;
};

typedef enum tagCLSCTX {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
    CLSCTX_REMOTE_SERVER = 0x10,
} CLSCTX;
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL                                                                                 \
    (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

typedef enum tagREGCLS {
    REGCLS_SINGLEUSE = 0,
    REGCLS_MULTIPLEUSE = 1,
    REGCLS_MULTI_SEPARATE = 2,
} REGCLS;

// The entry point every in-process server module exports.
typedef HRESULT(STDAPICALLTYPE *LPFNGETCLASSOBJECT)(REFCLSID, REFIID, void **);

VINTOREL_WIN32_API HRESULT WINAPI CoInitialize(LPVOID reserved);
VINTOREL_WIN32_API void WINAPI CoUninitialize(void);
VINTOREL_WIN32_API HRESULT WINAPI CoCreateInstance(REFCLSID clsid, IUnknown *outer, DWORD context,
                                                   REFIID riid, void **object);
VINTOREL_WIN32_API HRESULT WINAPI CoGetClassObject(REFCLSID clsid, DWORD context, void *serverInfo,
                                                   REFIID riid, void **object);
VINTOREL_WIN32_API HRESULT WINAPI CoRegisterClassObject(REFCLSID clsid, IUnknown *classObject,
                                                        DWORD context, DWORD flags, LPDWORD cookie);
VINTOREL_WIN32_API HRESULT WINAPI CoRevokeClassObject(DWORD cookie);
