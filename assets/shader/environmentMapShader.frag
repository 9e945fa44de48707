#version 430 core

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoord;

uniform vec3 viewPosition;
uniform float ambientCoeff;
uniform float diffuseCoeff;
uniform float specularCoeff;
layout(binding = 0) uniform sampler2D texture_diffuse1;
layout(binding = 2) uniform samplerCube cubeMap;

out vec4 fragColor;

// This program gets no light array; it uses the game's one light.
const vec3 towardsLight = vec3(0.0, 0.70710678, 0.70710678);
const vec3 lightColor = vec3(0.8, 0.77, 0.70);
const float reflectivity = 0.8;
const float shininess = 80.0;

void main() {
    vec3 normal = normalize(worldNormal);
    vec3 toEye = normalize(viewPosition - worldPosition);
    vec3 tint = texture(texture_diffuse1, texCoord).rgb;

    // Polished metal mirrors the sky in its own colour and turns white at
    // grazing angles.
    vec3 mirrored = texture(cubeMap, reflect(-toEye, normal)).rgb;
    float fresnel = pow(1.0 - max(dot(normal, toEye), 0.0), 5.0);
    vec3 metal = reflectivity * mirrored * mix(tint, vec3(1.0), fresnel);

    float lambert = max(dot(normal, towardsLight), 0.0);
    float highlight = 0.0;
    if (lambert > 0.0)
        highlight = pow(max(dot(reflect(-towardsLight, normal), toEye), 0.0), shininess);

    vec3 matte = (ambientCoeff + diffuseCoeff * lambert * lightColor) * tint;
    vec3 color = 0.4 * matte + metal + specularCoeff * highlight * lightColor;
    fragColor = vec4(min(color, 1.0), 1.0);
}
