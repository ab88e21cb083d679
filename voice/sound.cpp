// Sound output on DirectSound 8 with clips decoded by the OptimFROG library. Every failure is
// silent: a clip that cannot be decoded or stored leaves its slot empty.
#include "voice/sound.h"

#include "OptimFROG.h"
#include "app/app_state.h"

namespace {

constexpr int kClipCount = 21;

// Load order; slot i of this table is slotOf(i).
const char *const kClipFiles[kClipCount] = {
    "Data\\0ru.vcl", "Data\\1ru.vcl", "Data\\2ru.vcl", "Data\\3ru.vcl", "Data\\4ru.vcl",
    "Data\\5ru.vcl", "Data\\6ru.vcl", "Data\\7ru.vcl", "Data\\8ru.vcl", "Data\\9ru.vcl",
    "Data\\0en.vcl", "Data\\1en.vcl", "Data\\2en.vcl", "Data\\3en.vcl", "Data\\4en.vcl",
    "Data\\5en.vcl", "Data\\6en.vcl", "Data\\7en.vcl", "Data\\8en.vcl", "Data\\9en.vcl",
    "Data\\tone.vcl"};

IDirectSoundBuffer **slotOf(int order) {
    if (order < 10) {
        return &app.clipRu[order];
    }
    if (order < 20) {
        return &app.clipEn[order - 10];
    }
    return &app.clipTone;
}

// The buffer flags ask for frequency, pan, volume and position-notify control; the program uses
// none of them, but a device may place such buffers differently.
constexpr DWORD kClipBufferFlags =
    DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY;

constexpr LONGLONG kMaxReadPoints = 0x7FFFFFFF; // one read's count is a signed 32-bit value

void closeDecoder(void *decoder) {
    OptimFROG_close(decoder);
    OptimFROG_destroyInstance(decoder);
}

// Reads the clip's points into the locked region, each read behind the one before, until the
// clip is complete, the region is full, or the decoder delivers nothing more.
void decodeInto(void *decoder, BYTE *region, LONGLONG capacity, DWORD blockSize, LONGLONG points) {
    LONGLONG total = 0;
    while (total < points && total < capacity) {
        LONGLONG count = capacity - total;
        if (count > kMaxReadPoints) {
            count = kMaxReadPoints;
        }
        BYTE *destination = region + static_cast<size_t>(total) * blockSize;
        LONG got = OptimFROG_read(decoder, destination, static_cast<LONG>(count), 1);
        if (got <= 0) {
            break;
        }
        if (got > count) {
            got = static_cast<LONG>(count); // never count past what was asked for
        }
        total += got;
    }
}

} // namespace

void openSoundDevice(HWND window) {
    IDirectSound8 *device = nullptr;
    if (FAILED(DirectSoundCreate8(nullptr, &device, nullptr)) || device == nullptr) {
        return; // no output device: the program runs silent
    }
    app.sound = device;
    app.sound->SetCooperativeLevel(window, DSSCL_PRIORITY); // a refusal changes nothing here
}

IDirectSoundBuffer *loadClip(const char *fileName) {
    if (app.sound == nullptr) {
        return nullptr;
    }
    void *decoder = OptimFROG_createInstance();
    if (decoder == nullptr) {
        return nullptr;
    }
    if (!OptimFROG_open(decoder, fileName, 0)) {
        OptimFROG_destroyInstance(decoder);
        return nullptr;
    }
    OptimFROG_Info info{};
    OptimFROG_getInfo(decoder, &info);
    const DWORD headerSize = OptimFROG_readHead(decoder, nullptr, 0);

    // The record is packed: copy its fields out before use.
    const DWORD channels = info.channels;
    const DWORD sampleRate = info.samplerate;
    const DWORD bitsPerSample = info.bitspersample;
    const LONGLONG points = info.noPoints;
    const DWORD fileSize = info.originalSize;

    // A clip the sound output cannot play (other than 8 or 16 bits, mono or stereo; such a
    // buffer would be refused or stay silent) or whose header is larger than the whole file is
    // no clip.
    const ULONGLONG blockSize = static_cast<ULONGLONG>(bitsPerSample / 8) * channels;
    const bool playable =
        (bitsPerSample == 8 || bitsPerSample == 16) && (channels == 1 || channels == 2);
    if (!playable || headerSize > fileSize) {
        closeDecoder(decoder);
        return nullptr;
    }
    const DWORD bufferBytes = fileSize - headerSize;

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = sampleRate;
    format.nBlockAlign = static_cast<WORD>(blockSize);
    format.nAvgBytesPerSec = format.nBlockAlign * sampleRate;
    format.wBitsPerSample = static_cast<WORD>(bitsPerSample);

    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = kClipBufferFlags;
    description.dwBufferBytes = bufferBytes;
    description.dwReserved = 0;
    description.lpwfxFormat = &format;
    description.guid3DAlgorithm = DS3DALG_DEFAULT;

    IDirectSoundBuffer *buffer = nullptr;
    if (FAILED(app.sound->CreateSoundBuffer(&description, &buffer, nullptr)) || buffer == nullptr) {
        closeDecoder(decoder);
        return nullptr;
    }
    void *region = nullptr;
    DWORD regionBytes = 0;
    if (FAILED(buffer->Lock(0, bufferBytes, &region, &regionBytes, nullptr, nullptr,
                            DSBLOCK_ENTIREBUFFER))) {
        buffer->Release();
        closeDecoder(decoder);
        return nullptr;
    }
    // Decode only into what the device handed out, even if it is less than was asked for.
    DWORD usableBytes = bufferBytes < regionBytes ? bufferBytes : regionBytes;
    if (region == nullptr) {
        usableBytes = 0;
    }
    const LONGLONG capacity = usableBytes / blockSize;
    if (points > 0) {
        decodeInto(decoder, static_cast<BYTE *>(region), capacity, static_cast<DWORD>(blockSize),
                   points);
    }
    buffer->Unlock(region, regionBytes, nullptr, 0);
    closeDecoder(decoder);
    return buffer;
}

void loadClipBank() {
    for (int order = 0; order < kClipCount; ++order) {
        *slotOf(order) = loadClip(kClipFiles[order]);
    }
}

void playClip(IDirectSoundBuffer *clip) {
    if (clip != nullptr) {
        clip->Play(0, 0, 0);
    }
}

void releaseClipBank() {
    for (int order = 0; order < kClipCount; ++order) {
        IDirectSoundBuffer **slot = slotOf(order);
        if (*slot != nullptr) {
            (*slot)->Release();
            *slot = nullptr;
        }
    }
    if (app.sound != nullptr) {
        app.sound->Release();
        app.sound = nullptr;
    }
}
