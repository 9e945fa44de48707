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
in vec4 shadowCoord;

uniform vec3 viewPosition;
uniform LightInfo Lights[lightCount];
uniform vec3 diffuseColor;
uniform float ambientCoeff;
uniform float diffuseCoeff;
uniform float specularCoeff;
uniform float alpha; // shininess exponent
layout(binding = 0) uniform sampler2D textureSampler;
// Unit 1 is the shadow map's alone: a second sampler of another type there
// would make every draw fail validation.
layout(binding = 1) uniform sampler2DShadow shadowSampler;

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

// Share of the shadow-casting light that reaches this point, 0 to 1.
float litFraction(vec3 normal, vec3 toLight) {
    vec3 coord = shadowCoord.xyz / shadowCoord.w;
    // Nothing outside the light's box was rendered into the map.
    if (any(lessThan(coord, vec3(0.0))) || any(greaterThan(coord, vec3(1.0))))
        return 1.0;
    // Slope-scaled bias: surfaces at a grazing angle to the light change depth
    // quickly across one texel and would shadow themselves otherwise.
    float cosine = clamp(dot(normal, toLight), 0.05, 1.0);
    float slope = sqrt(1.0 - cosine * cosine) / cosine;
    float bias = clamp(0.0005 + 0.0008 * slope, 0.0005, 0.004);
    vec2 size = vec2(textureSize(shadowSampler, 0));
    // Nine bilinear comparisons one texel apart weigh the 4 x 4 texels around
    // the point by (1 - f, 1, 1, f) along each axis; two bilinear taps per
    // axis, placed inside each pair of texels, give the same weights.
    vec2 p = coord.xy * size - 0.5;
    vec2 base = floor(p);
    vec2 f = p - base;
    vec2 w0 = 2.0 - f, w1 = 1.0 + f;
    vec2 t0 = (base - 1.0 + 1.0 / w0 + 0.5) / size;
    vec2 t1 = (base + 1.0 + f / w1 + 0.5) / size;
    float z = coord.z - bias;
    // Explicit level: this runs only for lit fragments, where derivatives are unreliable.
    float lit = w0.x * w0.y * textureLod(shadowSampler, vec3(t0.x, t0.y, z), 0.0) +
                w1.x * w0.y * textureLod(shadowSampler, vec3(t1.x, t0.y, z), 0.0) +
                w0.x * w1.y * textureLod(shadowSampler, vec3(t0.x, t1.y, z), 0.0) +
                w1.x * w1.y * textureLod(shadowSampler, vec3(t1.x, t1.y, z), 0.0);
    return lit / 9.0;
}

// Linear up to 0.8, then eases towards white instead of clipping flat.
vec3 softClip(vec3 color) {
    vec3 over = max(color - 0.8, 0.0);
    return min(color, 0.8) + 0.2 * (1.0 - exp(-over / 0.2));
}

void main() {
    vec3 base = diffuseColor + texture(textureSampler, texCoord).rgb;
    vec3 normal = normalize(worldNormal);
    vec3 toEye = normalize(viewPosition - worldPosition);
    float shininess = max(alpha, 1.0);

    // The shadow map is rendered from the first light, the game's sun. A
    // shadow also dims the sky light a little, so it reads on surfaces whose
    // materials are mostly ambient.
    vec3 toSun;
    incomingLight(Lights[0], worldPosition, toSun);
    float sunLit = dot(normal, toSun) > 0.0 ? litFraction(normal, toSun) : 1.0;

    vec3 color = mix(0.6, 1.0, sunLit) * ambientCoeff * ambientLight(normal) * base;
    for (int i = 0; i < lightCount; ++i) {
        vec3 toLight;
        vec3 incoming = incomingLight(Lights[i], worldPosition, toLight) * warmth;
        float lambert = max(dot(normal, toLight), 0.0);
        float highlight = 0.0;
        if (lambert > 0.0)
            highlight = pow(max(dot(reflect(-toLight, normal), toEye), 0.0), shininess);
        float shadow = i == 0 ? sunLit : 1.0;
        color += shadow * incoming * (diffuseCoeff * lambert * base + specularCoeff * highlight);
    }
    fragColor = vec4(softClip(color), 1.0);
}
