#include "puzzles/RiverCrossing.h"

#include <glm/gtc/matrix_transform.hpp>

namespace zarn {

namespace {

constexpr float halfPi = 1.5707964f;
const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 zAxis(0.0f, 0.0f, 1.0f);

// Bear and rabbit are authored Z up, the carrot Y up; all three end up
// standing out of the face (towards -x), looking along the river.
glm::mat4 baseMatrix(int figure) {
    const glm::mat4 upright = glm::rotate(glm::mat4(1.0f), halfPi, zAxis);
    switch (figure) {
    case RiverCrossing::bear:
        return glm::scale(glm::rotate(upright, -halfPi, xAxis), glm::vec3(0.12f));
    case RiverCrossing::rabbit:
        return glm::scale(glm::rotate(upright, -halfPi, xAxis), glm::vec3(0.07f));
    default:
        return glm::scale(upright, glm::vec3(0.1f));
    }
}

} // namespace

RiverCrossing::Move RiverCrossing::play(int row, int column, bool busy) {
    if (solved || row < 0 || row > 2)
        return Move::None;
    switch (column) {
    case 0:
        return boatAtStart && !boatLoaded ? board(row, busy) : Move::None;
    case 2:
        return !boatAtStart && !boatLoaded ? board(row, busy) : Move::None;
    case 1:
        if (row == 1)
            return cross(busy);
        // Row 0 is the boat at the start bank, row 2 the boat at the far bank.
        return (row == 0) == boatAtStart ? unload(busy) : Move::None;
    default:
        return Move::None;
    }
}

RiverCrossing::Move RiverCrossing::board(int figure, bool busy) {
    if (boatLoaded || busy || !onBank(figure, boatAtStart ? startBank : farBank))
        return Move::None;
    boatLoaded = true;
    passenger = figure;
    Figure& boarding = figures[std::size_t(figure)];
    boarding.lane = 0;
    boarding.place = boatAtStart ? boatAtStartBank : boatAtFarBank;
    return Move::Board;
}

RiverCrossing::Move RiverCrossing::unload(bool busy) {
    Move move = Move::None;
    if (boatLoaded && !busy) {
        boatLoaded = false;
        Figure& leaving = figures[std::size_t(passenger)];
        leaving.lane = leaving.homeLane;
        leaving.place = boatAtStart ? startBank : farBank;
        move = Move::Unload;
    }
    if (onBank(bear, farBank) && onBank(rabbit, farBank) && onBank(carrot, farBank))
        solved = true;
    return move;
}

RiverCrossing::Move RiverCrossing::cross(bool busy) {
    if (busy)
        return Move::None;
    if (boatLoaded)
        figures[std::size_t(passenger)].place = boatAtStart ? boatAtFarBank : boatAtStartBank;
    boatAtStart = !boatAtStart;
    message.clear();
    for (int bank : {farBank, startBank}) {
        std::string failure = bankCheck(bank);
        if (!failure.empty())
            message = std::move(failure);
    }
    if (!message.empty()) {
        reset();
        messageSeconds = messageDuration;
    }
    return Move::Cross;
}

std::string RiverCrossing::bankCheck(int bank) const {
    if (onBank(bear, bank) && onBank(rabbit, bank) && !onBank(carrot, bank))
        return "The bear ate the rabbit!";
    if (onBank(rabbit, bank) && onBank(carrot, bank) && !onBank(bear, bank))
        return "The rabbit ate the carrot!";
    return {};
}

void RiverCrossing::reset() {
    for (Figure& figure : figures) {
        figure.lane = figure.homeLane;
        figure.place = startBank;
    }
    boatAtStart = true;
    boatLoaded = false;
}

void RiverCrossing::update(float deltaSeconds) {
    if (messageSeconds > 0.0f)
        messageSeconds -= deltaSeconds;
}

glm::mat4 RiverCrossing::placement(int figure) const {
    const Figure& f = figures[std::size_t(figure)];
    const glm::vec3 position(-1.85f, float(f.lane) / 1.5f, float(f.place) / 10.0f);
    return glm::translate(glm::mat4(1.0f), position) * baseMatrix(figure);
}

glm::mat4 RiverCrossing::boatPlacement() const {
    const glm::vec3 position(-1.8f, 0.0f, boatAtStart ? -0.3f : 0.3f);
    const glm::mat4 moored = glm::translate(glm::mat4(1.0f), position);
    return glm::rotate(glm::rotate(moored, halfPi, xAxis), halfPi, zAxis);
}

} // namespace zarn
