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
        FigureBoarded,   // detail: the figure (bear 0, rabbit 1, carrot 2)
        FigureLanded,    // detail: the figure, off the boat onto a bank
        CrossingStarted, // the boat crossed
        CrossingFailed,  // message: who ate whom; everyone went home
        CellChanged,     // detail: the flow cell, 5 * row + column
        BallReset,       // the ball went back to its platform
        BallInGoal,
        PuzzleSolved,  // detail: the Puzzle
        ButtonPressed, // detail: 1 when the press counted, 0 when not
        PanelPieceOut, // detail: the piece that started sliding out
        Won,
        TimeUp,
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
