#include "render/ParticleSimulation.h"

#include <cstdlib>
#include <cstring>

namespace zarn {

namespace {

std::uint32_t randomState = particleRandomSeed;

// rand() scaled to [0, 1].
float unitRand() {
    return float(std::rand()) / float(RAND_MAX);
}

} // namespace

float particleRandom() {
    randomState *= 16807u; // unsigned arithmetic wraps modulo 2^32
    const std::uint32_t bits =
        (((randomState >> 4) ^ randomState) >> 9) ^ ((randomState & 0x1FFFFu) << 6);
    // bits fits in the 23 mantissa bits; with the exponent of 1.0 it reads as
    // a float in [1, 2).
    const std::uint32_t oneToTwo = bits | 0x3F800000u;
    float value = 0;
    std::memcpy(&value, &oneToTwo, sizeof value);
    return value - 1.0f;
}

std::uint32_t particleRandomState() {
    return randomState;
}

void setParticleRandomState(std::uint32_t state) {
    randomState = state;
}

void ParticleSimulation::advance(float deltaSeconds) {
    if (!spawned) {
        particles.resize(particles.size() + count);
        for (Particle& particle : particles)
            respawn(particle);
        spawned = true;
    }
    update(deltaSeconds);
}

void ParticleSimulation::respawn(Particle& particle) {
    const float r1 = particleRandom();
    const float r2 = particleRandom();
    const float r3 = particleRandom();
    const float r4 = particleRandom();
    const glm::vec3 jitter(0.2f * r3 - 0.1f, 0.2f * r2 - 0.1f, 0.2f * r1 - 0.1f);
    particle.age = 0.0f;
    particle.lifetime = 1.0f + r4;
    particle.start = spawnArea[0] + glm::vec3(r3, r2, r1) * spawnArea[1];
    particle.position = particle.start;
    particle.drift = velocity + jitter;
    particle.colour = colours[0] + jitter; // overwritten by the next update
    particle.size = sizeStart;
}

void ParticleSimulation::update(float deltaSeconds) {
    for (Particle& particle : particles) {
        if (particle.lifetime > particle.age)
            particle.age += deltaSeconds + 0.01f * particleRandom();
        else
            respawn(particle);
        // The frame in which age passes lifetime draws once slightly past the end.
        const float t = particle.age / particle.lifetime;
        particle.position = particle.start + particle.drift * t;
        particle.colour = colours[0] + colours[1] * t;
        particle.size = sizeStart + sizeDelta * t;
    }
}

Box ParticleSimulation::reach() const {
    constexpr float overrun = 1.5f, jitter = 0.1f, sprite = 0.3f;
    const glm::vec3 far = spawnArea[0] + spawnArea[1];
    Box box;
    box.add(glm::min(spawnArea[0], far) + glm::min(velocity - jitter, 0.0f) * overrun - sprite);
    box.add(glm::max(spawnArea[0], far) + glm::max(velocity + jitter, 0.0f) * overrun + sprite);
    return box;
}

std::vector<glm::vec3> makeCloudVertices(std::uint32_t count) {
    std::vector<glm::vec3> vertices;
    vertices.reserve(std::size_t(count) * 2);
    for (std::uint32_t i = 0; i < count; ++i) {
        // Separate statements keep the six draws in order.
        glm::vec3 seed, traits;
        seed.x = 2.0f * unitRand() - 1.0f;
        seed.y = 2.0f * unitRand() - 1.0f;
        seed.z = unitRand();
        traits.x = 0.1f * unitRand();
        traits.y = 0.1f * unitRand() + 0.3f;
        traits.z = unitRand() + 0.5f;
        vertices.push_back(seed);
        vertices.push_back(traits);
    }
    return vertices;
}

} // namespace zarn
