// Checking a DSBUFFERDESC from CreateSoundBuffer and turning it into what a secondary buffer
// needs: flags, size and a PCM format OpenAL can play as it is (8-bit unsigned or 16-bit
// signed, mono or stereo). Does not describe primary buffers, compressed formats or
// WAVEFORMATEXTENSIBLE.
#pragma once

#include <dsound.h>

namespace vintorel::dsound {

struct BufferSpec {
    DWORD flags = 0;
    DWORD bytes = 0;
    WAVEFORMATEX format{}; // cbSize always 0
};

// The creation flags a secondary buffer accepts.
inline constexpr DWORD kAcceptedBufferFlags =
    DSBCAPS_STATIC | DSBCAPS_LOCHARDWARE | DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRL3D |
    DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY |
    DSBCAPS_STICKYFOCUS | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

// DS_OK and a filled spec, or the DirectSound error for the first thing wrong:
// DSERR_UNSUPPORTED for a primary buffer, DSERR_INVALIDCALL for one that must be in hardware,
// DSERR_BADFORMAT for a format other than 8/16-bit mono/stereo PCM, DSERR_INVALIDPARAM for
// anything else malformed. The size is rounded up to
// a whole number of blocks.
HRESULT parseBufferDesc(LPCDSBUFFERDESC desc, BufferSpec &spec);

// DS_OK, DSERR_BADFORMAT or DSERR_INVALIDPARAM, as for the format of a buffer description.
HRESULT checkPcmFormat(const WAVEFORMATEX &format);

} // namespace vintorel::dsound
