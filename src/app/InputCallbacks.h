#pragma once

#include "puzzles/BallMaze.h"

struct GLFWwindow;

namespace zarn {

// The GLFW key of an arrow.
int keyOf(BallMaze::Arrow arrow);

// Registers the callbacks below on the game's window.
void setInputCallbacks(GLFWwindow* window);

// GLFW input callbacks. They find the game through the window's user pointer
// (an Application) and turn input into the game's commands, toggle display
// options or set flags for the frame loop. Keys act on release only.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void onMouseButton(GLFWwindow* window, int button, int action, int mods);
void onCursorPosition(GLFWwindow* window, double x, double y);
void onScroll(GLFWwindow* window, double xOffset, double yOffset);
// Losing the focus pauses the game.
void onFocus(GLFWwindow* window, int focused);
void onIconify(GLFWwindow* window, int iconified);
// The window system needs the picture again (the window was uncovered).
void onRefresh(GLFWwindow* window);

// Zoom per wheel step; forward steps bring the eye closer.
inline constexpr float cameraDistancePerScrollStep = 0.5f;

} // namespace zarn
