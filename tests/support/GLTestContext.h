#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zarn::test {

// A hidden window with the game's context settings (4.3 core, debug, 4x
// multisampling), current on the calling thread with GLEW loaded. Debug
// messages are collected instead of printed so tests can assert on them.
class GLTestContext {
public:
    explicit GLTestContext(int width = 800, int height = 800, int samples = 4);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    GLFWwindow* window() const { return window_; }
    // Messages of every severity but notifications, formatted as the game does.
    const std::vector<std::string>& debugMessages() const;
    void clearDebugMessages();

private:
    GLFWwindow* window_ = nullptr;
};

using Rgba = std::array<std::uint8_t, 4>;

// Reads one pixel of the current read framebuffer; (x, y) counts from the
// bottom-left corner as OpenGL does.
Rgba readPixel(int x, int y);

// Reads a w x h block, rows bottom to top, four bytes per pixel.
std::vector<std::uint8_t> readPixels(int x, int y, int width, int height);

// True when every channel of a and b differs by at most tolerance.
bool near(const Rgba& a, const Rgba& b, int tolerance);

std::string toString(const Rgba& pixel);

} // namespace zarn::test
