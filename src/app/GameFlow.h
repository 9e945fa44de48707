#pragma once

#include <string>

namespace zarn {

// The whole game must be done within this many seconds of start-up.
inline constexpr int gameDurationSeconds = 300;
// Items to solve: four puzzles and the red button.
inline constexpr int itemsToSolve = 5;

enum class GameState { Running, Won, TimeUp };

// Countdown for a given time since the window system started (loading time
// counts): whole seconds, never negative.
int remainingSecondsAt(double secondsSinceStart);

// "m:ss", e.g. 300 gives "5:00" and 65 gives "1:05".
std::string formatRemainingTime(int remainingSeconds);

// The state of a frame from the previous frame's solved count and the current
// countdown. Winning is tested first, so five solved items win even in the
// frame in which the time runs out.
GameState decideGameState(int previousSolvedCount, int remainingSeconds);

// A click is a left-button press edge between two frames' event polls.
inline bool isClick(bool downLastFrame, bool downNow) {
    return !downLastFrame && downNow;
}

} // namespace zarn
