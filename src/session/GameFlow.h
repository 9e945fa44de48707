#pragma once

#include <string>

namespace zarn {

// The whole game must be done within this many seconds of start-up.
inline constexpr int gameDurationSeconds = 300;
// Items to solve: four puzzles and the red button.
inline constexpr int itemsToSolve = 5;

enum class GameState { Running, Won, TimeUp };

// Countdown for a game clock reading: whole seconds, never negative.
int remainingSecondsAt(double gameSeconds);

// "m:ss", e.g. 300 gives "5:00" and 65 gives "1:05".
std::string formatRemainingTime(int remainingSeconds);

// The state of a running game from its solved count and countdown. Winning
// is tested first, so five solved items win even when the time runs out at
// the same moment.
GameState decideGameState(int solvedCount, int remainingSeconds);

} // namespace zarn
