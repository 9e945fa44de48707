#include "puzzles/BallSteering.h"

#include <algorithm>
#include <cmath>

namespace zarn {

std::vector<BallMaze::Arrow> BallSteering::keys(const glm::vec3& ball, float seconds,
                                                const glm::vec3& cameraPosition) {
    const glm::vec2 here(ball.x, ball.z);
    // Some looks span two physics steps: the median of the last three
    // looks' speeds ignores them.
    const glm::vec2 raw = seen && seconds > 0.0f ? (here - last) / seconds : glm::vec2(0.0f);
    if (seconds > 0.0f)
        lookSeconds = seconds;
    last = here, seen = true;
    recent[0] = recent[1], recent[1] = recent[2], recent[2] = raw;
    for (int axis = 0; axis < 2; ++axis)
        velocity[axis] =
            std::max(std::min(recent[0][axis], recent[1][axis]),
                     std::min(std::max(recent[0][axis], recent[1][axis]), recent[2][axis]));
    camera = cameraPosition;
    // A ball that fell is put back at the start: begin again from there.
    if (seenBefore &&
        glm::distance(here, glm::vec2(BallMaze::start.x, BallMaze::start.z)) < 0.01f &&
        glm::distance(lastSeen, here) > 0.2f) {
        stage = 0, pending = 0, cooldown = 0, stillFrames = 0, steadyFrames = 0;
        ++attempts;
    }
    lastSeen = here, seenBefore = true;
    if (pending > 0) {
        --pending;
        return push(pendingDirection);
    }
    if (cooldown > 0) {
        --cooldown;
        return {};
    }
    return act(here);
}

std::vector<BallMaze::Arrow> BallSteering::pushTimes(glm::vec2 direction, int times) {
    pending = times - 1;
    pendingDirection = direction;
    cooldown = 4; // let the ball roll again before judging it
    return push(direction);
}

std::vector<BallMaze::Arrow> BallSteering::push(glm::vec2 direction) {
    const auto arrow = BallMaze::arrowAlong(direction, camera);
    if (!arrow || arrow->second <= 0.9f)
        return {};
    ++pushes;
    return {arrow->first};
}

bool BallSteering::still() {
    stillFrames = glm::length(velocity) < 0.05f ? stillFrames + 1 : 0;
    return stillFrames >= 3;
}

bool BallSteering::steady() {
    steadyFrames = glm::length(velocity - lastVelocity) < 0.02f ? steadyFrames + 1 : 0;
    lastVelocity = velocity;
    return steadyFrames >= 3;
}

bool BallSteering::brakeAt(const glm::vec2& here, int axis, float at, bool rather,
                           std::vector<BallMaze::Arrow>& keys) {
    const float speed = std::abs(velocity[axis]);
    const float sign = velocity[axis] > 0.0f ? 1.0f : -1.0f;
    const float remaining = (at - here[axis]) * sign;
    const float steps = speed / rollingStep;
    const int brakes = int(rather ? std::ceil(steps + 0.05f) : std::round(steps));
    // A braked ball first slides back, about 0.017 n^2 for n pushes,
    // before its spin stops it: brake that much later.
    if (remaining >
        speed * (1.5f + 0.5f * float(brakes)) * lookSeconds - 0.017f * float(brakes * brakes))
        return false;
    glm::vec2 back(0.0f);
    back[axis] = -sign;
    if (brakes > 0)
        keys = pushTimes(back, brakes);
    return true;
}

std::vector<BallMaze::Arrow> BallSteering::act(const glm::vec2& here) {
    const glm::vec2 east(1, 0), west(-1, 0), south(0, 1), north(0, -1);
    std::vector<BallMaze::Arrow> keys;
    switch (stage) {
    case 0: // resting on the start platform: down the ramp to the south
        if (!still())
            return {};
        ++stage;
        return pushTimes(south, 1);
    case 1: // stop at row 6; what the ramp added is left for the walls
        if (brakeAt(here, 1, BallMaze::cellCentre(6, 1).z, false, keys)) {
            ++stage;
            previous = here;
        }
        return keys;
    case 2: {
        // Rolling steadily again, slowly: turn east as it passes the
        // row's middle, aimed a little early for the drift it keeps. The
        // fading spin may stop it near the middle first: it turns there.
        const bool rolling = steady();
        const float middle = BallMaze::cellCentre(6, 1).z;
        const float aim = middle - velocity.y * 0.15f;
        const bool crossed = (here.y - aim) * (previous.y - aim) <= 0.0f;
        const bool stopped = still() && std::abs(here.y - middle) < 0.08f;
        previous = here;
        if (!stopped && (!rolling || !crossed))
            return {};
        ++stage;
        return pushTimes(east, 1);
    }
    case 3: // along row 6 to the wall at its end
        if (!still())
            return {};
        ++stage;
        return pushTimes(south, 1);
    case 4: // down to the wall of row 9, then over the platform
        if (!still())
            return {};
        ++stage;
        return pushTimes(east, 4);
    case 5: // stop in the east column, next to the board's edge
        if (here.x > 0.9f && brakeAt(here, 0, BallMaze::cellCentre(8, 11).x, false, keys)) {
            ++stage;
            previous = here;
        }
        return keys;
    case 6: {
        // Turn south as the ball passes the column's middle, a little to
        // its east: west of it the wall of row 9 catches the ball.
        const bool rolling = steady();
        const float aim = BallMaze::cellCentre(8, 11).x + 0.005f - velocity.x * 0.15f;
        const bool crossed = (here.x - aim) * (previous.x - aim) <= 0.0f;
        const bool towardsEdge = here.x > aim && velocity.x > 0.02f;
        previous = here;
        if (!towardsEdge && (!rolling || !crossed))
            return {};
        ++stage;
        return pushTimes(south, 1);
    }
    case 7: // down the east column: a drift east is turned west, to the wall or the goal
        if (velocity.x > 0.1f)
            return pushTimes(west, 1);
        // Braked a little too hard at the last row, so it drifts back north.
        if (brakeAt(here, 1, BallMaze::cellCentre(11, 11).z, true, keys))
            ++stage;
        return keys;
    case 8: // west as soon as it rolls again: along the last row to its wall,
            // or, drifting north, over the goal pit
        if (!steady())
            return {};
        ++stage;
        return pushTimes(west, 1);
    default: // against the last row's wall, beside the goal: north into it
        if (!still())
            return {};
        return pushTimes(here.y > BallMaze::cellCentre(10, 10).z + 0.125f ? north : west, 1);
    }
}

} // namespace zarn
