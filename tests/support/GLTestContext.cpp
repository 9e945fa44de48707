#include "support/GLTestContext.h"

#include "app/DebugOutput.h"
#include "app/Platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <unistd.h>

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

// Replaces the GLEW entry point in Slot by one that first checks for a
// current context.
template <auto* Slot, typename Function> struct ContextCheck;
template <auto* Slot, typename Result, typename... Args>
struct ContextCheck<Slot, Result(GLAPIENTRY*)(Args...)> {
    static inline Result(GLAPIENTRY* real)(Args...) = nullptr;
    static Result GLAPIENTRY call(Args... args) {
        if (!glfwGetCurrentContext()) {
            std::fputs("GL call without a current context\n", stderr);
            _exit(86);
        }
        return real(args...);
    }
    static void install() {
        real = *Slot;
        *Slot = call;
    }
};
template <auto* Slot> void checkContext() {
    ContextCheck<Slot, std::remove_pointer_t<decltype(Slot)>>::install();
}

} // namespace

void trapGLCallsWithoutContext() {
    checkContext<&__glewUseProgram>();
    checkContext<&__glewDeleteProgram>();
    checkContext<&__glewDeleteShader>();
    checkContext<&__glewDeleteBuffers>();
    checkContext<&__glewDeleteVertexArrays>();
    checkContext<&__glewDeleteFramebuffers>();
}

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

int liveGLObjects() {
    int live = 0;
    for (GLuint name = 1; name <= 8192; ++name)
        live += glIsBuffer(name) + glIsTexture(name) + glIsVertexArray(name) +
                glIsFramebuffer(name) + glIsRenderbuffer(name) + glIsProgram(name) +
                glIsShader(name);
    return live;
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
