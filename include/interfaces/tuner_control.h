// The tuner card's control interface as the card's filter exposes it, and the identifiers by
// which the program finds the filter. The table order is the card's: the program calls only
// some operations, the others keep their slots so that the called ones sit where the card
// has them.
#pragma once

#include <windows.h>

#include <objbase.h>

// {E82536A0-94DA-11D2-A463-00A0C95D308D}: the tuner card's DirectShow filter.
inline constexpr CLSID CLSID_TunerCardFilter = {
    0xE82536A0, 0x94DA, 0x11D2, {0xA4, 0x63, 0x00, 0xA0, 0xC9, 0x5D, 0x30, 0x8D}};
// {56A86895-0AD4-11CE-B03A-0020AF0BA770}: IBaseFilter, asked for when the filter is created.
inline constexpr IID IID_TunerBaseFilter = {
    0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {CD900832-50DF-4F8F-882D-1C358F90B3F2}: the tuner control interface.
inline constexpr IID IID_TunerControl = {
    0xCD900832, 0x50DF, 0x4F8F, {0x88, 0x2D, 0x1C, 0x35, 0x8F, 0x90, 0xB3, 0xF2}};

struct TunerControl : public IUnknown {
    STDMETHOD(setTransponderFrequency)(LONG frequencyMHz) PURE; // 1
    STDMETHOD(setSymbolRate)(LONG symbolRate) PURE;             // 2
    STDMETHOD(setLnbFrequency)(LONG oscillatorMHz) PURE;        // 3
    STDMETHOD(setFec)(LONG fec) PURE;                           // 4
    STDMETHOD(setPolarity)(LONG polarity) PURE;                 // 5
    STDMETHOD(setLnbSelection)(LONG highBand) PURE;             // 6
    STDMETHOD(setDiseqc)(LONG diseqc) PURE;                     // 7
    STDMETHOD(reserved8)() PURE;                                // 8
    STDMETHOD(initialize)() PURE;                               // 9
    STDMETHOD(applyTuning)() PURE;                              // 10
    STDMETHOD(refreshMeasurement)() PURE;                       // 11
    STDMETHOD(reserved12)() PURE;                               // 12
    STDMETHOD(reserved13)() PURE;                               // 13
    STDMETHOD(reserved14)() PURE;                               // 14
    STDMETHOD(reserved15)() PURE;                               // 15
    STDMETHOD(reserved16)() PURE;                               // 16
    STDMETHOD(reserved17)() PURE;                               // 17
    STDMETHOD(getSnr)(FLOAT *snr) PURE;                         // 18
    STDMETHOD(reserved19)() PURE;                               // 19
    STDMETHOD(reserved20)() PURE;                               // 20
    STDMETHOD(reserved21)() PURE;                               // 21
    STDMETHOD(reserved22)() PURE;                               // 22
    STDMETHOD(reserved23)() PURE;                               // 23
    STDMETHOD(reserved24)() PURE;                               // 24
    STDMETHOD(reserved25)() PURE;                               // 25
    STDMETHOD(reserved26)() PURE;                               // 26
    STDMETHOD(reserved27)() PURE;                               // 27
    STDMETHOD(reserved28)() PURE;                               // 28
    STDMETHOD(reserved29)() PURE;                               // 29
    STDMETHOD(reserved30)() PURE;                               // 30
    STDMETHOD(reserved31)() PURE;                               // 31
    STDMETHOD(reserved32)() PURE;                               // 32
    STDMETHOD(reserved33)() PURE;                               // 33
    STDMETHOD(getQuality)(LONG *quality) PURE;                  // 34
};
