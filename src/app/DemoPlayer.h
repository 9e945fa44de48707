#pragma once

#include "puzzles/BallSteering.h"

#include <glm/glm.hpp>

namespace zarn {

class Application;

// Plays a game to the win as a player would, through the game's own input
// callbacks: a right-drag turns the camera to each face, left clicks land
// where the camera shows what the solvers name, arrow keys roll the ball as
// BallSteering sees it, and a click presses the button. It keeps to half a
// second between clicks, on the game clock, so a person can follow, and
// ends turned to the open lock.
class DemoPlayer {
public:
    // This frame's input: call it where the frame polls for events.
    void play(Application& app);
    // Where the demo's cursor is, window pixels from the top left.
    glm::dvec2 cursor() const { return at; }
    // Whether the input callbacks are running for the demo just now.
    bool sending() const { return inside; }

private:
    enum class Stage { Tiles, River, Flow, Maze, Button, Panel, Done };

    // Turns the camera towards (yaw, pitch) with a drag; true once it looks so.
    bool turnTo(Application& app, float yaw, float pitch);
    void dragOn(Application& app);
    // Presses the left button over a world point; the release follows next frame.
    void clickAt(Application& app, const glm::vec3& point);
    void steerBall(Application& app);

    void moveTo(Application& app, glm::dvec2 pixel);
    void button(Application& app, int button, int action);
    void key(Application& app, int key);

    Stage stage = Stage::Tiles;
    glm::dvec2 at{0.0};
    bool inside = false;
    bool leftDown = false;
    // The drag under way: from, by how far, since when; released once it is done.
    bool dragging = false;
    bool dragDone = false;
    glm::dvec2 dragFrom{0.0};
    glm::dvec2 dragBy{0.0};
    double dragStart = 0.0;
    double nextClick = 0.0;
    int lastFlowCell = -1;
    bool ballStarted = false;
    double lastLook = -1.0;
    BallSteering steering;
};

} // namespace zarn
