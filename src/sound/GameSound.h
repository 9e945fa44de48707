#pragma once

#include "session/GameEvent.h"
#include "sound/SoundBuffer.h"
#include "sound/SoundDevice.h"
#include "sound/SoundNames.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include <glm/glm.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zarn {

class GameSession;

// What a game sounds like: each event's sound at the face it happens on, so
// that a face turned away is quieter; the ball's roll, louder and higher the
// faster it rolls; the win, the end and the last ten seconds' ticks around
// the listener. Pause silences everything, and resume brings it back where
// it was. Without an output it does nothing.
class GameSound {
public:
    // Plays into output at volume 0 to 100, with the sounds from folder.
    GameSound(std::optional<SoundDevice> output, int volume,
              const std::string& folder = dataPath(data::sounds));
    ~GameSound();
    GameSound(const GameSound&) = delete;
    GameSound& operator=(const GameSound&) = delete;

    // After a frame: the frame's events, the roll and the pause, heard from
    // an eye at `eye` looking at the cube.
    void update(const GameSession& session, const std::vector<GameEvent>& events,
                const glm::vec3& eye);
    // M: everything silent, or back at the volume.
    void toggleMute();
    bool muted() const { return mute; }
    SoundDevice* device() { return output ? &*output : nullptr; }

private:
    void play(Sound sound, const glm::vec3& at, bool aroundListener = false);
    void pauseAll(bool paused);

    std::optional<SoundDevice> output; // first in, last out: the sources need it
    std::array<SoundBuffer, soundCount> buffers;
    std::array<ALuint, 16> voices{};
    std::size_t nextVoice = 0;
    ALuint roll = 0;
    std::vector<ALuint> held; // what the pause stopped
    bool wasPaused = false;
    bool mute = false;
    float gain;
};

} // namespace zarn
