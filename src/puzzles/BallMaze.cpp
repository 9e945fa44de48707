#include "puzzles/BallMaze.h"

#include <glm/gtc/matrix_transform.hpp>

namespace zarn::BallMaze {

namespace {

// A ramp block is a square prism of side L = sqrt(0.3125) turned by
// theta = atan(2), so its upper face rises 0.25 over two cells.
constexpr float rampSide = 0.5590170f;
constexpr float rampAngle = 1.1071487f;

float centreHeight(int cell) {
    switch (cell) {
    case Pit:
        return 1.55f;
    case Raised:
        return 1.75f;
    case Wall:
        return 1.8125f;
    default:
        return 1.625f;
    }
}

} // namespace

glm::vec3 cellCentre(int row, int column) {
    return {float(column - 6) * 0.25f + 0.125f,
            centreHeight(map[std::size_t(row)][std::size_t(column)]),
            float(row - 6) * 0.25f + 0.125f};
}

glm::vec3 drawnSize(int cell) {
    switch (cell) {
    case Pit:
        return {0.24f, 0.1f, 0.24f};
    case Floor:
        return {0.25f, 0.25f, 0.25f};
    case Raised:
        return {0.25f, 0.5f, 0.25f};
    case Wall:
        return {0.25f, 0.625f, 0.25f};
    case RampUpToMinusZ:
    case RampUpToPlusZ:
        return {0.25f, rampSide, rampSide};
    default:
        return {rampSide, rampSide, 0.25f};
    }
}

glm::vec3 colliderSize(int cell) {
    return cell == Wall ? glm::vec3(0.25f, 1.0f, 0.25f) : drawnSize(cell);
}

glm::mat4 cellMatrix(int row, int column) {
    const glm::mat4 at = glm::translate(glm::mat4(1.0f), cellCentre(row, column));
    switch (map[std::size_t(row)][std::size_t(column)]) {
    case RampUpToMinusZ:
        return glm::rotate(at, -rampAngle, glm::vec3(1.0f, 0.0f, 0.0f));
    case RampUpToPlusZ:
        return glm::rotate(at, rampAngle, glm::vec3(1.0f, 0.0f, 0.0f));
    case RampUpToMinusX:
        return glm::rotate(at, rampAngle, glm::vec3(0.0f, 0.0f, 1.0f));
    case RampUpToPlusX:
        return glm::rotate(at, -rampAngle, glm::vec3(0.0f, 0.0f, 1.0f));
    default:
        return at;
    }
}

BallState ballState(const glm::vec3& centre) {
    if (centre.y <= dropHeight)
        return centre.x > 1.0f && centre.x < 1.25f && centre.z > 1.0f && centre.z < 1.25f
                   ? BallState::InGoal
                   : BallState::Fallen;
    return BallState::Rolling;
}

std::optional<glm::vec3> push(Arrow arrow, const glm::vec3& cameraPosition) {
    const glm::vec2 horizontal(cameraPosition.x, cameraPosition.z);
    if (glm::length(horizontal) < 1e-4f)
        return std::nullopt;
    const glm::vec2 d = glm::normalize(horizontal);
    const glm::vec3 towardsViewer(d.x, 0.0f, d.y);
    const glm::vec3 right(d.y, 0.0f, -d.x); // towardsViewer turned by +90 degrees about +y
    switch (arrow) {
    case Arrow::Right:
        return 0.5f * right;
    case Arrow::Left:
        return -0.5f * right;
    case Arrow::Down:
        return 0.5f * towardsViewer;
    case Arrow::Up:
        return -0.5f * towardsViewer;
    }
    return std::nullopt;
}

std::optional<std::pair<Arrow, float>> arrowAlong(const glm::vec2& direction,
                                                  const glm::vec3& cameraPosition) {
    const glm::vec3 wanted = glm::normalize(glm::vec3(direction.x, 0.0f, direction.y));
    std::optional<std::pair<Arrow, float>> best;
    for (const Arrow arrow : {Arrow::Right, Arrow::Left, Arrow::Down, Arrow::Up})
        if (const auto force = push(arrow, cameraPosition))
            if (const float cosine = glm::dot(glm::normalize(*force), wanted);
                !best || cosine > best->second)
                best = {arrow, cosine};
    return best;
}

} // namespace zarn::BallMaze
