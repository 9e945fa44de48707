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

void main() {
    vec3 base = diffuseColor + texture(textureSampler, texCoord).rgb;
    vec3 normal = normalize(worldNormal);
    vec3 toEye = normalize(viewPosition - worldPosition);
    float shininess = max(alpha, 1.0);

    vec3 color = ambientCoeff * ambientLight(normal) * base;
    for (int i = 0; i < lightCount; ++i) {
        vec3 toLight;
        vec3 incoming = incomingLight(Lights[i], worldPosition, toLight) * warmth;
        float lambert = max(dot(normal, toLight), 0.0);
        float gloss = lambert > 0.0 ? pow(max(dot(reflect(-toLight, normal), toEye), 0.0), shininess) : 0.0;
        color += incoming * (diffuseCoeff * celDiffuse(lambert) * base +
                             specularCoeff * bandStep(0.5, gloss));
    }
    fragColor = vec4(min(color, 1.0), 1.0);
}
