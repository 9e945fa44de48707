#version 430 core

in vec3 particleColour;

layout(binding = 0) uniform sampler2D spriteSampler;

out vec4 fragColor;

void main() {
    vec4 sprite;
    // A texture without an image reads as 0 x 0 or, on some drivers, as a
    // 1 x 1 stand-in; neither has a shape to show.
    if (textureSize(spriteSampler, 0).x > 1) {
        sprite = texture(spriteSampler, gl_PointCoord);
    } else {
        // No image loaded: a plain round dot.
        float edge = 1.0 - length(gl_PointCoord * 2.0 - 1.0);
        sprite = vec4(1.0, 1.0, 1.0, step(0.0, edge));
    }
    // The blend multiplies the background by this colour, so a faint fringe
    // would draw a dark ring: only the sprite's body is kept. The coverage
    // test works for sprites shaped by alpha and by brightness alike.
    float coverage = sprite.a * max(max(sprite.r, sprite.g), sprite.b);
    if (coverage < 0.3)
        discard;
    fragColor = vec4(sprite.rgb * particleColour, sprite.a);
}
