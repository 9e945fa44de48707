#include "app/DemoPlayer.h"

#include "app/Application.h"
#include "app/InputCallbacks.h"
#include "puzzles/BallGame.h"
#include "puzzles/CubeBottom.h"
#include "puzzles/FlowBoard.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/RiverCrossingGame.h"
#include "puzzles/Solvers.h"
#include "session/GameSession.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>

namespace zarn {

namespace {

constexpr double clickPause = 0.5;         // between clicks, as a person can follow
constexpr double dragSeconds = 0.6;        // one turn of the camera
constexpr double lookSeconds = 1.0 / 60.0; // the ball is looked at once a physics step
constexpr float quarterTurn = 1.5707964f;
const glm::vec3 buttonCentre(0.0f, -1.875f, 0.0f);

} // namespace

void DemoPlayer::moveTo(Application& app, glm::dvec2 pixel) {
    at = pixel;
    inside = true;
    onCursorPosition(app.window(), at.x, at.y);
    inside = false;
}

void DemoPlayer::button(Application& app, int which, int action) {
    inside = true;
    onMouseButton(app.window(), which, action, 0);
    inside = false;
}

void DemoPlayer::key(Application& app, int which) {
    inside = true;
    onKey(app.window(), which, 0, GLFW_PRESS, 0);
    onKey(app.window(), which, 0, GLFW_RELEASE, 0);
    inside = false;
}

void DemoPlayer::play(Application& app) {
    // A press in one frame, its release in the next: the frame loop sees
    // a click only between two frames.
    if (leftDown) {
        button(app, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
        leftDown = false;
        return;
    }
    const GameSession& session = app.session();
    if (dragging) {
        dragOn(app);
        return;
    }
    if (session.paused() || (session.state() != GameState::Running && stage != Stage::Panel))
        return;
    const double now = session.seconds();
    switch (stage) {
    case Stage::Tiles:
        if (session.tiles().solved())
            stage = Stage::River;
        else if (turnTo(app, 0.0f, 0.0f) && !session.tiles().busy() && now >= nextClick) {
            const TileSlot slot = shortestTileSolution(session.tiles().grid().tiles).front();
            clickAt(app, MovingTiles::slotPosition(slot));
        }
        break;
    case Stage::River:
        if (session.river().solved())
            stage = Stage::Flow;
        else if (turnTo(app, quarterTurn, 0.0f) && !session.river().busy() && now >= nextClick)
            if (const auto click = nextRiverClick(session.river().rules()))
                clickAt(app, RiverCrossingGame::target(click->row, click->column).centre);
        break;
    case Stage::Flow:
        if (session.flow().solved)
            stage = Stage::Maze;
        else if (turnTo(app, -quarterTurn, 0.0f) && now >= nextClick)
            if (const auto cell = nextFlowCell(session.flow())) {
                clickAt(app, flowCellCentre(cell->cell));
                // The same cell again is a quicker click.
                if (cell->cell == lastFlowCell)
                    nextClick = now + clickPause * 0.5;
                lastFlowCell = cell->cell;
            }
        break;
    case Stage::Maze:
        if (session.ball().solved())
            stage = Stage::Button;
        else if (turnTo(app, 0.0f, 1.2f))
            steerBall(app);
        break;
    case Stage::Button:
        if (turnTo(app, 0.0f, -1.5f) && now >= nextClick) {
            clickAt(app, buttonCentre);
            stage = Stage::Panel;
        }
        break;
    case Stage::Panel:
        if (now >= nextClick && turnTo(app, 2.0f * quarterTurn, 0.35f))
            stage = Stage::Done;
        break;
    case Stage::Done:
        break;
    }
}

bool DemoPlayer::turnTo(Application& app, float yaw, float pitch) {
    const Camera& camera = app.camera();
    const glm::dvec2 by(std::round((yaw - camera.yaw) / cameraRadiansPerPixel),
                        std::round((pitch - camera.pitch) / cameraRadiansPerPixel));
    if (by == glm::dvec2(0.0))
        return true;
    // The cursor goes to the middle of the window and the right button
    // down there, in the same frame: the drag starts where it is pressed.
    dragFrom = glm::dvec2(app.windowSize()) * 0.5;
    dragBy = by;
    dragStart = app.session().seconds();
    dragging = true;
    dragDone = false;
    moveTo(app, dragFrom);
    button(app, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    return false;
}

void DemoPlayer::dragOn(Application& app) {
    // The last move is seen by a frame while the button is still down; the
    // release comes a frame later.
    if (dragDone) {
        button(app, GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
        dragging = false;
        nextClick = app.session().seconds() + clickPause;
        return;
    }
    const double t = std::min(1.0, (app.session().seconds() - dragStart) / dragSeconds);
    // Eased in and out, as a hand moves.
    moveTo(app, dragFrom + dragBy * (t * t * (3.0 - 2.0 * t)));
    dragDone = t >= 1.0;
}

void DemoPlayer::clickAt(Application& app, const glm::vec3& point) {
    const glm::vec4 clip = app.camera().viewProjection() * glm::vec4(point, 1.0f);
    const glm::dvec2 size(app.windowSize());
    moveTo(app, {(clip.x / clip.w * 0.5 + 0.5) * size.x, (0.5 - clip.y / clip.w * 0.5) * size.y});
    button(app, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    leftDown = true;
    nextClick = app.session().seconds() + clickPause;
}

void DemoPlayer::steerBall(Application& app) {
    const GameSession& session = app.session();
    const double now = session.seconds();
    // The steering's route begins on the platform: a ball elsewhere goes back first.
    if (!ballStarted) {
        ballStarted = true;
        if (glm::distance(session.ball().centre(), BallMaze::start) > 0.3f)
            key(app, GLFW_KEY_BACKSPACE);
        lastLook = now;
        return;
    }
    if (now - lastLook < lookSeconds - 1e-6)
        return;
    const float seconds = float(now - lastLook);
    lastLook = now;
    for (const BallMaze::Arrow arrow :
         steering.keys(session.ball().centre(), seconds, app.input().cameraPosition))
        key(app, keyOf(arrow));
}

} // namespace zarn
