#include "support/GLTestContext.h"

#include "app/DebugOutput.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zarn::test {

namespace {

std::vector<std::string> collectedMessages;

void GLAPIENTRY collectDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei,
                                    const GLchar* message, const void*) {
    if (severity == GL_DEBUG_SEVERITY_NOTIFICATION)
        return;
    collectedMessages.push_back(formatDebugMessage(source, type, id, severity, message));
}

} // namespace

GLTestContext::GLTestContext(int width, int height, int samples) {
    if (!glfwInit()) {
        ADD_FAILURE() << "glfwInit failed; is DISPLAY set?";
        std::abort();
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_SAMPLES, samples);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window_ = glfwCreateWindow(width, height, "Zarn test", nullptr, nullptr);
    if (!window_) {
        ADD_FAILURE() << "could not create a 4.3 core window";
        std::abort();
    }
    glfwMakeContextCurrent(window_);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        ADD_FAILURE() << "glewInit failed";
        std::abort();
    }
    collectedMessages.clear();
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(collectDebugMessage, nullptr);
    glViewport(0, 0, width, height);
}

GLTestContext::~GLTestContext() {
    glfwDestroyWindow(window_);
    glfwTerminate();
}

const std::vector<std::string>& GLTestContext::debugMessages() const {
    return collectedMessages;
}

void GLTestContext::clearDebugMessages() {
    collectedMessages.clear();
}

Rgba readPixel(int x, int y) {
    Rgba pixel{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

std::vector<std::uint8_t> readPixels(int x, int y, int width, int height) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

bool near(const Rgba& a, const Rgba& b, int tolerance) {
    for (int i = 0; i < 4; ++i)
        if (std::abs(int(a[i]) - int(b[i])) > tolerance)
            return false;
    return true;
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
