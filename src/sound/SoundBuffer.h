#pragma once

#include <AL/al.h>

#include <string>

namespace zarn {

// One sound's samples in an OpenAL buffer, read from a mono sound file with
// libsndfile. Move-only; needs a current context.
class SoundBuffer {
public:
    SoundBuffer() = default;
    // The file's sound; a file that cannot be read gives an empty buffer and
    // one line naming it.
    explicit SoundBuffer(const std::string& path);
    SoundBuffer(SoundBuffer&& other) noexcept;
    SoundBuffer& operator=(SoundBuffer&& other) noexcept;
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;
    ~SoundBuffer();

    // 0 when there is no sound.
    ALuint id() const { return buffer; }

private:
    ALuint buffer = 0;
};

} // namespace zarn
