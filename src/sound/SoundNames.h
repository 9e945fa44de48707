#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace zarn {

// Every sound of the game, by what it is heard for.
enum class Sound {
    TileSlide,
    TileBlocked,
    FigureBoard,
    FigureLand,
    BoatCross,
    CrossingFailed,
    CellChange,
    PairJoined,
    BallRoll, // loops while the ball rolls
    BallHit,
    BallTrap,
    BallGoal,
    PuzzleSolved,
    ButtonPress,
    ButtonRelease,
    PanelSlide,
    Win,
    TimeUp,
    Tick,
};

inline constexpr std::size_t soundCount = 19;

// The file of each sound in the sounds folder, "<name>.wav", by Sound; the asset
// generator writes them under the same names.
inline constexpr std::array<std::string_view, soundCount> soundNames = {
    "tile_slide",      "tile_blocked", "figure_board",  "figure_land",  "boat_cross",
    "crossing_failed", "cell_change",  "pair_joined",   "ball_roll",    "ball_hit",
    "ball_trap",       "ball_goal",    "puzzle_solved", "button_press", "button_release",
    "panel_slide",     "win",          "time_up",       "tick",
};

} // namespace zarn
