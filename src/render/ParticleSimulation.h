#pragma once

#include "render/Occlusion.h"

#include <glm/glm.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zarn {

// One emitter particle. The record is also the vertex format: position,
// colour and size feed the shader, the rest travels along unused.
struct Particle {
    glm::vec3 position; // world space
    glm::vec3 colour;
    float size = 0;  // point size
    glm::vec3 start; // position at birth
    glm::vec3 drift; // displacement from birth to the end of life
    float lifetime = 0;
    float age = 0;
};

static_assert(sizeof(Particle) == 60);
static_assert(offsetof(Particle, position) == 0);
static_assert(offsetof(Particle, colour) == 12);
static_assert(offsetof(Particle, size) == 24);
static_assert(offsetof(Particle, start) == 28);
static_assert(offsetof(Particle, drift) == 40);
static_assert(offsetof(Particle, lifetime) == 52);
static_assert(offsetof(Particle, age) == 56);

// The random generator every emitter shares, so emitters started in the same
// frame still differ. Returns a value in [0, 1).
float particleRandom();
inline constexpr std::uint32_t particleRandomSeed = 0x13371337u;
std::uint32_t particleRandomState();
void setParticleRandomState(std::uint32_t state);

// The CPU side of a particle emitter: particles born in a box, drifting along
// a velocity for 1 to 2 seconds while their colour and size change with age.
class ParticleSimulation {
public:
    explicit ParticleSimulation(std::uint32_t count) : count(count) {}

    // One frame: the first call creates and spawns all particles, then every
    // call ages them by deltaSeconds, so the first frame already moves.
    void advance(float deltaSeconds);
    // Rebirth at a random place in the spawn area with a random lifetime and
    // a jittered drift; draws four random numbers.
    void respawn(Particle& particle);
    // Ages every particle (or respawns it once its lifetime is over) and
    // recomputes position, colour and size from its age.
    void update(float deltaSeconds);
    // The box the particles stay in, with room for their sprites: the spawn
    // area and its drift over a lifetime (the velocity jittered by up to 0.1
    // per axis), with margin for a frame that runs past the end.
    Box reach() const;

    std::vector<Particle> particles;
    std::uint32_t count;
    bool spawned = false;
    std::array<glm::vec3, 2> spawnArea{glm::vec3(-0.5f, 0.0f, -0.5f),
                                       glm::vec3(1.0f, 0.0f, 1.0f)}; // corner, extent
    glm::vec3 velocity{0.0f, 1.0f, 0.0f}; // displacement over a whole lifetime
    std::array<glm::vec3, 2> colours{glm::vec3(1.0f, 0.7f, 0.5f),
                                     glm::vec3(0.0f, -0.7f, -0.8f)}; // at birth, change
    float sizeStart = 20.0f;
    float sizeDelta = -10.0f;
};

// A particle cloud's vertices: per particle two vectors from rand(), the
// first with x, y in [-1, 1] and z in [0, 1], the second with x in [0, 0.1],
// y in [0.3, 0.4] and z in [0.5, 1.5].
std::vector<glm::vec3> makeCloudVertices(std::uint32_t count);

} // namespace zarn
