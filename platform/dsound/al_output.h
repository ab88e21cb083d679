// The OpenAL Soft output behind one DirectSound device object: an ALC device and its context,
// opened and closed together. OpenAL Soft's own configuration (ALSOFT_CONF, ALSOFT_DRIVERS and
// its config files) chooses the backend and device; nothing here overrides that.
// Does not enumerate devices, open capture devices or share a context between objects.
#pragma once

#include <AL/alc.h>

#include <memory>

namespace vintorel::dsound {

class AlOutput {
  public:
    // The default output device with a fresh context, or null when OpenAL has none to give.
    static std::unique_ptr<AlOutput> openDefault();
    ~AlOutput();
    AlOutput(const AlOutput &) = delete;
    AlOutput &operator=(const AlOutput &) = delete;

    // Makes this output's context current; every AL call goes through here first, since
    // several device objects may exist in one process.
    void makeCurrent() const;

    // The mixer's rate and the length of one mixing update, used to place the write cursor.
    int mixFrequency() const { return mixFrequency_; }
    int updateFrames() const { return updateFrames_; }
    bool hasExtension(const char *name) const;

  private:
    AlOutput(ALCdevice *device, ALCcontext *context);

    ALCdevice *device_;
    ALCcontext *context_;
    int mixFrequency_ = 44100;
    int updateFrames_ = 1024;
};

} // namespace vintorel::dsound
