#include "sound/SoundBuffer.h"

#include <sndfile.h>

#include <iostream>
#include <utility>
#include <vector>

namespace zarn {

namespace {

// A sound longer than this is not one of the game's.
constexpr sf_count_t longestFrames = 44100 * 10;

// Whether libsndfile found the file shorter than its header says: it then
// reads what is there, and its log says what the sizes should be.
bool truncated(SNDFILE* file) {
    std::string log(4096, '\0');
    sf_command(file, SFC_GET_LOG_INFO, log.data(), int(log.size()));
    return log.find("should be") != std::string::npos;
}

// The file's samples, or none when it is not a whole, short, mono sound.
std::vector<short> readSamples(const std::string& path, int& rate) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return {};
    std::vector<short> samples;
    if (info.channels == 1 && info.frames > 0 && info.frames <= longestFrames &&
        info.samplerate > 0 && !truncated(file)) {
        samples.resize(std::size_t(info.frames));
        if (sf_readf_short(file, samples.data(), info.frames) != info.frames ||
            sf_error(file) != SF_ERR_NO_ERROR)
            samples.clear();
        rate = info.samplerate;
    }
    sf_close(file);
    return samples;
}

} // namespace

SoundBuffer::SoundBuffer(const std::string& path) {
    int rate = 0;
    const std::vector<short> samples = readSamples(path, rate);
    if (samples.empty()) {
        std::cout << "Sound file '" << path << "' cannot be read; that sound stays silent."
                  << std::endl;
        return;
    }
    alGenBuffers(1, &buffer);
    alBufferData(buffer, AL_FORMAT_MONO16, samples.data(), ALsizei(samples.size() * sizeof(short)),
                 rate);
}

SoundBuffer::SoundBuffer(SoundBuffer&& other) noexcept : buffer(std::exchange(other.buffer, 0)) {}

SoundBuffer& SoundBuffer::operator=(SoundBuffer&& other) noexcept {
    if (this != &other) {
        if (buffer)
            alDeleteBuffers(1, &buffer);
        buffer = std::exchange(other.buffer, 0);
    }
    return *this;
}

SoundBuffer::~SoundBuffer() {
    if (buffer)
        alDeleteBuffers(1, &buffer);
}

} // namespace zarn
