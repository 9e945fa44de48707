#version 430 core

layout(location = 0) in vec3 position;
layout(location = 3) in mat4 instanceMatrix; // locations 3 to 6, one column each

uniform mat4 depthVP; // light projection x light view

void main() {
    gl_Position = depthVP * instanceMatrix * vec4(position, 1.0);
}
