#include "app/InputCallbacks.h"

#include "app/Application.h"
#include "puzzles/BallGame.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace zarn {

namespace {

InputState* inputOf(GLFWwindow* window) {
    auto* application = static_cast<Application*>(glfwGetWindowUserPointer(window));
    return application ? &application->input : nullptr;
}

} // namespace

void onKey(GLFWwindow* window, int key, int, int action, int) {
    auto* application = static_cast<Application*>(glfwGetWindowUserPointer(window));
    InputState* input = inputOf(window);
    if (!input || action != GLFW_RELEASE)
        return;

    // The ball hears every released key while the game runs, with the eye
    // position of the latest camera update.
    if (!input->gameOver && application->ballGame)
        application->ballGame->onKey(key, input->cameraPosition);

    switch (key) {
    case GLFW_KEY_ESCAPE:
        glfwSetWindowShouldClose(window, GLFW_TRUE);
        break;
    case GLFW_KEY_F1:
        input->showHelp = !input->showHelp;
        break;
    case GLFW_KEY_F5:
        input->wireframe = !input->wireframe;
        glPolygonMode(GL_FRONT_AND_BACK, input->wireframe ? GL_LINE : GL_FILL);
        break;
    case GLFW_KEY_F6:
        input->cullFaces = !input->cullFaces;
        if (input->cullFaces)
            glEnable(GL_CULL_FACE);
        else
            glDisable(GL_CULL_FACE);
        break;
    case GLFW_KEY_F7:
        input->showStats = !input->showStats;
        break;
    default:
        break;
    }
}

void onMouseButton(GLFWwindow* window, int button, int action, int) {
    InputState* input = inputOf(window);
    if (!input || (action != GLFW_PRESS && action != GLFW_RELEASE))
        return;
    const bool down = action == GLFW_PRESS;
    if (button == GLFW_MOUSE_BUTTON_LEFT)
        input->leftMouseDown = down;
    else if (button == GLFW_MOUSE_BUTTON_RIGHT)
        input->rightMouseDown = down;
}

void onScroll(GLFWwindow* window, double, double yOffset) {
    InputState* input = inputOf(window);
    if (input)
        input->cameraDistance -= float(yOffset) * cameraDistancePerScrollStep;
}

} // namespace zarn
