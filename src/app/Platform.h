#pragma once

#include <functional>

struct GLFWwindow;

namespace zarn {

// What the frame loop reads from the outside world each frame. The game wires
// in GLFW and the real clocks; tests drive the same loop frame by frame with
// a synthetic clock and deliver events through the real input callbacks.
struct Platform {
    // Seconds since the window system started (loading time included): the
    // wall clock, monotonic, and the only one the game reads.
    std::function<double()> seconds;
    // Runs pending input; the input callbacks are called from here. With a
    // wait above zero it first sleeps until input comes or that many seconds
    // have passed.
    std::function<void(double waitSeconds)> pollEvents;
    // Cursor position in window pixels, origin at the top-left.
    std::function<void(double& x, double& y)> cursorPosition;
    // The window's size in window pixels, and its framebuffer's in pixels
    // (larger on a scaled display; 0 x 0 while minimised).
    std::function<void(int& width, int& height)> windowSize;
    std::function<void(int& width, int& height)> framebufferSize;
    // Shows the finished frame.
    std::function<void()> swapBuffers;
};

// Window hints for the game's context: OpenGL 4.3 core with debug output, a
// resizable window and the given samples per pixel.
void setGameWindowHints(int samples = 4);

// The real platform of a GLFW window.
Platform glfwPlatform(GLFWwindow* window);

} // namespace zarn
