#include "ImageNoise.h"

#include <stb_perlin.h>

namespace assetgen {

float latticeNoise(int x, int y, std::uint32_t seed) {
    std::uint32_t h =
        std::uint32_t(x) * 0x8da6b343u ^ std::uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return float(h >> 8) / float(1u << 24);
}

float tileableFbm(float u, float v, int baseFrequency, int octaves, int seed) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    int frequency = baseFrequency;
    for (int octave = 0; octave < octaves && frequency <= 256; ++octave) {
        sum += amplitude * stb_perlin_noise3_seed(u * frequency, v * frequency, 0.5f * octave,
                                                  frequency, frequency, 0, seed + octave);
        amplitude *= 0.5f;
        frequency *= 2;
    }
    return sum * 1.6f;
}

float spaceFbm(glm::vec3 point, int octaves, int seed) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum +=
            amplitude * stb_perlin_noise3_seed(point.x, point.y, point.z, 0, 0, 0, seed + octave);
        amplitude *= 0.5f;
        point *= 2.0f;
    }
    return sum * 1.6f;
}

} // namespace assetgen
