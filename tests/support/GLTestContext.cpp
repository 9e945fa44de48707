#include "support/GLTestContext.h"

#include "app/DebugOutput.h"
#include "app/Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zarn::test {

namespace {

std::vector<std::string> collectedMessages;

void GLAPIENTRY collectDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei,
                                    const GLchar* message, const void*) {
    if (severity != GL_DEBUG_SEVERITY_NOTIFICATION)
        collectedMessages.push_back(formatDebugMessage(source, type, id, severity, message));
}

[[noreturn]] void giveUp(const char* reason) {
    ADD_FAILURE() << reason;
    std::abort();
}

} // namespace

GLTestContext::GLTestContext(int width, int height, int samples) {
    if (!glfwInit())
        giveUp("glfwInit failed; is DISPLAY set?");
    setGameWindowHints();
    glfwWindowHint(GLFW_SAMPLES, samples);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window_ = glfwCreateWindow(width, height, "Zarn test", nullptr, nullptr);
    if (!window_)
        giveUp("could not create a 4.3 core window");
    glfwMakeContextCurrent(window_);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        giveUp("glewInit failed");
    collectedMessages.clear();
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(collectDebugMessage, nullptr);
}

GLTestContext::~GLTestContext() {
    glfwDestroyWindow(window_);
    glfwTerminate();
}

const std::vector<std::string>& GLTestContext::debugMessages() const {
    return collectedMessages;
}

Rgba readPixel(int x, int y) {
    const auto pixels = readPixels(x, y, 1, 1);
    return {pixels[0], pixels[1], pixels[2], pixels[3]};
}

std::vector<std::uint8_t> readPixels(int x, int y, int width, int height) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::string toString(const Rgba& pixel) {
    std::string text = "(";
    for (int i = 0; i < 4; ++i) {
        text += std::to_string(pixel[i]);
        text += i < 3 ? ", " : ")";
    }
    return text;
}

} // namespace zarn::test
