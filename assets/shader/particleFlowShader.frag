#version 430 core

in float brightness;

layout(binding = 0) uniform sampler2D spriteSampler;

out vec4 fragColor;

const vec3 waterTint = vec3(0.55, 0.8, 1.0);

void main() {
    vec4 sprite;
    // A texture without an image reads as 0 x 0 or, on some drivers, as a
    // 1 x 1 stand-in; neither has a shape to show.
    if (textureSize(spriteSampler, 0).x > 1) {
        sprite = texture(spriteSampler, gl_PointCoord);
    } else {
        // No image loaded: a soft round dot.
        float edge = 1.0 - length(gl_PointCoord * 2.0 - 1.0);
        sprite = vec4(1.0, 1.0, 1.0, clamp(edge, 0.0, 1.0));
    }
    // Drawn with additive blending: black adds nothing, and alpha is left
    // alone so the frame's coverage does not change.
    fragColor = vec4(waterTint * sprite.rgb * sprite.a * brightness, 0.0);
}
