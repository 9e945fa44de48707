#pragma once

#include "app/InputState.h"

#include <glm/glm.hpp>

namespace zarn {

// Orbit camera: the eye moves on a sphere around the origin and always looks
// at it. A right-button drag turns it, the wheel sets the sphere's radius
// (both through InputState).
class Camera {
public:
    // fov in degrees, aspect = width / height.
    Camera(float fov, float aspect, float nearPlane, float farPlane, const InputState& input);

    // Cursor position in window pixels, truncated to integers.
    void update(int cursorX, int cursorY);
    // A drag starts here: the next update turns the view by the cursor's
    // travel from this point, whatever it did before.
    void startDrag(int cursorX, int cursorY);
    // Back to the view a game starts with.
    void reset();
    glm::mat4 viewProjection() const { return projection * view; }

    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    int lastCursorX = 0;
    int lastCursorY = 0;
    float yaw = 0.0f;
    float pitch = 0.0f;
    glm::vec3 position{0.0f};
    glm::vec3 target{0.0f};

private:
    const InputState& input;
};

// Right-handed OpenGL perspective (depth -1..1) whose angle in degrees spans
// the view's shorter side: the height, or the width of a tall view.
glm::mat4 perspectiveProjection(float fovDegrees, float aspect, float nearPlane, float farPlane);

// Radians turned per pixel of drag, and the pitch limit that keeps the eye
// off the poles so the view never flips.
inline constexpr float cameraRadiansPerPixel = 0.005f;
inline constexpr float cameraMaxPitch = 1.5607964f;

} // namespace zarn
