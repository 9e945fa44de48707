#include "app/Platform.h"

#include <GLFW/glfw3.h>

#include <chrono>

namespace zarn {

std::int64_t steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void setGameWindowHints() {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_SAMPLES, 4);
}

Platform glfwPlatform(GLFWwindow* window) {
    Platform platform;
    platform.seconds = [] {
        return glfwGetTime();
    };
    platform.milliseconds = [] {
        return steadyMilliseconds();
    };
    platform.pollEvents = [] {
        glfwPollEvents();
    };
    platform.cursorPosition = [window](double& x, double& y) {
        glfwGetCursorPos(window, &x, &y);
    };
    platform.swapBuffers = [window] {
        glfwSwapBuffers(window);
    };
    return platform;
}

} // namespace zarn
