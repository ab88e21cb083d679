// Opening and closing OpenAL Soft's default output for a DirectSound device object.
// Does not pick a device itself and does not restore a previously current context.
#include "dsound/al_output.h"

#include <AL/al.h>

namespace vintorel::dsound {

std::unique_ptr<AlOutput> AlOutput::openDefault() {
    ALCdevice *device = alcOpenDevice(nullptr);
    if (!device)
        return nullptr;
    ALCcontext *context = alcCreateContext(device, nullptr);
    if (!context) {
        alcCloseDevice(device);
        return nullptr;
    }
    return std::unique_ptr<AlOutput>(new AlOutput(device, context));
}

AlOutput::AlOutput(ALCdevice *device, ALCcontext *context) : device_(device), context_(context) {
    ALCint frequency = 0;
    ALCint refresh = 0;
    alcGetIntegerv(device_, ALC_FREQUENCY, 1, &frequency);
    alcGetIntegerv(device_, ALC_REFRESH, 1, &refresh);
    if (frequency > 0)
        mixFrequency_ = frequency;
    if (refresh > 0)
        updateFrames_ = (mixFrequency_ + refresh - 1) / refresh;
}

AlOutput::~AlOutput() {
    if (alcGetCurrentContext() == context_)
        alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

void AlOutput::makeCurrent() const {
    if (alcGetCurrentContext() != context_)
        alcMakeContextCurrent(context_);
}

bool AlOutput::hasExtension(const char *name) const {
    makeCurrent();
    return alIsExtensionPresent(name) == AL_TRUE;
}

} // namespace vintorel::dsound
