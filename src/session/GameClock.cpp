#include "session/GameClock.h"

#include <cmath>

namespace zarn {

namespace {

std::int64_t toMicroseconds(double seconds) {
    return std::llround(seconds * 1e6);
}

} // namespace

GameClock::GameClock(double wallSeconds, double startSeconds)
    : wallMicroseconds(toMicroseconds(wallSeconds)),
      gameMicroseconds(toMicroseconds(startSeconds)) {}

void GameClock::advanceTo(double wallSeconds) {
    const std::int64_t now = toMicroseconds(wallSeconds);
    if (running && now > wallMicroseconds)
        gameMicroseconds += now - wallMicroseconds;
    if (now > wallMicroseconds)
        wallMicroseconds = now;
}

} // namespace zarn
