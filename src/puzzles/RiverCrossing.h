#pragma once

#include <glm/glm.hpp>

#include <array>
#include <string>

namespace zarn {

// The rules of the river crossing: a bear, a rabbit and a carrot start on one
// bank, a one-seat boat takes them over. Right after a crossing, the bear
// must not be left with the rabbit, nor the rabbit with the carrot, unless
// all three stand together; otherwise everything goes back to the start and a
// message shows for three seconds. Solved once all three stand on the far bank.
//
// "busy" is the caller's tween running: a figure still walks, so the click
// is ignored.
class RiverCrossing {
public:
    // Figure indices, also the rows of the click targets.
    static constexpr int bear = 0;
    static constexpr int rabbit = 1;
    static constexpr int carrot = 2;
    static constexpr int noFigure = -1;

    // Places along the crossing (z x 10 in the scene).
    static constexpr int startBank = -10;
    static constexpr int boatAtStartBank = -3;
    static constexpr int boatAtFarBank = 3;
    static constexpr int farBank = 10;

    static constexpr float messageDuration = 3.0f;

    struct Figure {
        int homeLane = 0; // its lane on either bank: bear 1, rabbit 0, carrot -1
        int place = startBank;
        int lane = 0; // homeLane on a bank, 0 in the boat
    };

    // What a click did, for the scene to show: a figure walks into or out of
    // the boat (it is `passenger`), or the boat crossed and every figure is
    // placed at once (which includes the jump home after a failure).
    enum class Move { None, Board, Unload, Cross };

    // The click target in row (figure: bear, rabbit, carrot) and column
    // (0 start bank, 1 boat at the start bank / arrow / boat at the far
    // bank, 2 far bank). Does nothing once solved.
    Move play(int row, int column, bool busy);

    // The figure walks into the boat, if the boat is empty and moored at the
    // figure's bank.
    Move board(int figure, bool busy);
    // The passenger walks back to its lane on the boat's bank; solved when
    // that puts all three on the far bank.
    Move unload(bool busy);
    // The boat with any passenger goes to the other bank, then the banks are
    // checked (far bank first, so a start-bank failure's message wins).
    Move cross(bool busy);
    // Every figure home on the start bank, the boat empty there. passenger
    // keeps its value.
    void reset();

    // Counts the message's display time down.
    void update(float deltaSeconds);

    // translate(-1.85, lane / 1.5, place / 10) x the figure's orientation and size.
    glm::mat4 placement(int figure) const;
    // The boat moored at the bank it is at.
    glm::mat4 boatPlacement() const;

    std::array<Figure, 3> figures{Figure{1, startBank, 1}, Figure{0, startBank, 0},
                                  Figure{-1, startBank, -1}};
    bool boatAtStart = true;
    bool boatLoaded = false;
    int passenger = noFigure; // the latest figure boarded; kept after unloading
    bool solved = false;
    std::string message; // the latest failure; cleared by the next crossing
    float messageSeconds = 0.0f;

private:
    bool onBank(int figure, int bank) const { return figures[std::size_t(figure)].place == bank; }
    // The failure text for one bank, or an empty string.
    std::string bankCheck(int bank) const;
};

} // namespace zarn
