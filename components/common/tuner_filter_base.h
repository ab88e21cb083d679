// Shared plumbing of the tuner card filters (simulated and Linux DVB) and of test doubles:
// one object exposing IBaseFilter and TunerControl with a single reference count, the
// IBaseFilter slots a DirectShow graph would use answered as "not implemented", the unused
// TunerControl slots answered E_NOTIMPL, and a class factory. It does not implement a filter
// graph, pins or media types: the program never builds a graph.
#pragma once

#include "tuner_control.h"

#include <dshow.h>

#include <atomic>
#include <functional>
#include <new>
#include <utility>

namespace vintorel {

// The objects of this module that are alive (filters, class factories) and its server locks:
// DllCanUnloadNow answers S_OK only when none is left. One count per module
// (hidden, so that two modules loaded in one process never share it).
#if defined(__GNUC__) && !defined(_WIN32)
inline __attribute__((visibility("hidden"))) std::atomic<long> g_serverObjects{0};
#else
inline std::atomic<long> g_serverObjects{0};
#endif

inline HRESULT canUnloadServer() {
    return g_serverObjects == 0 ? S_OK : S_FALSE;
}

class TunerFilterBase : public IBaseFilter, public TunerControl {
  public:
    TunerFilterBase(const TunerFilterBase &) = delete;
    TunerFilterBase &operator=(const TunerFilterBase &) = delete;

    // IUnknown, shared by both interfaces.
    STDMETHODIMP QueryInterface(REFIID riid, void **object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        HRESULT hr = E_NOINTERFACE;
        if (riid == IID_IUnknown || riid == IID_TunerBaseFilter) {
            *object = static_cast<IBaseFilter *>(this);
            hr = S_OK;
        } else if (riid == IID_TunerControl) {
            *object = static_cast<TunerControl *>(this);
            hr = S_OK;
        }
        hr = filterQueryInterface(riid, hr);
        if (hr == S_OK && *object != nullptr) {
            addRefSilently();
        } else {
            *object = nullptr;
        }
        return hr;
    }
    STDMETHODIMP_(ULONG) AddRef() override {
        const ULONG count = ++refs_;
        onAddRef(count);
        return count;
    }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG count = --refs_;
        onRelease(count);
        if (count == 0) {
            delete this;
        }
        return count;
    }

    // IPersist / IMediaFilter / IBaseFilter: shape only.
    STDMETHODIMP GetClassID(CLSID *classId) override {
        if (classId == nullptr) {
            return E_POINTER;
        }
        *classId = CLSID_TunerCardFilter;
        return S_OK;
    }
    STDMETHODIMP Stop() override { return S_OK; }
    STDMETHODIMP Pause() override { return S_OK; }
    STDMETHODIMP Run(REFERENCE_TIME) override { return S_OK; }
    STDMETHODIMP GetState(DWORD, FILTER_STATE *state) override {
        if (state == nullptr) {
            return E_POINTER;
        }
        *state = State_Stopped;
        return S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock *) override { return S_OK; }
    STDMETHODIMP GetSyncSource(IReferenceClock **clock) override {
        if (clock != nullptr) {
            *clock = nullptr;
        }
        return S_OK;
    }
    STDMETHODIMP EnumPins(IEnumPins **pins) override {
        if (pins != nullptr) {
            *pins = nullptr;
        }
        return E_NOTIMPL;
    }
    STDMETHODIMP FindPin(const wchar_t *, IPin **pin) override {
        if (pin != nullptr) {
            *pin = nullptr;
        }
        return E_NOTIMPL;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO *info) override {
        if (info == nullptr) {
            return E_POINTER;
        }
        *info = FILTER_INFO{};
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph *, const wchar_t *) override { return S_OK; }
    STDMETHODIMP QueryVendorInfo(wchar_t **info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return E_NOTIMPL;
    }

    // TunerControl slots the program never calls.
    STDMETHODIMP reserved8() override { return E_NOTIMPL; }
    STDMETHODIMP reserved12() override { return E_NOTIMPL; }
    STDMETHODIMP reserved13() override { return E_NOTIMPL; }
    STDMETHODIMP reserved14() override { return E_NOTIMPL; }
    STDMETHODIMP reserved15() override { return E_NOTIMPL; }
    STDMETHODIMP reserved16() override { return E_NOTIMPL; }
    STDMETHODIMP reserved17() override { return E_NOTIMPL; }
    STDMETHODIMP reserved19() override { return E_NOTIMPL; }
    STDMETHODIMP reserved20() override { return E_NOTIMPL; }
    STDMETHODIMP reserved21() override { return E_NOTIMPL; }
    STDMETHODIMP reserved22() override { return E_NOTIMPL; }
    STDMETHODIMP reserved23() override { return E_NOTIMPL; }
    STDMETHODIMP reserved24() override { return E_NOTIMPL; }
    STDMETHODIMP reserved25() override { return E_NOTIMPL; }
    STDMETHODIMP reserved26() override { return E_NOTIMPL; }
    STDMETHODIMP reserved27() override { return E_NOTIMPL; }
    STDMETHODIMP reserved28() override { return E_NOTIMPL; }
    STDMETHODIMP reserved29() override { return E_NOTIMPL; }
    STDMETHODIMP reserved30() override { return E_NOTIMPL; }
    STDMETHODIMP reserved31() override { return E_NOTIMPL; }
    STDMETHODIMP reserved32() override { return E_NOTIMPL; }
    STDMETHODIMP reserved33() override { return E_NOTIMPL; }

    ULONG referenceCount() const { return refs_; }

  protected:
    TunerFilterBase() { ++g_serverObjects; }
    virtual ~TunerFilterBase() { --g_serverObjects; }

    // Hooks for logging and scripted answers. filterQueryInterface may replace the status
    // that QueryInterface answers (a refused interface hands out no pointer).
    virtual HRESULT filterQueryInterface(REFIID, HRESULT hr) { return hr; }
    virtual void onAddRef(ULONG) {}
    virtual void onRelease(ULONG) {}

    // The reference handed out by QueryInterface, counted without the AddRef hook.
    void addRefSilently() { ++refs_; }

  private:
    std::atomic<ULONG> refs_{1};
};

// A class factory that makes objects through a function; the object starts with one
// reference, which CreateInstance trades for the requested interface.
class FilterClassFactory final : public IClassFactory {
  public:
    using Maker = std::function<HRESULT(REFIID riid, void **object)>;
    explicit FilterClassFactory(Maker maker) : maker_(std::move(maker)) { ++g_serverObjects; }
    virtual ~FilterClassFactory() { --g_serverObjects; }

    STDMETHODIMP QueryInterface(REFIID riid, void **object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG count = --refs_;
        if (count == 0) {
            delete this;
        }
        return count;
    }
    STDMETHODIMP CreateInstance(IUnknown *outer, REFIID riid, void **object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        return maker_(riid, object);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        g_serverObjects += lock ? 1 : -1;
        return S_OK;
    }

  private:
    Maker maker_;
    std::atomic<ULONG> refs_{1};
};

// DllGetClassObject of a tuner filter module: a class factory for the tuner filter's class id
// that makes its objects with `maker`.
inline HRESULT tunerFilterClassObject(REFCLSID clsid, REFIID riid, void **object,
                                      FilterClassFactory::Maker maker) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (clsid != CLSID_TunerCardFilter) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto *factory = new (std::nothrow) FilterClassFactory(std::move(maker));
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

} // namespace vintorel
