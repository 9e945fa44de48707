#pragma once

#include "physics/PickRay.h"
#include "puzzles/BallMaze.h"
#include "session/GameEvent.h"
#include "session/GameFlow.h"
#include "session/Hint.h"
#include "session/PickTarget.h"

#include <glm/glm.hpp>

#include <memory>
#include <optional>
#include <vector>

namespace zarn {

class BallGame;
class CubeBottom;
class FlowBoard;
class MovingTiles;
class PentagonPanel;
class PhysicsWorld;
class RiverCrossingGame;

// One game of Zarn: every puzzle's rules and poses, the physics world with
// the ball, one clock that can stop, and the progress that leads to the win
// or to the end of the time. Input arrives as commands; what happens leaves
// as events, in order. The wall clock enters through advance alone.
class GameSession {
public:
    // A new game whose clock reads secondsPlayed at wall time wallSeconds
    // (the first game of a run counts its loading time).
    explicit GameSession(double wallSeconds, double secondsPlayed = 0.0);
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Moves the game to wall time wallSeconds: tweens, walks, the river's
    // message, the ball's goal and falls, the panel, the countdown, the win
    // or time up, and the physics steps due. Nothing moves while paused.
    void advance(double wallSeconds);
    // A left click's pick ray: the one collider it hits first takes it.
    void click(const PickRay& ray);
    // A released arrow key, seen from the camera's position.
    void pushBall(BallMaze::Arrow arrow, const glm::vec3& cameraPosition);
    // The ball back on its platform, as after a fall.
    void ballToStart();
    // Clicks, arrows and the ball's return act only while the game runs and
    // is not paused; pausing acts only while it runs.
    void togglePause();
    void pause();
    // The next good move on the face an eye at `eye` sees most directly, or
    // what is left to do there. Only a move shown on an unsolved puzzle
    // counts as a hint; it changes nothing in the game.
    void showHint(const glm::vec3& eye);
    // A new game at wall time wallSeconds: every puzzle at its start, the
    // countdown full, unpaused. Nothing of the old game stays.
    void playAgain(double wallSeconds);

    // The events since the last call, oldest first.
    std::vector<GameEvent> takeEvents();

    GameState state() const;
    bool paused() const;
    // The game clock, and how far the latest advance moved it.
    double seconds() const;
    float deltaSeconds() const;
    int remainingSeconds() const;
    // Solved puzzles, and the button once it was pressed with all four solved.
    int solvedCount() const;
    bool solved(Puzzle puzzle) const;
    // The hint on show: it goes after hintSeconds, or once its move is made.
    const std::optional<Hint>& hint() const;
    int hintsShown() const;
    // What a pick ray hits first.
    PickTarget pick(const PickRay& ray) const;

    const MovingTiles& tiles() const;
    const RiverCrossingGame& river() const;
    const FlowBoard& flow() const;
    const CubeBottom& button() const;
    const PentagonPanel& panel() const;
    const BallGame& ball() const;
    const PhysicsWorld& physics() const;

private:
    struct Round;

    bool takesMoves() const;
    bool fourSolved() const;
    void emit(GameEvent::Kind kind, int detail = 0, std::string message = {});
    void clickRiver(int row, int column);
    Hint makeHint(Face face, const glm::vec3& eye) const;
    void endHintOn(Face face);
    void updateProgress(float deltaSeconds);
    void stepPhysics();

    std::unique_ptr<Round> round;
    std::vector<GameEvent> events;
};

} // namespace zarn
