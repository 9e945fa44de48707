#version 430 core

in vec3 direction;

layout(binding = 0) uniform samplerCube cubeMap;

out vec4 fragColor;

void main() {
    fragColor = vec4(texture(cubeMap, direction).rgb, 1.0);
}
