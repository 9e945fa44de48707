#version 430 core

layout(location = 0) in vec3 position; // world space
layout(location = 1) in vec3 colour;
layout(location = 2) in float size;    // pixels at the default camera distance

uniform mat4 viewProjMatrix;

out vec3 particleColour;

// Sizes are chosen for a camera about this far away; the projected size of a
// sprite falls off with its depth, the clip-space w of a perspective camera.
const float referenceDistance = 6.0;

void main() {
    gl_Position = viewProjMatrix * vec4(position, 1.0);
    gl_PointSize = clamp(size * referenceDistance / max(gl_Position.w, 0.1), 1.0, 64.0);
    particleColour = colour;
}
