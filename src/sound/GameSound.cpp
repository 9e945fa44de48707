#include "sound/GameSound.h"

#include "puzzles/BallGame.h"
#include "session/GameSession.h"

#include <algorithm>

namespace zarn {

namespace {

// Where each face's sounds come from, just off the cube's faces.
const glm::vec3 tilesFace(0.0f, 0.0f, 1.6f), flowFace(1.6f, 0.0f, 0.0f),
    riverFace(-1.6f, 0.0f, 0.0f), buttonFace(0.0f, -1.6f, 0.0f), panelFace(0.0f, 0.0f, -1.6f);

// Nearer than the eye's starting distance less the cube's half, a sound is
// as loud as it gets; the far side is well under half as loud.
constexpr float referenceDistance = 4.5f;
constexpr float rolloff = 2.0f;

} // namespace

GameSound::GameSound(std::optional<SoundDevice> device, int volume, const std::string& folder)
    : output(std::move(device)), gain(float(std::clamp(volume, 0, 100)) / 100.0f) {
    if (!output)
        return;
    for (std::size_t k = 0; k < soundCount; ++k)
        buffers[k] = SoundBuffer(folder + "/" + std::string(soundNames[k]) + ".wav");
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alGenSources(ALsizei(voices.size()), voices.data());
    alGenSources(1, &roll);
    for (const ALuint source : voices) {
        alSourcef(source, AL_REFERENCE_DISTANCE, referenceDistance);
        alSourcef(source, AL_ROLLOFF_FACTOR, rolloff);
    }
    alSourcef(roll, AL_REFERENCE_DISTANCE, referenceDistance);
    alSourcef(roll, AL_ROLLOFF_FACTOR, rolloff);
    alSourcei(roll, AL_LOOPING, AL_TRUE);
    alSourcef(roll, AL_GAIN, 0.0f);
    alSourcei(roll, AL_BUFFER, ALint(buffers[std::size_t(Sound::BallRoll)].id()));
    alListenerf(AL_GAIN, gain);
}

GameSound::~GameSound() {
    if (!output)
        return;
    alDeleteSources(ALsizei(voices.size()), voices.data());
    alDeleteSources(1, &roll);
    for (SoundBuffer& buffer : buffers)
        buffer = SoundBuffer();
}

void GameSound::toggleMute() {
    mute = !mute;
    if (output)
        alListenerf(AL_GAIN, mute ? 0.0f : gain);
}

void GameSound::play(Sound sound, const glm::vec3& at, bool aroundListener) {
    const ALuint buffer = buffers[std::size_t(sound)].id();
    if (!buffer)
        return;
    // The oldest voice makes way when all sixteen are busy.
    const ALuint source = voices[nextVoice];
    nextVoice = (nextVoice + 1) % voices.size();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, ALint(buffer));
    alSourcei(source, AL_SOURCE_RELATIVE, aroundListener ? AL_TRUE : AL_FALSE);
    const glm::vec3 position = aroundListener ? glm::vec3(0.0f) : at;
    alSource3f(source, AL_POSITION, position.x, position.y, position.z);
    alSourcePlay(source);
}

void GameSound::pauseAll(bool paused) {
    if (paused) {
        held.clear();
        for (const ALuint source : voices) {
            ALint state = 0;
            alGetSourcei(source, AL_SOURCE_STATE, &state);
            if (state == AL_PLAYING) {
                alSourcePause(source);
                held.push_back(source);
            }
        }
        alSourcePause(roll);
    } else {
        for (const ALuint source : held)
            alSourcePlay(source);
        held.clear();
    }
}

void GameSound::update(const GameSession& session, const std::vector<GameEvent>& events,
                       const glm::vec3& eye) {
    if (!output)
        return;
    const glm::vec3 ahead = -glm::normalize(eye);
    const float orientation[] = {ahead.x, ahead.y, ahead.z, 0.0f, 1.0f, 0.0f};
    alListener3f(AL_POSITION, eye.x, eye.y, eye.z);
    alListenerfv(AL_ORIENTATION, orientation);

    const glm::vec3 ball = session.ball().centre();
    const glm::vec3 puzzleFaces[] = {tilesFace, ball, riverFace, flowFace}; // by Puzzle
    using Kind = GameEvent::Kind;
    for (const GameEvent& event : events) {
        switch (event.kind) {
        case Kind::TileMoved:
            play(Sound::TileSlide, tilesFace);
            break;
        case Kind::TileBlocked:
            play(Sound::TileBlocked, tilesFace);
            break;
        case Kind::FigureBoarded:
            play(Sound::FigureBoard, riverFace);
            break;
        case Kind::FigureLanded:
            play(Sound::FigureLand, riverFace);
            break;
        case Kind::CrossingStarted:
            play(Sound::BoatCross, riverFace);
            break;
        case Kind::CrossingFailed:
            play(Sound::CrossingFailed, riverFace);
            break;
        case Kind::CellChanged:
            play(Sound::CellChange, flowFace);
            break;
        case Kind::PairJoined:
            play(Sound::PairJoined, flowFace);
            break;
        case Kind::BallReset:
            if (event.detail == 1)
                play(Sound::BallTrap, ball);
            break;
        case Kind::BallHitWall:
            play(Sound::BallHit, ball);
            break;
        case Kind::BallInGoal:
            play(Sound::BallGoal, ball);
            break;
        case Kind::PuzzleSolved:
            if (event.detail >= 0 && event.detail < 4)
                play(Sound::PuzzleSolved, puzzleFaces[event.detail]);
            break;
        case Kind::ButtonPressed:
            play(Sound::ButtonPress, buttonFace);
            break;
        case Kind::ButtonReleased:
            play(Sound::ButtonRelease, buttonFace);
            break;
        case Kind::PanelPieceOut:
            play(Sound::PanelSlide, panelFace);
            break;
        case Kind::Won:
            play(Sound::Win, {}, true);
            break;
        case Kind::TimeUp:
            play(Sound::TimeUp, {}, true);
            break;
        case Kind::Tick:
            play(Sound::Tick, {}, true);
            break;
        case Kind::Paused:
        case Kind::Resumed:
        case Kind::HintShown:
            break;
        }
    }

    const bool paused = session.paused();
    if (paused != wasPaused)
        pauseAll(paused);
    wasPaused = paused;
    if (paused)
        return;
    // The roll follows the ball's speed on the board; at rest, in the air
    // (falling faster than a ramp's slope lets it), home or after the game it
    // is silent.
    const glm::vec3 velocity = session.ball().velocity();
    const float speed = glm::length(glm::vec2(velocity.x, velocity.z));
    const bool rolling = session.state() == GameState::Running && !session.ball().solved() &&
                         speed > 0.05f && std::abs(velocity.y) < 0.6f * speed + 0.3f;
    alSource3f(roll, AL_POSITION, ball.x, ball.y, ball.z);
    alSourcef(roll, AL_GAIN, rolling ? std::min(speed / 3.0f, 1.0f) : 0.0f);
    alSourcef(roll, AL_PITCH, 0.7f + 0.25f * std::min(speed, 2.4f));
    ALint state = 0;
    alGetSourcei(roll, AL_SOURCE_STATE, &state);
    if (rolling && state != AL_PLAYING && roll && buffers[std::size_t(Sound::BallRoll)].id())
        alSourcePlay(roll);
}

} // namespace zarn
