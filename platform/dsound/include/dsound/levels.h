// Conversions from DirectSound's buffer controls to OpenAL source parameters: volume in
// hundredths of a decibel to linear gain, pan to a listener-relative position, frequency to
// pitch. Pure functions; range checks belong to the callers.
// Pan is modelled for mono sources only (OpenAL plays stereo sources straight to the two
// sides).
#pragma once

#include <windows.h>

namespace vintorel::dsound {

// DSBVOLUME_MIN and below are silence; DSBVOLUME_MAX is unity gain.
float volumeToGain(LONG volume);

struct SourcePosition {
    float x;
    float y;
    float z;
};

// A point on the unit circle in front of the listener: centre straight ahead, DSBPAN_LEFT
// and DSBPAN_RIGHT fully to the sides. In between, the angle at which OpenAL Soft's stereo
// output has DirectSound's level difference between the two sides (other speaker layouts
// and HRTF pan by their own laws, so there it is only roughly right).
SourcePosition panToPosition(LONG pan);

// Playback frequency relative to the buffer's own sample rate.
float frequencyToPitch(DWORD frequency, DWORD sampleRate);

} // namespace vintorel::dsound
