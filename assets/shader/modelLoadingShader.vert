#version 430 core

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
layout(location = 3) in ivec4 boneIds;
layout(location = 4) in vec4 boneWeights;

const int maxBones = 32;

uniform mat4 modelMatrix;
uniform mat4 viewProjMatrix;
uniform int hasBones;
uniform mat4 gBones[maxBones];

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;

// Blend of the vertex's bones. The weights are renormalised because only four
// of a vertex's influences reach this stage; a vertex that no bone holds stays
// where the file put it instead of collapsing to the origin.
mat4 skinMatrix() {
    if (hasBones == 0)
        return mat4(1.0);
    float total = boneWeights.x + boneWeights.y + boneWeights.z + boneWeights.w;
    if (total <= 0.0001)
        return mat4(1.0);
    mat4 skin = mat4(0.0);
    for (int i = 0; i < 4; ++i)
        skin += boneWeights[i] * gBones[clamp(boneIds[i], 0, maxBones - 1)];
    return skin / total;
}

// The cofactor matrix is the inverse transpose up to a positive factor, which
// the fragment stage normalises away, and it stays finite for flat matrices.
mat3 normalMatrixOf(mat3 m) {
    mat3 cofactor = mat3(cross(m[1], m[2]), cross(m[2], m[0]), cross(m[0], m[1]));
    return determinant(m) < 0.0 ? -cofactor : cofactor;
}

void main() {
    mat4 placement = modelMatrix * skinMatrix();
    vec4 world = placement * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrixOf(mat3(placement)) * normal;
    texCoord = uv;
    gl_Position = viewProjMatrix * world;
}
