#pragma once

struct GLFWwindow;

namespace zarn {

// GLFW input callbacks. They find the game through the window's user pointer
// (an Application) and only set flags, toggle render options or forward keys;
// the frame loop does the rest. Keys act on release only.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void onMouseButton(GLFWwindow* window, int button, int action, int mods);
void onScroll(GLFWwindow* window, double xOffset, double yOffset);

// Zoom per wheel step; forward steps bring the eye closer.
inline constexpr float cameraDistancePerScrollStep = 0.5f;

} // namespace zarn
