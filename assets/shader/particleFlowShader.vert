#version 430 core

layout(location = 0) in vec3 seed;   // x, y in [-1, 1], z in [0, 1]
layout(location = 1) in vec3 traits; // x in [0, 0.1], y in [0.3, 0.4], z in [0.5, 1.5]

uniform mat4 viewProjMatrix;
uniform float time; // 0 to 1, repeating every ten seconds

out float brightness;

// The river bed: water surface at x = -1.625 (outwards is -x), banks at
// z = -0.5 and 0.5, running from y = 1.5 down to y = -1.5.
const float surfaceX = -1.625;
const float halfWidth = 0.45;
const float sourceY = 1.5;
const float riverLength = 3.0;
const float tau = 6.2831853;
const float referenceDistance = 6.0;

void main() {
    // Whole laps per period, so the picture at time 1 is the one at time 0.
    float laps = 1.0 + floor(traits.z * 2.0);
    float along = fract(0.5 + 0.5 * seed.y + laps * time);

    // Each particle keeps its lane and meanders a little around it; the
    // meander repeats three times per lap, so it too joins up at the wrap.
    float across = seed.x * halfWidth + 0.03 * sin(tau * (3.0 * along + seed.z));
    float lift = 0.004 + 0.12 * traits.x;
    vec3 world = vec3(surfaceX - lift, sourceY - riverLength * along, across);

    // Fade in at the source and out at the mouth, hiding the jump back.
    float ends = smoothstep(0.0, 0.06, along) * smoothstep(1.0, 0.94, along);
    float twinkle = 0.75 + 0.25 * sin(tau * (5.0 * time + seed.z));
    // Additive: each particle adds only a faint glint.
    brightness = ends * twinkle * traits.y * 0.35;

    gl_Position = viewProjMatrix * vec4(world, 1.0);
    gl_PointSize = clamp(traits.y * 30.0 * referenceDistance / max(gl_Position.w, 0.1), 1.0, 48.0);
}
