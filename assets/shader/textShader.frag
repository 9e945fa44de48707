#version 430 core

in vec2 texCoord;

uniform vec3 textColor;
layout(binding = 0) uniform sampler2D glyphSampler;

out vec4 fragColor;

void main() {
    vec4 texel = texture(glyphSampler, texCoord);
    // (-1, -1, -1) marks a picture that keeps its own colours.
    if (all(lessThan(textColor, vec3(-0.5))))
        fragColor = texel;
    else
        fragColor = vec4(textColor, texel.r); // glyph coverage lives in the red channel
}
