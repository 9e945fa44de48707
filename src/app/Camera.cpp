#include "app/Camera.h"

#include "physics/PhysicsWorld.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace zarn {

// From the farthest eye, a click must reach past the far side of the cube.
static_assert(cameraMaxDistance + 3.0f < pickReach);

glm::mat4 perspectiveProjection(float fovDegrees, float aspect, float nearPlane, float farPlane) {
    // The angle spans the shorter side, so a tall window shows the cube whole.
    float t = std::tan(fovDegrees * 0.017453292f * 0.5f);
    if (aspect < 1.0f)
        t /= aspect;
    glm::mat4 projection(0.0f);
    projection[0][0] = 1.0f / (aspect * t);
    projection[1][1] = 1.0f / t;
    projection[2][2] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    projection[2][3] = -1.0f;
    projection[3][2] = -(2.0f * farPlane * nearPlane) / (farPlane - nearPlane);
    return projection;
}

Camera::Camera(float fov, float aspect, float nearPlane, float farPlane, const InputState& input)
    : projection(perspectiveProjection(fov, aspect, nearPlane, farPlane)), input(input) {}

void Camera::startDrag(int cursorX, int cursorY) {
    lastCursorX = cursorX;
    lastCursorY = cursorY;
}

void Camera::reset() {
    yaw = 0.0f;
    pitch = 0.0f;
}

void Camera::update(int cursorX, int cursorY) {
    const int dx = cursorX - lastCursorX;
    const int dy = cursorY - lastCursorY;
    if (input.rightMouseDown) {
        yaw += float(dx) * cameraRadiansPerPixel;
        pitch =
            std::clamp(pitch + float(dy) * cameraRadiansPerPixel, -cameraMaxPitch, cameraMaxPitch);
    }

    const float r = input.cameraDistance;
    position = target + glm::vec3(-std::sin(yaw) * std::cos(pitch) * r, std::sin(pitch) * r,
                                  std::cos(yaw) * std::cos(pitch) * r);

    // Orientation Ry(-yaw) * Rx(-pitch): the eye's -z axis points at the target.
    const float ch = std::cos(-yaw), sh = std::sin(-yaw);
    const float cp = std::cos(-pitch), sp = std::sin(-pitch);
    const glm::mat4 orientation(
        glm::vec4(ch, 0.0f, -sh, 0.0f), glm::vec4(sh * sp, cp, ch * sp, 0.0f),
        glm::vec4(sh * cp, -sp, ch * cp, 0.0f), glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    view = glm::inverse(glm::translate(glm::mat4(1.0f), position) * orientation);

    // Taken whether or not the button is held, so pressing it never jumps.
    lastCursorX = cursorX;
    lastCursorY = cursorY;
}

} // namespace zarn
