#pragma once

#include "puzzles/BallMaze.h"

#include <glm/glm.hpp>

namespace zarn {

class PhysicsActor;
class PhysicsWorld;

// The marble maze on the top face as it plays: the ball, the world's one
// moving body, and a collider for every cell. The ball starts on the raised
// corner; arrow keys push it relative to the view. A ball in the goal pit
// solves the maze; one that drops anywhere else goes back to the start.
class BallGame {
public:
    // Adds the ball and the cells' colliders to physics, tagged ballTag and
    // cellTag.
    BallGame(PhysicsWorld& physics, int ballTag, int cellTag);

    // Once a frame: the ball in the goal solves the maze; a ball that fell is
    // put back at the start. Returns where the ball was; once the maze is
    // solved the ball is left alone and counts as rolling.
    BallMaze::BallState check();
    // A released arrow key, seen from cameraPosition.
    void push(BallMaze::Arrow arrow, const glm::vec3& cameraPosition);
    // Puts the ball back on its platform at rest, as a fall does.
    void toStart();

    bool solved() const { return isSolved; }
    // The ball's pose after the latest physics step or reset.
    glm::mat4 pose() const;
    glm::vec3 centre() const { return glm::vec3(pose()[3]); }
    glm::vec3 velocity() const;

private:
    PhysicsWorld& physics;
    PhysicsActor* ball = nullptr;
    bool isSolved = false;
};

} // namespace zarn
