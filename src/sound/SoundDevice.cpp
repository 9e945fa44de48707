#include "sound/SoundDevice.h"

#include <AL/alext.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace zarn {

namespace {

// Runs open with standard error sent to /dev/null: the audio libraries
// under OpenAL print their own lines when there is no sound card.
ALCdevice* quietly(ALCdevice* (*openDevice)()) {
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    if (saved >= 0 && null >= 0)
        dup2(null, STDERR_FILENO);
    ALCdevice* device = openDevice();
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    if (null >= 0)
        close(null);
    return device;
}

} // namespace

std::optional<SoundDevice> SoundDevice::openDefault() {
    setenv("ALSOFT_LOGLEVEL", "0", 0); // unless the player asks for OpenAL's log
    return withContext(quietly([] { return alcOpenDevice(nullptr); }), nullptr);
}

std::optional<SoundDevice> SoundDevice::openLoopback(int rate) {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return std::nullopt;
    const auto openLoopbackDevice = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 rate,
                                 0};
    return withContext(openLoopbackDevice(nullptr), attributes);
}

std::optional<SoundDevice> SoundDevice::withContext(ALCdevice* device, const ALCint* attributes) {
    if (!device)
        return std::nullopt;
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return std::nullopt;
    }
    return SoundDevice(device, context);
}

SoundDevice::SoundDevice(SoundDevice&& other) noexcept
    : device(std::exchange(other.device, nullptr)), context(std::exchange(other.context, nullptr)) {
}

SoundDevice& SoundDevice::operator=(SoundDevice&& other) noexcept {
    if (this != &other) {
        release();
        device = std::exchange(other.device, nullptr);
        context = std::exchange(other.context, nullptr);
    }
    return *this;
}

SoundDevice::~SoundDevice() {
    release();
}

void SoundDevice::release() {
    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device)
        alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
}

std::vector<float> SoundDevice::render(int frames) {
    std::vector<float> mix(std::size_t(frames) * 2, 0.0f);
    const auto renderSamples =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(device, "alcRenderSamplesSOFT"));
    if (renderSamples && frames > 0)
        renderSamples(device, mix.data(), frames);
    return mix;
}

} // namespace zarn
