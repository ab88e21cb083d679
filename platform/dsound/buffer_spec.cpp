// Validation of secondary buffer descriptions and their PCM formats (see buffer_spec.h).
// Does not read past the caller's structure: the 3D algorithm GUID is only looked at when
// dwSize says the full DSBUFFERDESC is there.
#include "dsound/buffer_spec.h"

#include <cstring>

namespace vintorel::dsound {

HRESULT checkPcmFormat(const WAVEFORMATEX &format) {
    if (format.wFormatTag != WAVE_FORMAT_PCM) {
        return DSERR_BADFORMAT;
    }
    // No channel, or more than two without WAVEFORMATEXTENSIBLE, is an invalid argument on
    // Windows, not an unsupported format.
    if (format.nChannels != 1 && format.nChannels != 2) {
        return DSERR_INVALIDPARAM;
    }
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) {
        return DSERR_BADFORMAT;
    }
    if (format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > DSBFREQUENCY_MAX) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD block = DWORD{format.nChannels} * format.wBitsPerSample / 8;
    if (format.nBlockAlign != block) {
        return DSERR_INVALIDPARAM;
    }
    // nAvgBytesPerSec is not checked: Windows takes it as given and reports it back.
    return DS_OK;
}

HRESULT parseBufferDesc(LPCDSBUFFERDESC desc, BufferSpec &spec) {
    if (!desc) {
        return DSERR_INVALIDPARAM;
    }
    const bool full = desc->dwSize == sizeof(DSBUFFERDESC);
    if (!full && desc->dwSize != sizeof(DSBUFFERDESC1)) {
        return DSERR_INVALIDPARAM;
    }

    const DWORD flags = desc->dwFlags;
    if (flags & DSBCAPS_PRIMARYBUFFER) {
        return DSERR_UNSUPPORTED;
    }
    if (flags & ~kAcceptedBufferFlags) {
        return DSERR_INVALIDPARAM;
    }
    if ((flags & DSBCAPS_LOCHARDWARE) && (flags & DSBCAPS_LOCSOFTWARE)) {
        return DSERR_INVALIDPARAM;
    }
    // OpenAL mixes everything, so there are no hardware buffers (GetCaps reports none); a
    // device without them refuses a buffer that must be in hardware with DSERR_INVALIDCALL.
    if (flags & DSBCAPS_LOCHARDWARE) {
        return DSERR_INVALIDCALL;
    }
    if ((flags & DSBCAPS_CTRL3D) && (flags & DSBCAPS_CTRLPAN)) {
        return DSERR_INVALIDPARAM;
    }
    if (full && !(flags & DSBCAPS_CTRL3D) && desc->guid3DAlgorithm != DS3DALG_DEFAULT) {
        return DSERR_INVALIDPARAM;
    }

    if (!desc->lpwfxFormat) {
        return DSERR_INVALIDPARAM;
    }
    WAVEFORMATEX format;
    std::memcpy(&format, desc->lpwfxFormat, sizeof format);
    if (const HRESULT hr = checkPcmFormat(format); FAILED(hr)) {
        return hr;
    }
    if ((flags & DSBCAPS_CTRL3D) && format.nChannels != 1) {
        return DSERR_INVALIDPARAM;
    }

    // A size that is not a whole number of blocks is taken and rounded up to the next block,
    // as DirectSound does; the added part is silence.
    DWORD bytes = desc->dwBufferBytes;
    if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX) {
        return DSERR_INVALIDPARAM;
    }
    if (const DWORD part = bytes % format.nBlockAlign; part != 0) {
        bytes += format.nBlockAlign - part;
    }

    format.cbSize = 0;
    spec.flags = flags;
    spec.bytes = bytes;
    spec.format = format;
    return DS_OK;
}

} // namespace vintorel::dsound
