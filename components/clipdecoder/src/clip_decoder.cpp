// The clip decoder library: the seven OptimFROG_* entry points over libFLAC's stream decoder.
// Implements: opening a FLAC stream from a Windows-style relative name, the information record,
// the canonical 44-byte WAV header, PCM delivery in pieces (WAV sample format or int32), closing
// with an optional MD5 verdict. Deliberately not: seeking, Ogg FLAC, formats other than 8/16/24
// bits and 1..8 channels, WAV files beyond 32 bits, any FLAC decoding of its own.
#include "OptimFROG.h"

#include <FLAC/format.h>
#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "regular_file.h"

namespace {

constexpr uint32_t kMagic = 0x56434C44u; // "VCLD"
constexpr uint32_t kHeaderSize = OPTIMFROG_HEADER_SIZE;
// The largest PCM byte count whose WAV file (header included) still fits 32 bits.
constexpr uint64_t kMaxDataBytes = std::numeric_limits<uint32_t>::max() - kHeaderSize;

// The largest clip file opened: one that could still yield a WAV file within 32 bits. Anything
// bigger is not a clip, however it starts.
constexpr int64_t kMaxFileBytes = std::numeric_limits<uint32_t>::max();

std::string nativeName(const char *fileName) {
    std::string name(fileName);
#if !defined(_WIN32)
    std::replace(name.begin(), name.end(), '\\', '/');
#endif
    return name;
}

void putLe16(uint8_t *p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void putLe32(uint8_t *p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

class Clip {
  public:
    uint32_t magic = kMagic;

    ~Clip() { close(); }

    bool open(const char *fileName, bool checkMD5);
    bool close();
    bool isOpen() const { return open_; }
    void fillInfo(OptimFROG_Info &info) const;
    const uint8_t *header() const { return header_; }
    int32_t read(void *data, int32_t noPoints, bool wavFormat);

  private:
    // libFLAC callbacks.
    static FLAC__StreamDecoderReadStatus readCb(const FLAC__StreamDecoder *, FLAC__byte buffer[],
                                                size_t *bytes, void *client);
    static FLAC__bool eofCb(const FLAC__StreamDecoder *, void *client);
    static FLAC__StreamDecoderWriteStatus writeCb(const FLAC__StreamDecoder *,
                                                  const FLAC__Frame *frame,
                                                  const FLAC__int32 *const buffer[], void *client);
    static void metadataCb(const FLAC__StreamDecoder *, const FLAC__StreamMetadata *metadata,
                           void *client);
    static void errorCb(const FLAC__StreamDecoder *, FLAC__StreamDecoderErrorStatus, void *) {}

    FLAC__StreamDecoderWriteStatus onFrame(const FLAC__Frame *frame,
                                           const FLAC__int32 *const buffer[]);
    bool startDecoder();
    bool countPoints();
    bool decodeStep();
    void resetDecodingState();
    void writePoints(uint8_t *out, size_t points, bool wavFormat);
    void buildHeader();

    FILE *file_ = nullptr;
    uint64_t bytesRead_ = 0; // from file_ since the decoder (re)started
    FLAC__StreamDecoder *decoder_ = nullptr;
    bool open_ = false;
    bool checkMD5_ = false;
    int64_t fileSize_ = 0;

    // From STREAMINFO.
    bool haveStreamInfo_ = false;
    uint32_t channels_ = 0;
    uint32_t sampleRate_ = 0;
    uint32_t bitsPerSample_ = 0;
    uint64_t totalPoints_ = 0;
    bool md5Present_ = false;

    uint32_t bytesPerSample_ = 0;
    uint64_t dataBytes_ = 0;
    uint8_t header_[kHeaderSize] = {};

    // Decoding state. pending_ holds interleaved samples of the last frame not yet delivered.
    std::vector<int32_t> pending_;
    size_t pendingPos_ = 0; // in samples
    uint64_t delivered_ = 0;
    bool ended_ = false; // the decoder will give no more frames (end of stream or damage)
    bool frameMismatch_ = false;
    uint64_t idleSteps_ = 0;
    // Counting pass (for a STREAMINFO without a total): points seen so far.
    bool counting_ = false;
    uint64_t counted_ = 0;
};

FLAC__StreamDecoderReadStatus Clip::readCb(const FLAC__StreamDecoder *, FLAC__byte buffer[],
                                           size_t *bytes, void *client) {
    auto *self = static_cast<Clip *>(client);
    if (*bytes == 0) {
        return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    }
    // Never past the size the file had at open: a file that grows cannot make decoding endless.
    const auto left = static_cast<uint64_t>(self->fileSize_) - self->bytesRead_;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(*bytes, left));
    const size_t got = want == 0 ? 0 : std::fread(buffer, 1, want, self->file_);
    self->bytesRead_ += got;
    *bytes = got;
    if (got > 0) {
        return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
    }
    return std::ferror(self->file_) ? FLAC__STREAM_DECODER_READ_STATUS_ABORT
                                    : FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
}

FLAC__bool Clip::eofCb(const FLAC__StreamDecoder *, void *client) {
    auto *self = static_cast<Clip *>(client);
    const bool atSize = self->bytesRead_ >= static_cast<uint64_t>(self->fileSize_);
    return (atSize || std::feof(self->file_)) ? 1 : 0;
}

FLAC__StreamDecoderWriteStatus Clip::writeCb(const FLAC__StreamDecoder *, const FLAC__Frame *frame,
                                             const FLAC__int32 *const buffer[], void *client) {
    try {
        return static_cast<Clip *>(client)->onFrame(frame, buffer);
    } catch (...) {
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }
}

void Clip::metadataCb(const FLAC__StreamDecoder *, const FLAC__StreamMetadata *metadata,
                      void *client) {
    auto *self = static_cast<Clip *>(client);
    if (metadata->type != FLAC__METADATA_TYPE_STREAMINFO || self->haveStreamInfo_) {
        return;
    }
    const FLAC__StreamMetadata_StreamInfo &si = metadata->data.stream_info;
    self->haveStreamInfo_ = true;
    self->channels_ = si.channels;
    self->sampleRate_ = si.sample_rate;
    self->bitsPerSample_ = si.bits_per_sample;
    self->totalPoints_ = si.total_samples;
    self->md5Present_ = false;
    for (const FLAC__byte b : si.md5sum) {
        if (b != 0) {
            self->md5Present_ = true;
        }
    }
}

FLAC__StreamDecoderWriteStatus Clip::onFrame(const FLAC__Frame *frame,
                                             const FLAC__int32 *const buffer[]) {
    // A frame that disagrees with STREAMINFO in layout is damage: decoding stops here.
    if (frame->header.channels != channels_ || frame->header.bits_per_sample != bitsPerSample_) {
        frameMismatch_ = true;
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }
    const uint32_t blocksize = frame->header.blocksize;
    if (counting_) {
        counted_ += blocksize;
        if (counted_ * channels_ * bytesPerSample_ > kMaxDataBytes) {
            return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
        }
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }
    // Called only when everything before was delivered (see decodeStep), but keep any rest.
    if (pendingPos_ > 0) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(pendingPos_));
        pendingPos_ = 0;
    }
    const size_t base = pending_.size();
    pending_.resize(base + static_cast<size_t>(blocksize) * channels_);
    int32_t *out = pending_.data() + base;
    for (uint32_t i = 0; i < blocksize; ++i) {
        for (uint32_t ch = 0; ch < channels_; ++ch) {
            *out++ = buffer[ch][i];
        }
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void Clip::resetDecodingState() {
    pending_.clear();
    pending_.shrink_to_fit();
    pendingPos_ = 0;
    delivered_ = 0;
    ended_ = false;
    frameMismatch_ = false;
    idleSteps_ = 0;
    counting_ = false;
    counted_ = 0;
}

// (Re)starts the decoder at the beginning of file_ and decodes the metadata.
bool Clip::startDecoder() {
    haveStreamInfo_ = false;
    bytesRead_ = 0;
    if (!FLAC__stream_decoder_set_md5_checking(decoder_, checkMD5_ ? 1 : 0)) {
        return false;
    }
    if (FLAC__stream_decoder_init_stream(decoder_, readCb, nullptr, nullptr, nullptr, eofCb,
                                         writeCb, metadataCb, errorCb,
                                         this) != FLAC__STREAM_DECODER_INIT_STATUS_OK) {
        return false;
    }
    FLAC__stream_decoder_process_until_end_of_metadata(decoder_);
    const FLAC__StreamDecoderState state = FLAC__stream_decoder_get_state(decoder_);
    if (state >= FLAC__STREAM_DECODER_OGG_ERROR) {
        return false;
    }
    return haveStreamInfo_;
}

// One decoding step: at most one frame more into pending_. Sets ended_ when no more will come.
// Returns whether samples arrived.
bool Clip::decodeStep() {
    const size_t before = pending_.size() - pendingPos_;
    const bool ok = FLAC__stream_decoder_process_single(decoder_) != 0;
    const FLAC__StreamDecoderState state = FLAC__stream_decoder_get_state(decoder_);
    if (!ok || state >= FLAC__STREAM_DECODER_END_OF_STREAM || frameMismatch_) {
        ended_ = true;
    }
    const bool progress = counting_ ? true : (pending_.size() - pendingPos_) > before;
    // libFLAC consumes input on every step, so a stream of N bytes needs no more than about N
    // steps without a frame; this bound only guards against a step that makes no progress.
    if (progress) {
        idleSteps_ = 0;
    } else if (++idleSteps_ > static_cast<uint64_t>(fileSize_) + 64) {
        ended_ = true;
    }
    return progress;
}

// For a STREAMINFO without a total: decode the whole stream once to count its points, then
// start again from the beginning. The count stops (and the open fails) past the 32-bit limit.
bool Clip::countPoints() {
    counting_ = true;
    counted_ = 0;
    uint64_t steps = 0;
    const uint64_t stepLimit = 2 * static_cast<uint64_t>(fileSize_) + 64;
    while (!ended_ && steps++ < stepLimit) {
        decodeStep();
    }
    counting_ = false;
    if (counted_ * channels_ * bytesPerSample_ > kMaxDataBytes) {
        return false;
    }
    const uint64_t counted = counted_;
    const uint32_t channels = channels_;
    const uint32_t sampleRate = sampleRate_;
    const uint32_t bits = bitsPerSample_;
    FLAC__stream_decoder_finish(decoder_);
    resetDecodingState();
    std::clearerr(file_);
    if (std::fseek(file_, 0, SEEK_SET) != 0 || !startDecoder()) {
        return false;
    }
    if (channels_ != channels || sampleRate_ != sampleRate || bitsPerSample_ != bits) {
        return false;
    }
    totalPoints_ = counted;
    return true;
}

void Clip::buildHeader() {
    const uint32_t blockAlign = channels_ * bytesPerSample_;
    const auto data = static_cast<uint32_t>(dataBytes_);
    uint8_t *h = header_;
    std::memcpy(h + 0, "RIFF", 4);
    putLe32(h + 4, 36u + data);
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    putLe32(h + 16, 16u);
    putLe16(h + 20, 1u); // WAVE_FORMAT_PCM
    putLe16(h + 22, channels_);
    putLe32(h + 24, sampleRate_);
    putLe32(h + 28, sampleRate_ * blockAlign);
    putLe16(h + 32, blockAlign);
    putLe16(h + 34, bitsPerSample_);
    std::memcpy(h + 36, "data", 4);
    putLe32(h + 40, data);
}

bool Clip::open(const char *fileName, bool checkMD5) {
    close();
    resetDecodingState();
    checkMD5_ = checkMD5;
    const std::string name = nativeName(fileName);
    // Only a regular file: a FIFO or a device is no clip and must not block or never end.
    if (vintorel::openRegularFile(name, kMaxFileBytes, &file_, &fileSize_) !=
        vintorel::RegularFile::opened) {
        return false;
    }
    bool ok = false;
    decoder_ = FLAC__stream_decoder_new();
    if (decoder_ != nullptr && startDecoder()) {
        ok = channels_ >= 1 && channels_ <= FLAC__MAX_CHANNELS && sampleRate_ > 0 &&
             (bitsPerSample_ == 8 || bitsPerSample_ == 16 || bitsPerSample_ == 24);
    }
    if (ok) {
        bytesPerSample_ = bitsPerSample_ / 8;
        if (totalPoints_ == 0) {
            ok = countPoints();
        } else {
            // Checked before multiplying: a 36-bit total times 8 channels times 3 cannot wrap.
            ok = totalPoints_ * channels_ * bytesPerSample_ <= kMaxDataBytes;
        }
    }
    if (!ok) {
        if (decoder_ != nullptr) {
            FLAC__stream_decoder_delete(decoder_); // finishes it first
            decoder_ = nullptr;
        }
        std::fclose(file_);
        file_ = nullptr;
        resetDecodingState();
        return false;
    }
    dataBytes_ = totalPoints_ * channels_ * bytesPerSample_;
    buildHeader();
    open_ = true;
    return true;
}

bool Clip::close() {
    if (!open_) {
        return false;
    }
    // The decoder judges the MD5 signature in finish. The verdict counts once decoding is over:
    // every point delivered, or the stream ended (at its end, truncated or damaged). A clip
    // closed before that was not decoded whole and gets no verdict.
    const bool finishOk = FLAC__stream_decoder_finish(decoder_) != 0;
    const bool decodedAll = ended_ || delivered_ == totalPoints_;
    const bool result = !(checkMD5_ && md5Present_ && decodedAll && !finishOk);
    FLAC__stream_decoder_delete(decoder_);
    decoder_ = nullptr;
    std::fclose(file_);
    file_ = nullptr;
    open_ = false;
    resetDecodingState();
    return result;
}

void Clip::fillInfo(OptimFROG_Info &info) const {
    OptimFROG_Info r;
    std::memset(&r, 0, sizeof r);
    r.channels = channels_;
    r.samplerate = sampleRate_;
    r.bitspersample = bitsPerSample_;
    if (totalPoints_ > 0) {
        const double seconds = static_cast<double>(totalPoints_) / sampleRate_;
        const double kbps = static_cast<double>(fileSize_) * 8.0 / seconds / 1000.0;
        r.bitrate = kbps >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(kbps + 0.5);
    }
    r.version = OPTIMFROG_CLIPDECODER_VERSION;
    r.blockAlign = channels_ * bytesPerSample_;
    r.headerSize = kHeaderSize;
    r.noPoints = static_cast<int64_t>(totalPoints_);
    r.originalSize = static_cast<uint32_t>(kHeaderSize + dataBytes_);
    r.originalSizeHigh = 0;
    r.compressedSize = fileSize_;
    r.length_ms = static_cast<int64_t>(totalPoints_ * 1000u / sampleRate_);
    r.dataSize = static_cast<uint32_t>(dataBytes_);
    r.reserved = 0;
    std::memcpy(&info, &r, sizeof r);
}

void Clip::writePoints(uint8_t *out, size_t points, bool wavFormat) {
    const int32_t *in = pending_.data() + pendingPos_;
    const size_t samples = points * channels_;
    if (!wavFormat) {
        std::memcpy(out, in, samples * sizeof(int32_t));
        return;
    }
    // libFLAC keeps samples inside the stream's bit depth for valid streams; clamp anyway so
    // that a damaged stream cannot produce a wrapped value.
    switch (bitsPerSample_) {
    case 8:
        for (size_t i = 0; i < samples; ++i) {
            const int32_t v = std::clamp<int32_t>(in[i], -128, 127);
            *out++ = static_cast<uint8_t>(v + 128);
        }
        break;
    case 16:
        for (size_t i = 0; i < samples; ++i) {
            const auto v = static_cast<uint32_t>(std::clamp<int32_t>(in[i], -32768, 32767));
            *out++ = static_cast<uint8_t>(v);
            *out++ = static_cast<uint8_t>(v >> 8);
        }
        break;
    default: // 24
        for (size_t i = 0; i < samples; ++i) {
            const auto v = static_cast<uint32_t>(std::clamp<int32_t>(in[i], -8388608, 8388607));
            *out++ = static_cast<uint8_t>(v);
            *out++ = static_cast<uint8_t>(v >> 8);
            *out++ = static_cast<uint8_t>(v >> 16);
        }
        break;
    }
}

int32_t Clip::read(void *data, int32_t noPoints, bool wavFormat) {
    auto *out = static_cast<uint8_t *>(data);
    const size_t pointBytes = wavFormat ? channels_ * bytesPerSample_ : channels_ * 4u;
    int32_t got = 0;
    while (got < noPoints && delivered_ < totalPoints_) {
        const size_t pendingPoints = (pending_.size() - pendingPos_) / channels_;
        if (pendingPoints > 0) {
            const uint64_t want = std::min<uint64_t>(static_cast<uint64_t>(noPoints - got),
                                                     totalPoints_ - delivered_);
            const auto n = static_cast<size_t>(std::min<uint64_t>(pendingPoints, want));
            writePoints(out, n, wavFormat);
            out += n * pointBytes;
            pendingPos_ += n * channels_;
            got += static_cast<int32_t>(n);
            delivered_ += n;
            continue;
        }
        pending_.clear();
        pendingPos_ = 0;
        if (ended_) {
            break;
        }
        decodeStep();
    }
    if (pendingPos_ == pending_.size()) {
        pending_.clear();
        pendingPos_ = 0;
    }
    return got;
}

Clip *asClip(void *instance) {
    auto *clip = static_cast<Clip *>(instance);
    return (clip != nullptr && clip->magic == kMagic) ? clip : nullptr;
}

} // namespace

extern "C" {

void *OptimFROG_createInstance(void) {
    return new (std::nothrow) Clip();
}

void OptimFROG_destroyInstance(void *instance) {
    Clip *clip = asClip(instance);
    if (clip == nullptr) {
        return;
    }
    clip->close();
    clip->magic = 0;
    delete clip;
}

condBOOL OptimFROG_open(void *instance, const char *fileName, condBOOL checkMD5) {
    Clip *clip = asClip(instance);
    if (clip == nullptr || fileName == nullptr) {
        return 0;
    }
    try {
        return clip->open(fileName, checkMD5 != 0) ? 1 : 0;
    } catch (...) {
        clip->close();
        return 0;
    }
}

condBOOL OptimFROG_getInfo(void *instance, OptimFROG_Info *info) {
    Clip *clip = asClip(instance);
    if (clip == nullptr || info == nullptr || !clip->isOpen()) {
        return 0;
    }
    clip->fillInfo(*info);
    return 1;
}

uint32_t OptimFROG_readHead(void *instance, void *headData, uint32_t maxSize) {
    Clip *clip = asClip(instance);
    if (clip == nullptr || !clip->isOpen()) {
        return 0;
    }
    if (headData == nullptr) {
        return kHeaderSize;
    }
    if (maxSize < kHeaderSize) {
        return 0;
    }
    std::memcpy(headData, clip->header(), kHeaderSize);
    return kHeaderSize;
}

int32_t OptimFROG_read(void *instance, void *data, int32_t noPoints, condBOOL wavFormat) {
    Clip *clip = asClip(instance);
    if (clip == nullptr || !clip->isOpen() || noPoints < 0 || (data == nullptr && noPoints > 0)) {
        return -1;
    }
    if (noPoints == 0) {
        return 0;
    }
    try {
        return clip->read(data, noPoints, wavFormat != 0);
    } catch (...) {
        return -1;
    }
}

condBOOL OptimFROG_close(void *instance) {
    Clip *clip = asClip(instance);
    if (clip == nullptr) {
        return 0;
    }
    return clip->close() ? 1 : 0;
}

} // extern "C"
