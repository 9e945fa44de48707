#include "app/InputCallbacks.h"

#include "app/Application.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

using namespace zarn;
using zarn::test::GLTestContext;

namespace {

// The callbacks reach the game through the window's user pointer; an
// application that was never started is enough to hold the flags.
class InputCallbacksGLTest : public testing::Test {
protected:
    void SetUp() override { glfwSetWindowUserPointer(context.window(), &application); }

    void tap(int key) {
        onKey(context.window(), key, 0, GLFW_PRESS, 0);
        onKey(context.window(), key, 0, GLFW_RELEASE, 0);
    }

    GLTestContext context;
    Application application;
    InputState& input = application.input;
};

GLint polygonMode() {
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    return mode[0];
}

} // namespace

TEST_F(InputCallbacksGLTest, KeysActOnReleaseOnly) {
    GLFWwindow* window = context.window();
    onKey(window, GLFW_KEY_F1, 0, GLFW_PRESS, 0);
    onKey(window, GLFW_KEY_F1, 0, GLFW_REPEAT, 0);
    EXPECT_FALSE(input.showHelp);
    onKey(window, GLFW_KEY_F1, 0, GLFW_RELEASE, 0);
    EXPECT_TRUE(input.showHelp);

    onKey(window, GLFW_KEY_ESCAPE, 0, GLFW_PRESS, 0);
    onKey(window, GLFW_KEY_ESCAPE, 0, GLFW_REPEAT, 0);
    EXPECT_FALSE(glfwWindowShouldClose(window));
    onKey(window, GLFW_KEY_ESCAPE, 0, GLFW_RELEASE, 0);
    EXPECT_TRUE(glfwWindowShouldClose(window));
}

TEST_F(InputCallbacksGLTest, FunctionKeysToggle) {
    tap(GLFW_KEY_F7);
    EXPECT_TRUE(input.showStats);
    tap(GLFW_KEY_F7);
    EXPECT_FALSE(input.showStats);
    tap(GLFW_KEY_F1);
    tap(GLFW_KEY_F1);
    EXPECT_FALSE(input.showHelp);
    // Other keys change nothing.
    tap(GLFW_KEY_F2);
    tap(GLFW_KEY_UP);
    EXPECT_FALSE(input.showHelp);
    EXPECT_FALSE(input.showStats);
    EXPECT_FALSE(input.wireframe);
    EXPECT_TRUE(input.cullFaces);
}

TEST_F(InputCallbacksGLTest, WireframeAndCullingChangeTheGlStateAtOnce) {
    glEnable(GL_CULL_FACE);
    tap(GLFW_KEY_F5);
    EXPECT_TRUE(input.wireframe);
    EXPECT_EQ(polygonMode(), GL_LINE);
    tap(GLFW_KEY_F5);
    EXPECT_FALSE(input.wireframe);
    EXPECT_EQ(polygonMode(), GL_FILL);

    tap(GLFW_KEY_F6);
    EXPECT_FALSE(input.cullFaces);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    tap(GLFW_KEY_F6);
    EXPECT_TRUE(input.cullFaces);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(InputCallbacksGLTest, HudKeysStillWorkAfterTheGameIsOver) {
    input.gameOver = true;
    tap(GLFW_KEY_F1);
    tap(GLFW_KEY_F7);
    EXPECT_TRUE(input.showHelp);
    EXPECT_TRUE(input.showStats);
    tap(GLFW_KEY_ESCAPE);
    EXPECT_TRUE(glfwWindowShouldClose(context.window()));
}

TEST_F(InputCallbacksGLTest, MouseButtonsFollowPressAndRelease) {
    GLFWwindow* window = context.window();
    onMouseButton(window, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0);
    EXPECT_TRUE(input.leftMouseDown);
    EXPECT_FALSE(input.rightMouseDown);
    onMouseButton(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    EXPECT_TRUE(input.rightMouseDown);
    onMouseButton(window, GLFW_MOUSE_BUTTON_MIDDLE, GLFW_RELEASE, 0);
    EXPECT_TRUE(input.leftMouseDown);
    EXPECT_TRUE(input.rightMouseDown);
    onMouseButton(window, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0);
    EXPECT_FALSE(input.leftMouseDown);
    EXPECT_TRUE(input.rightMouseDown);
    onMouseButton(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE, 0);
    EXPECT_FALSE(input.rightMouseDown);
}

TEST_F(InputCallbacksGLTest, WheelStepsMoveTheEyeHalfAUnitWithoutBounds) {
    GLFWwindow* window = context.window();
    for (int step = 0; step < 3; ++step)
        onScroll(window, 0.0, 1.0);
    EXPECT_FLOAT_EQ(input.cameraDistance, 4.5f);
    for (int step = 0; step < 9; ++step)
        onScroll(window, 0.0, 1.0);
    EXPECT_FLOAT_EQ(input.cameraDistance, 0.0f);
    onScroll(window, 5.0, -4.0); // sideways scrolling is ignored
    EXPECT_FLOAT_EQ(input.cameraDistance, 2.0f);
}

TEST_F(InputCallbacksGLTest, WindowWithoutGameIsIgnored) {
    glfwSetWindowUserPointer(context.window(), nullptr);
    tap(GLFW_KEY_F1);
    onMouseButton(context.window(), GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0);
    onScroll(context.window(), 0.0, 1.0);
    EXPECT_FALSE(input.showHelp);
    EXPECT_FALSE(input.leftMouseDown);
    EXPECT_FLOAT_EQ(input.cameraDistance, 6.0f);
}
