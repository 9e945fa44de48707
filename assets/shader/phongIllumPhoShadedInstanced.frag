#version 430 core

struct LightInfo {
    float isLocal;
    float isSpot;
    vec3 posDir;
    vec3 lightColor;
    vec3 attenuation;
    vec3 coneDirection;
    float spotCosCutOff;
    float spotExponent;
};

// The game lights its scene with the sun alone. Every slot costs each
// fragment its whole lighting on a software renderer, lit or not.
const int lightCount = 1;

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoord;

uniform vec3 viewPosition;
uniform LightInfo Lights[lightCount];
uniform vec3 diffuseColor;
uniform float ambientCoeff;
uniform float diffuseCoeff;
uniform float specularCoeff;
uniform float alpha; // shininess exponent
layout(binding = 0) uniform sampler2D textureSampler;

out vec4 fragColor;

const vec3 skyAmbient = vec3(0.95, 0.97, 1.0);
const vec3 groundAmbient = vec3(0.75, 0.72, 0.70);
const vec3 warmth = vec3(1.0, 0.96, 0.88);

vec3 ambientLight(vec3 normal) {
    return mix(groundAmbient, skyAmbient, 0.5 + 0.5 * normal.y);
}

// Colour of one light arriving at position, with toLight pointing at it.
// Empty slots are all zero and contribute nothing.
vec3 incomingLight(LightInfo light, vec3 position, out vec3 toLight) {
    if (light.isLocal < 0.5) {
        float length_ = length(light.posDir);
        toLight = length_ > 0.0 ? -light.posDir / length_ : vec3(0.0, 1.0, 0.0);
        return length_ > 0.0 ? light.lightColor : vec3(0.0);
    }
    vec3 offset = light.posDir - position;
    float distance_ = length(offset);
    toLight = distance_ > 0.0 ? offset / distance_ : vec3(0.0, 1.0, 0.0);
    vec3 k = light.attenuation;
    float falloff = k.x + k.y * distance_ + k.z * distance_ * distance_;
    float strength = falloff > 0.0 ? 1.0 / falloff : 1.0;
    if (light.isSpot > 0.5) {
        float coneLength = length(light.coneDirection);
        float spotCos = coneLength > 0.0 ? dot(-toLight, light.coneDirection / coneLength) : 1.0;
        strength *= spotCos < light.spotCosCutOff ? 0.0 : pow(max(spotCos, 0.0001), light.spotExponent);
    }
    return light.lightColor * strength;
}

// Linear up to 0.8, then eases towards white instead of clipping flat.
vec3 softClip(vec3 color) {
    vec3 over = max(color - 0.8, 0.0);
    return min(color, 0.8) + 0.2 * (1.0 - exp(-over / 0.2));
}

void main() {
    // Textured materials have a black diffuseColor; plain ones sample an
    // unbound unit, which reads black.
    vec4 texel = texture(textureSampler, texCoord);
    vec3 base = diffuseColor + texel.rgb;
    vec3 normal = normalize(worldNormal);
    vec3 toEye = normalize(viewPosition - worldPosition);
    float shininess = max(alpha, 1.0);

    vec3 color = ambientCoeff * ambientLight(normal) * base;
    for (int i = 0; i < lightCount; ++i) {
        vec3 toLight;
        vec3 incoming = incomingLight(Lights[i], worldPosition, toLight) * warmth;
        float lambert = max(dot(normal, toLight), 0.0);
        float highlight = 0.0;
        if (lambert > 0.0)
            highlight = pow(max(dot(reflect(-toLight, normal), toEye), 0.0), shininess);
        color += incoming * (diffuseCoeff * lambert * base + specularCoeff * highlight);
    }
    // Only the flow marks' texture has see-through parts; the others, and
    // the unbound unit, read an alpha of 1.
    fragColor = vec4(softClip(color), texel.a);
}
