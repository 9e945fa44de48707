#pragma once

#include <cstdint>

namespace zarn {

// The one clock of a game: it follows the wall clock while it runs and stands
// still while it is stopped (paused). Everything that moves with time reads
// it. Whole microseconds, so that a game paused and resumed reads exactly
// what the same game without the pause would.
class GameClock {
public:
    // A clock reading startSeconds at wall time wallSeconds.
    GameClock(double wallSeconds, double startSeconds);

    // Follows the wall clock to wallSeconds: the game's time moves by the
    // same amount unless the clock is stopped. A wall clock that went back
    // moves nothing.
    void advanceTo(double wallSeconds);
    void stop() { running = false; }
    void start() { running = true; }
    bool isRunning() const { return running; }

    std::int64_t microseconds() const { return gameMicroseconds; }
    std::int64_t milliseconds() const { return gameMicroseconds / 1000; }
    double seconds() const { return double(gameMicroseconds) / 1e6; }

private:
    std::int64_t wallMicroseconds;
    std::int64_t gameMicroseconds;
    bool running = true;
};

} // namespace zarn
