// Win32 subset for Linux: the DirectShow filter interface IBaseFilter and the types its table
// names, laid out as in the SDK so that a filter's vtable has the same slots. Only the shape is
// provided: the platform has no filter graph, pins or clocks of its own.
#pragma once

#include <objbase.h>

typedef LONGLONG REFERENCE_TIME;
typedef enum _FilterState { State_Stopped = 0, State_Paused = 1, State_Running = 2 } FILTER_STATE;

struct IPin;
struct IEnumPins;
struct IReferenceClock;
struct IFilterGraph;

typedef struct _FilterInfo {
    wchar_t achName[128];
    IFilterGraph *pGraph;
} FILTER_INFO;

// {0000010C-0000-0000-C000-000000000046}
struct IPersist : public IUnknown {
    STDMETHOD(GetClassID)(CLSID *classId) PURE;
};

// {56A86899-0AD4-11CE-B03A-0020AF0BA770}
struct IMediaFilter : public IPersist {
    STDMETHOD(Stop)() PURE;
    STDMETHOD(Pause)() PURE;
    STDMETHOD(Run)(REFERENCE_TIME start) PURE;
    STDMETHOD(GetState)(DWORD milliSecsTimeout, FILTER_STATE *state) PURE;
    STDMETHOD(SetSyncSource)(IReferenceClock *clock) PURE;
    STDMETHOD(GetSyncSource)(IReferenceClock **clock) PURE;
};

// {56A86895-0AD4-11CE-B03A-0020AF0BA770}
struct IBaseFilter : public IMediaFilter {
    STDMETHOD(EnumPins)(IEnumPins **pins) PURE;
    STDMETHOD(FindPin)(const wchar_t *id, IPin **pin) PURE;
    STDMETHOD(QueryFilterInfo)(FILTER_INFO *info) PURE;
    STDMETHOD(JoinFilterGraph)(IFilterGraph *graph, const wchar_t *name) PURE;
    STDMETHOD(QueryVendorInfo)(wchar_t **vendorInfo) PURE;
};
