#pragma once

#include <string>
#include <utility>

namespace zarn {

// The four puzzles, in the order their panel pieces follow the lock (piece
// number = puzzle + 2).
enum class Puzzle { Tiles, Ball, River, Flow };

// Something that happened in a game that a player could see, hear or count.
// A game reports them in the order they happened.
struct GameEvent {
    enum class Kind {
        TileMoved,       // detail: the tile
        TileBlocked,     // detail: the slot clicked, whose tile cannot move
        FigureBoarded,   // detail: the figure (bear 0, rabbit 1, carrot 2)
        FigureLanded,    // detail: the figure, off the boat onto a bank
        CrossingStarted, // the boat crossed
        CrossingFailed,  // message: who ate whom; everyone went home
        CellChanged,     // detail: the flow cell, 5 * row + column
        PairJoined,      // detail: the colour whose two ends a path now joins
        BallReset,       // detail: 1 when it fell into a trap or off the board, 0 on request
        BallHitWall,     // detail: the change of its speed, in hundredths of a unit a second
        BallInGoal,
        PuzzleSolved,  // detail: the Puzzle
        ButtonPressed, // detail: 1 when the press counted, 0 when not
        ButtonReleased,
        PanelPieceOut, // detail: the piece that started sliding out
        Won,
        TimeUp,
        Tick, // detail: the seconds left, in each of the last ten
        Paused,
        Resumed,
        HintShown, // detail: the Face
    };

    GameEvent(Kind kind, int detail = 0, std::string message = {})
        : kind(kind), detail(detail), message(std::move(message)) {}

    Kind kind;
    int detail;
    std::string message;
    double seconds = 0.0; // the game clock when it happened

    // The same event, whenever it happened.
    bool operator==(const GameEvent& other) const {
        return kind == other.kind && detail == other.detail && message == other.message;
    }
};

} // namespace zarn
