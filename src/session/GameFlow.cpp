#include "session/GameFlow.h"

#include <algorithm>

namespace zarn {

int remainingSecondsAt(double gameSeconds) {
    const double elapsed = std::max(0.0, gameSeconds);
    // Clamp before converting so that a huge clock value cannot overflow.
    const int wholeSeconds = int(std::min(elapsed, double(gameDurationSeconds)));
    return std::max(0, gameDurationSeconds - wholeSeconds);
}

std::string formatRemainingTime(int remainingSeconds) {
    const int seconds = remainingSeconds % 60;
    return std::to_string(remainingSeconds / 60) + (seconds < 10 ? ":0" : ":") +
           std::to_string(seconds);
}

GameState decideGameState(int solvedCount, int remainingSeconds) {
    if (solvedCount == itemsToSolve)
        return GameState::Won;
    if (remainingSeconds > 0)
        return GameState::Running;
    return GameState::TimeUp;
}

} // namespace zarn
