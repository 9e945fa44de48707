#pragma once

#include <AL/alc.h>

#include <optional>
#include <vector>

namespace zarn {

// An OpenAL output and its one context, current while it lives. Move-only.
class SoundDevice {
public:
    // The system's default output, or none when there is no audio device.
    // OpenAL's own complaints about a missing device stay off the terminal.
    static std::optional<SoundDevice> openDefault();
    // An output that mixes into memory instead of a device (ALC_SOFT_loopback):
    // stereo floats, `rate` frames a second.
    static std::optional<SoundDevice> openLoopback(int rate);

    SoundDevice(SoundDevice&& other) noexcept;
    SoundDevice& operator=(SoundDevice&& other) noexcept;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;
    ~SoundDevice();

    // A loopback output's next frames of the mix, left and right interleaved.
    std::vector<float> render(int frames);

private:
    SoundDevice(ALCdevice* device, ALCcontext* context) : device(device), context(context) {}
    // The device with a current context of these attributes, or none (and
    // the device closed).
    static std::optional<SoundDevice> withContext(ALCdevice* device, const ALCint* attributes);
    void release();

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
};

} // namespace zarn
