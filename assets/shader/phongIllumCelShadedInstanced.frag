#version 430 core

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoord;

uniform vec3 viewPosition;
uniform vec3 diffuseColor;
uniform float ambientCoeff;
uniform float diffuseCoeff;
uniform float specularCoeff;
uniform float alpha; // shininess exponent
layout(binding = 0) uniform sampler2D textureSampler;

out vec4 fragColor;

// The start-up light never reaches this program, so it carries the game's
// sun itself: travelling along (0, -1, -1), colour 0.8, warmed a little.
const vec3 towardsLight = vec3(0.0, 0.70710678, 0.70710678);
const vec3 lightColor = vec3(0.8, 0.768, 0.704);

const vec3 skyAmbient = vec3(0.95, 0.97, 1.0);
const vec3 groundAmbient = vec3(0.75, 0.72, 0.70);

vec3 ambientLight(vec3 normal) {
    return mix(groundAmbient, skyAmbient, 0.5 + 0.5 * normal.y);
}

// A step whose edge is blurred over one pixel, so curved surfaces get clean
// band borders instead of stair steps.
float bandStep(float edge, float value) {
    float width = max(fwidth(value), 0.0001);
    return smoothstep(edge - width, edge + width, value);
}

// Three lit bands above an unlit one.
float celDiffuse(float lambert) {
    return 0.4 * bandStep(0.1, lambert) + 0.3 * bandStep(0.45, lambert) +
           0.3 * bandStep(0.8, lambert);
}

void main() {
    vec3 base = diffuseColor + texture(textureSampler, texCoord).rgb;
    vec3 normal = normalize(worldNormal);
    vec3 toEye = normalize(viewPosition - worldPosition);

    float lambert = max(dot(normal, towardsLight), 0.0);
    float gloss = lambert > 0.0 ? pow(max(dot(reflect(-towardsLight, normal), toEye), 0.0), max(alpha, 1.0)) : 0.0;

    vec3 color = ambientCoeff * ambientLight(normal) * base +
                 lightColor * (diffuseCoeff * celDiffuse(lambert) * base +
                               specularCoeff * bandStep(0.5, gloss));
    fragColor = vec4(min(color, 1.0), 1.0);
}
