#pragma once

#include "session/GameEvent.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zarn {

// A won game's times on the game clock: the win, and each puzzle's solve.
struct GameTimes {
    double total = 0.0;
    std::array<double, 4> solvedAt{}; // by Puzzle
};

// Best times kept on disk. It listens to a game's events, and when the game
// is won it records the times and tells the player how they compare with
// the best; a game won with hints is told its time and its hints only. The file is written to a
// temporary file beside it, flushed, and renamed over the old one, so a crash leaves the old or the
// new file. A file that cannot be read is never overwritten: it is kept as "<file>.bad" and a new
// one starts. Each trouble is reported once; the game plays on.
class RecordBook {
public:
    explicit RecordBook(std::filesystem::path file);

    // Follows a game's events; a win records it.
    void observe(const std::vector<GameEvent>& events);
    // A new game: its times start over and the last win's line goes.
    void newGame();

    // "Your time 2:41 - best 2:13", "New best time!" or "Your time 2:41 with
    // 3 hints - best 2:13" after a win, else empty.
    const std::string& winLine() const { return line; }
    std::optional<GameTimes> best() const { return bestGame; }
    int wins() const { return winCount; }

private:
    void recordWin(double total);
    void save();

    std::filesystem::path file;
    std::optional<GameTimes> bestGame;
    std::optional<GameTimes> lastGame;
    int winCount = 0;
    GameTimes current;
    int hints = 0; // in the current game
    std::string line;
    bool saveFailed = false;
};

// Where the records live: $XDG_DATA_HOME/zarn/records.ini, or
// ~/.local/share/zarn/records.ini when the variable is unset or empty.
std::filesystem::path recordsPath();

} // namespace zarn
