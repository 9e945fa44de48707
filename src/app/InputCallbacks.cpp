#include "app/InputCallbacks.h"

#include "app/Application.h"
#include "app/DemoPlayer.h"
#include "session/GameSession.h"
#include "sound/GameSound.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace zarn {

namespace {

// The game of the window, with the event counted.
Application* applicationOf(GLFWwindow* window) {
    auto* app = static_cast<Application*>(glfwGetWindowUserPointer(window));
    if (app)
        ++app->input().events;
    return app;
}

// The key of each arrow, by BallMaze::Arrow.
constexpr int arrowKeys[] = {GLFW_KEY_RIGHT, GLFW_KEY_LEFT, GLFW_KEY_DOWN, GLFW_KEY_UP};

std::optional<BallMaze::Arrow> arrowOf(int key) {
    for (int arrow = 0; arrow < 4; ++arrow)
        if (arrowKeys[arrow] == key)
            return BallMaze::Arrow(arrow);
    return std::nullopt;
}

// While the demo plays, a player's key press or click ends it; the
// player's other input does not reach the game. True when the input is the
// player's and the demo takes it.
bool demoTakes(Application& app, int action, int key = -1) {
    const DemoPlayer* demo = app.demo();
    if (!demo || demo->sending())
        return false;
    if (action == GLFW_PRESS)
        app.endDemo(key);
    else if (action == GLFW_RELEASE && key == app.keyThatEndedDemo())
        app.keyThatEndedDemo() = -1; // released before the demo ended
    return true;
}

} // namespace

int keyOf(BallMaze::Arrow arrow) {
    return arrowKeys[int(arrow)];
}

void setInputCallbacks(GLFWwindow* window) {
    glfwSetKeyCallback(window, onKey);
    glfwSetMouseButtonCallback(window, onMouseButton);
    glfwSetCursorPosCallback(window, onCursorPosition);
    glfwSetScrollCallback(window, onScroll);
    glfwSetWindowFocusCallback(window, onFocus);
    glfwSetWindowIconifyCallback(window, onIconify);
    glfwSetWindowRefreshCallback(window, onRefresh);
}

void onKey(GLFWwindow* window, int key, int, int action, int) {
    Application* app = applicationOf(window);
    if (!app || demoTakes(*app, action, key) || action != GLFW_RELEASE)
        return;
    if (std::exchange(app->keyThatEndedDemo(), -1) == key)
        return;
    InputState& input = app->input();
    GameSession& session = app->session();

    // Arrows are seen from the eye position of the latest camera update.
    if (const auto arrow = arrowOf(key))
        session.pushBall(*arrow, input.cameraPosition);

    switch (key) {
    case GLFW_KEY_ESCAPE:
        glfwSetWindowShouldClose(window, GLFW_TRUE);
        break;
    case GLFW_KEY_P:
        session.togglePause();
        break;
    case GLFW_KEY_R:
        app->playAgain();
        break;
    case GLFW_KEY_ENTER:
    case GLFW_KEY_KP_ENTER:
        if (session.state() != GameState::Running)
            app->playAgain();
        break;
    case GLFW_KEY_BACKSPACE:
        session.ballToStart();
        break;
    case GLFW_KEY_H:
        session.showHint(input.cameraPosition);
        break;
    case GLFW_KEY_M:
        app->sound().toggleMute();
        break;
    case GLFW_KEY_F1:
        input.showHelp = !input.showHelp;
        break;
    case GLFW_KEY_F5:
        input.wireframe = !input.wireframe;
        glPolygonMode(GL_FRONT_AND_BACK, input.wireframe ? GL_LINE : GL_FILL);
        break;
    case GLFW_KEY_F6:
        input.cullFaces = !input.cullFaces;
        if (input.cullFaces)
            glEnable(GL_CULL_FACE);
        else
            glDisable(GL_CULL_FACE);
        break;
    case GLFW_KEY_F7:
        input.showStats = !input.showStats;
        break;
    case GLFW_KEY_F11:
        app->toggleFullscreen();
        break;
    default:
        break;
    }
}

void onMouseButton(GLFWwindow* window, int button, int action, int) {
    Application* app = applicationOf(window);
    if (!app || (action != GLFW_PRESS && action != GLFW_RELEASE) || demoTakes(*app, action))
        return;
    InputState& input = app->input();
    const bool down = action == GLFW_PRESS;
    if (button == GLFW_MOUSE_BUTTON_LEFT) {
        input.leftMouseDown = down;
    } else if (button == GLFW_MOUSE_BUTTON_RIGHT) {
        input.rightMouseDown = down;
        // The drag turns the view from where the button went down, not from
        // where the cursor was at the last frame.
        if (down)
            app->camera().startDrag(int(input.cursor.x), int(input.cursor.y));
    }
}

void onCursorPosition(GLFWwindow* window, double x, double y) {
    if (Application* app = applicationOf(window))
        app->input().cursor = {x, y};
}

void onScroll(GLFWwindow* window, double, double yOffset) {
    if (Application* app = applicationOf(window)) {
        float& distance = app->input().cameraDistance;
        distance = std::clamp(distance - float(yOffset) * cameraDistancePerScrollStep,
                              cameraMinDistance, cameraMaxDistance);
    }
}

void onFocus(GLFWwindow* window, int focused) {
    Application* app = applicationOf(window);
    if (!app)
        return;
    // X11 reports a window that never had the focus losing it as it maps.
    if (!focused && app->input().focused)
        app->session().pause();
    app->input().focused = focused != 0;
}

// A minimised game pauses, and goes on when it is shown again unless the
// player had paused it.
void onIconify(GLFWwindow* window, int iconified) {
    Application* app = applicationOf(window);
    if (!app)
        return;
    InputState& input = app->input();
    input.minimised = iconified != 0;
    GameSession& session = app->session();
    if (input.minimised && !session.paused()) {
        session.pause();
        input.pausedByMinimising = session.paused();
    } else if (!input.minimised && std::exchange(input.pausedByMinimising, false) &&
               session.paused())
        session.togglePause();
}

void onRefresh(GLFWwindow* window) {
    applicationOf(window);
}

} // namespace zarn
