// Win32 subset for Linux: DirectSound 8 playback (IDirectSound8, IDirectSoundBuffer and
// DirectSoundCreate8) with the SDK's names, structure layouts, constant values and vtable slot
// order. Implemented in platform/dsound on OpenAL Soft, which chooses the output device.
// Not implemented: capture, full duplex, device enumeration, primary buffers, 3D buffers and
// listeners, effects, position notifications and DuplicateSoundBuffer.
#pragma once

#include <mmreg.h>
#include <objbase.h>

#ifndef __LPCGUID_DEFINED__
#define __LPCGUID_DEFINED__
typedef const GUID *LPCGUID;
#endif

struct IDirectSound;
struct IDirectSound8;
struct IDirectSoundBuffer;
typedef IDirectSound *LPDIRECTSOUND;
typedef IDirectSound8 *LPDIRECTSOUND8;
typedef IDirectSoundBuffer *LPDIRECTSOUNDBUFFER;
typedef IDirectSoundBuffer **LPLPDIRECTSOUNDBUFFER;

// ---------------------------------------------------------------------------------------------
// Identifiers

// {279AFA83-4981-11CE-A521-0020AF0BE560}
inline constexpr IID IID_IDirectSound = {
    0x279AFA83, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {C50A7E93-F395-4834-9EF6-7FA99DE50966}
inline constexpr IID IID_IDirectSound8 = {
    0xC50A7E93, 0xF395, 0x4834, {0x9E, 0xF6, 0x7F, 0xA9, 0x9D, 0xE5, 0x09, 0x66}};
// {279AFA85-4981-11CE-A521-0020AF0BE560}
inline constexpr IID IID_IDirectSoundBuffer = {
    0x279AFA85, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

// {DEF00000-9C6D-47ED-AAF1-4DDA8F2B5C03}
inline constexpr GUID DSDEVID_DefaultPlayback = {
    0xDEF00000, 0x9C6D, 0x47ED, {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};
// {DEF00001-9C6D-47ED-AAF1-4DDA8F2B5C03}
inline constexpr GUID DSDEVID_DefaultCapture = {
    0xDEF00001, 0x9C6D, 0x47ED, {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};
// {DEF00002-9C6D-47ED-AAF1-4DDA8F2B5C03}
inline constexpr GUID DSDEVID_DefaultVoicePlayback = {
    0xDEF00002, 0x9C6D, 0x47ED, {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};
// {DEF00003-9C6D-47ED-AAF1-4DDA8F2B5C03}
inline constexpr GUID DSDEVID_DefaultVoiceCapture = {
    0xDEF00003, 0x9C6D, 0x47ED, {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};

#define DS3DALG_DEFAULT GUID_NULL

// ---------------------------------------------------------------------------------------------
// Results

#define _FACDS 0x878
#define MAKE_DSHRESULT(code) ((HRESULT)(0x80000000UL | ((ULONG)_FACDS << 16) | (ULONG)(code)))

#define DS_OK S_OK
#define DS_NO_VIRTUALIZATION ((HRESULT)0x0878000AL)
#define DSERR_ALLOCATED MAKE_DSHRESULT(10)
#define DSERR_CONTROLUNAVAIL MAKE_DSHRESULT(30)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL MAKE_DSHRESULT(50)
#define DSERR_GENERIC E_FAIL
#define DSERR_PRIOLEVELNEEDED MAKE_DSHRESULT(70)
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_BADFORMAT MAKE_DSHRESULT(100)
#define DSERR_UNSUPPORTED E_NOTIMPL
#define DSERR_NODRIVER MAKE_DSHRESULT(120)
#define DSERR_ALREADYINITIALIZED MAKE_DSHRESULT(130)
#define DSERR_NOAGGREGATION CLASS_E_NOAGGREGATION
#define DSERR_BUFFERLOST MAKE_DSHRESULT(150)
#define DSERR_OTHERAPPHASPRIO MAKE_DSHRESULT(160)
#define DSERR_UNINITIALIZED MAKE_DSHRESULT(170)
#define DSERR_NOINTERFACE E_NOINTERFACE

// ---------------------------------------------------------------------------------------------
// Constants

#define DSCAPS_PRIMARYMONO 0x00000001
#define DSCAPS_PRIMARYSTEREO 0x00000002
#define DSCAPS_PRIMARY8BIT 0x00000004
#define DSCAPS_PRIMARY16BIT 0x00000008
#define DSCAPS_CONTINUOUSRATE 0x00000010
#define DSCAPS_EMULDRIVER 0x00000020
#define DSCAPS_CERTIFIED 0x00000040
#define DSCAPS_SECONDARYMONO 0x00000100
#define DSCAPS_SECONDARYSTEREO 0x00000200
#define DSCAPS_SECONDARY8BIT 0x00000400
#define DSCAPS_SECONDARY16BIT 0x00000800

#define DSSCL_NORMAL 1
#define DSSCL_PRIORITY 2
#define DSSCL_EXCLUSIVE 3
#define DSSCL_WRITEPRIMARY 4

#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_LOCHARDWARE 0x00000004
#define DSBCAPS_LOCSOFTWARE 0x00000008
#define DSBCAPS_CTRL3D 0x00000010
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_CTRLPOSITIONNOTIFY 0x00000100
#define DSBCAPS_CTRLFX 0x00000200
#define DSBCAPS_STICKYFOCUS 0x00004000
#define DSBCAPS_GLOBALFOCUS 0x00008000
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000
#define DSBCAPS_MUTE3DATMAXDISTANCE 0x00020000
#define DSBCAPS_LOCDEFER 0x00040000

#define DSBPLAY_LOOPING 0x00000001
#define DSBPLAY_LOCHARDWARE 0x00000002
#define DSBPLAY_LOCSOFTWARE 0x00000004
#define DSBPLAY_TERMINATEBY_TIME 0x00000008
#define DSBPLAY_TERMINATEBY_DISTANCE 0x00000010
#define DSBPLAY_TERMINATEBY_PRIORITY 0x00000020

#define DSBSTATUS_PLAYING 0x00000001
#define DSBSTATUS_BUFFERLOST 0x00000002
#define DSBSTATUS_LOOPING 0x00000004
#define DSBSTATUS_LOCHARDWARE 0x00000008
#define DSBSTATUS_LOCSOFTWARE 0x00000010
#define DSBSTATUS_TERMINATED 0x00000020

#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002

#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF
#define DSBPAN_LEFT -10000
#define DSBPAN_CENTER 0
#define DSBPAN_RIGHT 10000
#define DSBVOLUME_MAX 0
#define DSBVOLUME_MIN -10000
#define DSBFREQUENCY_ORIGINAL 0
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000

#define DSSPEAKER_HEADPHONE 1
#define DSSPEAKER_MONO 2
#define DSSPEAKER_QUAD 3
#define DSSPEAKER_STEREO 4
#define DSSPEAKER_SURROUND 5
#define DSSPEAKER_5POINT1 6
#define DSSPEAKER_7POINT1 7
#define DSSPEAKER_GEOMETRY_MIN 0x00000005
#define DSSPEAKER_GEOMETRY_NARROW 0x0000000A
#define DSSPEAKER_GEOMETRY_WIDE 0x00000014
#define DSSPEAKER_GEOMETRY_MAX 0x000000B4
#define DSSPEAKER_COMBINED(c, g) ((DWORD)(((BYTE)(c)) | ((DWORD)((BYTE)(g))) << 16))
#define DSSPEAKER_CONFIG(a) ((BYTE)(a))
#define DSSPEAKER_GEOMETRY(a) ((BYTE)(((DWORD)(a) >> 16) & 0x00FF))

#define DS_CERTIFIED 0x00000000
#define DS_UNCERTIFIED 0x00000001

// ---------------------------------------------------------------------------------------------
// Structures (natural alignment, as in the SDK)

typedef struct _DSCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwMinSecondarySampleRate;
    DWORD dwMaxSecondarySampleRate;
    DWORD dwPrimaryBuffers;
    DWORD dwMaxHwMixingAllBuffers;
    DWORD dwMaxHwMixingStaticBuffers;
    DWORD dwMaxHwMixingStreamingBuffers;
    DWORD dwFreeHwMixingAllBuffers;
    DWORD dwFreeHwMixingStaticBuffers;
    DWORD dwFreeHwMixingStreamingBuffers;
    DWORD dwMaxHw3DAllBuffers;
    DWORD dwMaxHw3DStaticBuffers;
    DWORD dwMaxHw3DStreamingBuffers;
    DWORD dwFreeHw3DAllBuffers;
    DWORD dwFreeHw3DStaticBuffers;
    DWORD dwFreeHw3DStreamingBuffers;
    DWORD dwTotalHwMemBytes;
    DWORD dwFreeHwMemBytes;
    DWORD dwMaxContigFreeHwMemBytes;
    DWORD dwUnlockTransferRateHwBuffers;
    DWORD dwPlayCpuOverheadSwBuffers;
    DWORD dwReserved1;
    DWORD dwReserved2;
} DSCAPS, *LPDSCAPS;
typedef const DSCAPS *LPCDSCAPS;

typedef struct _DSBCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwUnlockTransferRate;
    DWORD dwPlayCpuOverhead;
} DSBCAPS, *LPDSBCAPS;
typedef const DSBCAPS *LPCDSBCAPS;

// The DirectX 3 description without the 3D algorithm; still accepted by CreateSoundBuffer.
typedef struct _DSBUFFERDESC1 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
} DSBUFFERDESC1, *LPDSBUFFERDESC1;
typedef const DSBUFFERDESC1 *LPCDSBUFFERDESC1;

typedef struct _DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
} DSBUFFERDESC, *LPDSBUFFERDESC;
typedef const DSBUFFERDESC *LPCDSBUFFERDESC;

static_assert(sizeof(DSCAPS) == 96, "DSCAPS must be 96 bytes");
static_assert(sizeof(DSBCAPS) == 20, "DSBCAPS must be 20 bytes");
static_assert(sizeof(DSBUFFERDESC) == (sizeof(void *) == 8 ? 40 : 36),
              "DSBUFFERDESC must have the SDK layout");
static_assert(offsetof(DSBUFFERDESC, lpwfxFormat) == 16, "DSBUFFERDESC must have the SDK layout");
static_assert(sizeof(DSBUFFERDESC1) == (sizeof(void *) == 8 ? 24 : 20),
              "DSBUFFERDESC1 must have the SDK layout");

// ---------------------------------------------------------------------------------------------
// Interfaces (slot order as in the SDK)

struct IDirectSoundBuffer : public IUnknown {
    STDMETHOD(GetCaps)(LPDSBCAPS caps) PURE;
    STDMETHOD(GetCurrentPosition)(LPDWORD playCursor, LPDWORD writeCursor) PURE;
    STDMETHOD(GetFormat)(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) PURE;
    STDMETHOD(GetVolume)(LPLONG volume) PURE;
    STDMETHOD(GetPan)(LPLONG pan) PURE;
    STDMETHOD(GetFrequency)(LPDWORD frequency) PURE;
    STDMETHOD(GetStatus)(LPDWORD status) PURE;
    STDMETHOD(Initialize)(LPDIRECTSOUND directSound, LPCDSBUFFERDESC desc) PURE;
    STDMETHOD(Lock)
    (DWORD offset, DWORD bytes, LPVOID *audioPtr1, LPDWORD audioBytes1, LPVOID *audioPtr2,
     LPDWORD audioBytes2, DWORD flags) PURE;
    STDMETHOD(Play)(DWORD reserved1, DWORD priority, DWORD flags) PURE;
    STDMETHOD(SetCurrentPosition)(DWORD newPosition) PURE;
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX format) PURE;
    STDMETHOD(SetVolume)(LONG volume) PURE;
    STDMETHOD(SetPan)(LONG pan) PURE;
    STDMETHOD(SetFrequency)(DWORD frequency) PURE;
    STDMETHOD(Stop)() PURE;
    STDMETHOD(Unlock)
    (LPVOID audioPtr1, DWORD audioBytes1, LPVOID audioPtr2, DWORD audioBytes2) PURE;
    STDMETHOD(Restore)() PURE;
};

struct IDirectSound : public IUnknown {
    STDMETHOD(CreateSoundBuffer)
    (LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER *buffer, LPUNKNOWN outer) PURE;
    STDMETHOD(GetCaps)(LPDSCAPS caps) PURE;
    STDMETHOD(DuplicateSoundBuffer)
    (LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER *duplicate) PURE;
    STDMETHOD(SetCooperativeLevel)(HWND hwnd, DWORD level) PURE;
    STDMETHOD(Compact)() PURE;
    STDMETHOD(GetSpeakerConfig)(LPDWORD speakerConfig) PURE;
    STDMETHOD(SetSpeakerConfig)(DWORD speakerConfig) PURE;
    STDMETHOD(Initialize)(LPCGUID device) PURE;
};

struct IDirectSound8 : public IDirectSound {
    STDMETHOD(VerifyCertification)(LPDWORD certified) PURE;
};

// ---------------------------------------------------------------------------------------------
// Entry point

VINTOREL_WIN32_API HRESULT WINAPI DirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8 *ds,
                                                     LPUNKNOWN outer);
