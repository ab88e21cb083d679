/*
 * OptimFROG.h - the clip decoder library's interface (Vintorel).
 *
 * The program decodes its 21 sound clips through seven OptimFROG_* functions. This library
 * provides them over libFLAC: a clip file (".vcl") is a plain FLAC
 * stream. The "uncompressed file" that a clip stands for is its PCM as a canonical WAV file: a
 * 44-byte RIFF/WAVE header (a 16-byte PCM "fmt " chunk, then the "data" chunk) followed by the
 * PCM bytes. So the header size is always 44 and the uncompressed size is 44 + PCM bytes.
 *
 * Usable from C and C++. All functions are safe to call with NULL pointers (they refuse them)
 * and never throw. Instances are independent; one instance must not be used from two threads
 * at once.
 *
 * Streams that can be opened: FLAC (native container, not Ogg), 1 to 8 channels, 8, 16 or 24
 * bits per sample, any sample rate FLAC allows, whose WAV file would fit 32 bits
 * (44 + PCM bytes <= 0xFFFFFFFF). A stream whose STREAMINFO gives no total sample count
 * (FLAC's "unknown", as a piped encoder may write) is counted by one decoding pass at open;
 * a stream that turns out to hold no samples opens with 0 points.
 */
#ifndef VINTOREL_OPTIMFROG_H
#define VINTOREL_OPTIMFROG_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(OPTIMFROG_BUILDING_LIBRARY)
#define OPTIMFROG_API __declspec(dllexport)
#else
#define OPTIMFROG_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define OPTIMFROG_API __attribute__((visibility("default")))
#else
#define OPTIMFROG_API
#endif

/* Version of this library, major * 10000 + minor * 100 + patch; also in OptimFROG_Info. */
#define OPTIMFROG_CLIPDECODER_VERSION 10000u

/* Size in bytes of the uncompressed file's header (the canonical WAV header). */
#define OPTIMFROG_HEADER_SIZE 44u

#ifdef __cplusplus
extern "C" {
#endif

/* A one-byte truth value: 0 false, anything else true (the library returns 1 for true). */
typedef unsigned char condBOOL;

/*
 * The information record, exactly 68 bytes, packed, little-endian fields (on the machines the
 * program runs on). The five fields the program reads are at the offsets it reads them from;
 * the others are this library's own choice.
 *
 *  byte  type      field             meaning
 *     0  uint32    channels          channels, 1..8
 *     4  uint32    samplerate        sample rate in Hz
 *     8  uint32    bitspersample     bits per sample: 8, 16 or 24
 *    12  uint32    bitrate           average compressed bitrate in kbit/s, rounded
 *                                    (whole file size over the clip's length; 0 for 0 points)
 *    16  uint32    version           OPTIMFROG_CLIPDECODER_VERSION
 *    20  uint32    blockAlign        bytes per point in WAV format: channels x bytes per sample
 *    24  uint32    headerSize        always 44 (OPTIMFROG_HEADER_SIZE)
 *    28  int64     noPoints          number of points (one sample on every channel at one
 *                                    instant): the stream's total samples per channel
 *    36  uint32    originalSize      size in bytes of the uncompressed WAV file, header
 *                                    included: 44 + PCM bytes
 *    40  uint32    originalSizeHigh  always 0, so bytes 36..43 also read as a 64-bit size
 *    44  int64     compressedSize    size in bytes of the clip file
 *    52  int64     length_ms         length in milliseconds, rounded down
 *    60  uint32    dataSize          PCM bytes (originalSize - 44)
 *    64  uint32    reserved          always 0
 */
#pragma pack(push, 1)
typedef struct OptimFROG_Info {
    uint32_t channels;
    uint32_t samplerate;
    uint32_t bitspersample;
    uint32_t bitrate;
    uint32_t version;
    uint32_t blockAlign;
    uint32_t headerSize;
    int64_t noPoints;
    uint32_t originalSize;
    uint32_t originalSizeHigh;
    int64_t compressedSize;
    int64_t length_ms;
    uint32_t dataSize;
    uint32_t reserved;
} OptimFROG_Info;
#pragma pack(pop)

#if defined(__cplusplus)
#define OPTIMFROG_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define OPTIMFROG_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif
#ifdef OPTIMFROG_STATIC_ASSERT
OPTIMFROG_STATIC_ASSERT(sizeof(condBOOL) == 1, "condBOOL is one byte");
OPTIMFROG_STATIC_ASSERT(sizeof(OptimFROG_Info) == 68, "OptimFROG_Info is 68 bytes");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, channels) == 0, "channels at 0");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, samplerate) == 4, "samplerate at 4");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, bitspersample) == 8, "bitspersample at 8");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, bitrate) == 12, "bitrate at 12");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, version) == 16, "version at 16");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, blockAlign) == 20, "blockAlign at 20");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, headerSize) == 24, "headerSize at 24");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, noPoints) == 28, "noPoints at 28");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, originalSize) == 36, "originalSize at 36");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, originalSizeHigh) == 40, "high size at 40");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, compressedSize) == 44, "compressedSize at 44");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, length_ms) == 52, "length_ms at 52");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, dataSize) == 60, "dataSize at 60");
OPTIMFROG_STATIC_ASSERT(offsetof(OptimFROG_Info, reserved) == 64, "reserved at 64");
#endif

/* A new decoder instance, not open; NULL when memory is short. */
OPTIMFROG_API void *OptimFROG_createInstance(void);

/* Frees an instance, closing it first if a clip is open. NULL is accepted and ignored. */
OPTIMFROG_API void OptimFROG_destroyInstance(void *instance);

/*
 * Opens a clip file. A clip already open in the instance is closed first.
 * fileName is taken as a Windows program writes it: on POSIX systems every backslash becomes
 * '/', so "Data\\0en.vcl" opens Data/0en.vcl; a relative name resolves against the current
 * directory. The stream's metadata is decoded here.
 * Returns false (0) when instance or fileName is NULL, the file is missing, unreadable or not
 * a regular file (a folder, a device), it is not a FLAC stream (no STREAMINFO), or its format
 * cannot be delivered (see above). Only the bytes the file held at open are read.
 * checkMD5: when true, the decoded PCM is checked against the stream's MD5 signature once
 * decoding is over; a mismatch is reported by OptimFROG_close returning false (a stream
 * without a signature, all zeros, always passes). The program passes 0.
 */
OPTIMFROG_API condBOOL OptimFROG_open(void *instance, const char *fileName, condBOOL checkMD5);

/* Fills *info (see the table above). False, leaving *info untouched, when instance or info is
 * NULL or no clip is open. */
OPTIMFROG_API condBOOL OptimFROG_getInfo(void *instance, OptimFROG_Info *info);

/*
 * The uncompressed file's header. With headData NULL: returns the header size, 44, without
 * copying. Otherwise: when maxSize >= 44, copies the canonical 44-byte WAV header of the open
 * clip into headData and returns 44; when maxSize < 44, copies nothing and returns 0.
 * Returns 0 when instance is NULL or no clip is open.
 */
OPTIMFROG_API uint32_t OptimFROG_readHead(void *instance, void *headData, uint32_t maxSize);

/*
 * Decodes up to noPoints points into data, interleaved, continuing where the previous read
 * stopped. wavFormat true: the WAV file's sample format, little-endian (8-bit unsigned,
 * 16-bit signed, 24-bit signed packed in 3 bytes), so a point takes blockAlign bytes.
 * wavFormat false: one native int32_t per sample (signed value, not scaled), so a point takes
 * 4 x channels bytes. The program passes 1.
 * Returns the number of whole points written: noPoints when that many remain, fewer at the
 * end, 0 once the stream is exhausted (and on every later call) or when noPoints is 0.
 * Never writes more than noPoints points. Never delivers more than the record's noPoints in
 * all. A damaged or truncated stream yields the points that decode and then 0.
 * Returns a negative value (-1) when instance is NULL, no clip is open, noPoints is negative,
 * or data is NULL while noPoints > 0.
 */
OPTIMFROG_API int32_t OptimFROG_read(void *instance, void *data, int32_t noPoints,
                                     condBOOL wavFormat);

/* Closes the open clip; the instance can be opened again. Returns false when instance is NULL
 * or nothing was open. With checkMD5 given to OptimFROG_open, also false when decoding is over
 * (every point delivered, or the stream ended early: truncated or damaged) and the decoded PCM
 * does not match the stream's MD5 signature; a clip closed before that gets no verdict.
 * Otherwise true. */
OPTIMFROG_API condBOOL OptimFROG_close(void *instance);

#ifdef __cplusplus
}
#endif

#endif /* VINTOREL_OPTIMFROG_H */
