#version 430 core

// xy: window pixels, zw: texture coordinates.
layout(location = 0) in vec4 vertex;

uniform mat4 projMatrix;

out vec2 texCoord;

void main() {
    texCoord = vertex.zw;
    gl_Position = projMatrix * vec4(vertex.xy, 0.0, 1.0);
}
