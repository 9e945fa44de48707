#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zarn::test {

// A hidden window with the game's context settings, current on the calling
// thread with GLEW loaded. Debug messages (notifications aside) are collected,
// formatted as the game prints them, so tests can assert there are none.
class GLTestContext {
public:
    explicit GLTestContext(int width = 800, int height = 800, int samples = 4);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    GLFWwindow* window() const { return window_; }
    const std::vector<std::string>& debugMessages() const;

private:
    GLFWwindow* window_ = nullptr;
};

// From now on, a call that deletes or unbinds a program, shader, buffer,
// vertex array or framebuffer while no context is current (after
// glfwTerminate, say) ends the process with status 86 and a message on
// standard error. Lasts until GLEW is loaded again.
void trapGLCallsWithoutContext();

// How many buffers, textures, vertex arrays, framebuffers, renderbuffers,
// programs and shaders exist, by their names up to 8192.
int liveGLObjects();

using Rgba = std::array<std::uint8_t, 4>;

// Pixels of the current read framebuffer, (x, y) from the bottom-left corner;
// readPixels gives rows bottom to top, four bytes per pixel.
Rgba readPixel(int x, int y);
std::vector<std::uint8_t> readPixels(int x, int y, int width, int height);

std::string toString(const Rgba& pixel);

} // namespace zarn::test
