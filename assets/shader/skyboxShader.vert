#version 430 core

layout(location = 0) in vec3 position;

uniform mat4 modelMatrix;
uniform mat4 viewProjMatrix; // the caller has already taken the eye's translation out

out vec3 direction;

void main() {
    direction = (modelMatrix * vec4(position, 0.0)).xyz;
    vec4 clip = viewProjMatrix * modelMatrix * vec4(position, 1.0);
    // z = w puts the box on the far plane, behind everything drawn before it.
    gl_Position = clip.xyww;
}
