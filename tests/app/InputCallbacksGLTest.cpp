#include "app/InputCallbacks.h"

#include "app/Application.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

using namespace zarn;

namespace {

// The callbacks reach the game through the window's user pointer; an
// application that was never started is enough to hold the flags.
class InputCallbacksGLTest : public testing::Test {
protected:
    void SetUp() override { glfwSetWindowUserPointer(window, &application); }

    void key(int key, int action) { onKey(window, key, 0, action, 0); }
    void tap(int code) {
        key(code, GLFW_PRESS);
        key(code, GLFW_RELEASE);
    }

    zarn::test::GLTestContext context;
    GLFWwindow* window = context.window();
    Application application;
    InputState& input = application.input;
};

} // namespace

TEST_F(InputCallbacksGLTest, KeysActOnReleaseOnly) {
    key(GLFW_KEY_F1, GLFW_PRESS);
    key(GLFW_KEY_F1, GLFW_REPEAT);
    EXPECT_FALSE(input.showHelp);
    key(GLFW_KEY_F1, GLFW_RELEASE);
    EXPECT_TRUE(input.showHelp);
    tap(GLFW_KEY_F7);
    EXPECT_TRUE(input.showStats);

    key(GLFW_KEY_ESCAPE, GLFW_PRESS);
    EXPECT_FALSE(glfwWindowShouldClose(window));
    key(GLFW_KEY_ESCAPE, GLFW_RELEASE);
    EXPECT_TRUE(glfwWindowShouldClose(window));
}

TEST_F(InputCallbacksGLTest, WireframeAndCullingToggleTheGlStateAtOnce) {
    GLint mode[2] = {};
    tap(GLFW_KEY_F5);
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    tap(GLFW_KEY_F5);
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);

    glEnable(GL_CULL_FACE);
    tap(GLFW_KEY_F6);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    tap(GLFW_KEY_F6);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(InputCallbacksGLTest, MouseButtonsAndWheel) {
    onMouseButton(window, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0);
    onMouseButton(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    onMouseButton(window, GLFW_MOUSE_BUTTON_MIDDLE, GLFW_RELEASE, 0);
    EXPECT_TRUE(input.leftMouseDown);
    EXPECT_TRUE(input.rightMouseDown);
    onMouseButton(window, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0);
    EXPECT_FALSE(input.leftMouseDown);
    EXPECT_TRUE(input.rightMouseDown);

    for (int step = 0; step < 3; ++step)
        onScroll(window, 0.0, 1.0);
    EXPECT_FLOAT_EQ(input.cameraDistance, 4.5f);
    onScroll(window, 5.0, -4.0); // sideways scrolling is ignored; no lower or upper bound
    EXPECT_FLOAT_EQ(input.cameraDistance, 6.5f);
}
