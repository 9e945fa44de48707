#include "app/Platform.h"

#include <GLFW/glfw3.h>

#include <chrono>

namespace zarn {

std::int64_t steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
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
