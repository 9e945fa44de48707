#version 430 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
layout(location = 3) in mat4 instanceMatrix; // locations 3 to 6, one column each

// Placed by the instance matrix alone: "modelMatrix" only mirrors the first
// instance and would move every instance twice.
uniform mat4 viewProjMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;

// The cofactor matrix is the inverse transpose up to a positive factor, which
// the fragment stage normalises away, and it stays finite for flat matrices.
mat3 normalMatrixOf(mat3 m) {
    mat3 cofactor = mat3(cross(m[1], m[2]), cross(m[2], m[0]), cross(m[0], m[1]));
    return determinant(m) < 0.0 ? -cofactor : cofactor;
}

void main() {
    vec4 world = instanceMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrixOf(mat3(instanceMatrix)) * normal;
    texCoord = uv;
    gl_Position = viewProjMatrix * world;
}
