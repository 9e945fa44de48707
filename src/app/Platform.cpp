#include "app/Platform.h"

#include <GLFW/glfw3.h>

namespace zarn {

void setGameWindowHints(int samples) {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_SAMPLES, samples);
}

Platform glfwPlatform(GLFWwindow* window) {
    Platform platform;
    platform.seconds = [] {
        return glfwGetTime();
    };
    platform.pollEvents = [](double waitSeconds) {
        if (waitSeconds > 0.0)
            glfwWaitEventsTimeout(waitSeconds);
        else
            glfwPollEvents();
    };
    platform.cursorPosition = [window](double& x, double& y) {
        glfwGetCursorPos(window, &x, &y);
    };
    platform.windowSize = [window](int& width, int& height) {
        glfwGetWindowSize(window, &width, &height);
    };
    platform.framebufferSize = [window](int& width, int& height) {
        glfwGetFramebufferSize(window, &width, &height);
    };
    platform.swapBuffers = [window] {
        glfwSwapBuffers(window);
    };
    return platform;
}

} // namespace zarn
