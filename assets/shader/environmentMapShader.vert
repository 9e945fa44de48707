#version 430 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 modelMatrix;
uniform mat4 viewProjMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;

// The cofactor matrix is the inverse transpose up to a positive factor, which
// the fragment stage normalises away.
mat3 normalMatrixOf(mat3 m) {
    mat3 cofactor = mat3(cross(m[1], m[2]), cross(m[2], m[0]), cross(m[0], m[1]));
    return determinant(m) < 0.0 ? -cofactor : cofactor;
}

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrixOf(mat3(modelMatrix)) * normal;
    texCoord = uv;
    gl_Position = viewProjMatrix * world;
}
