#include "render/ParticleSimulation.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace zarn;

namespace {

// The generator read independently: 64-bit arithmetic and the mantissa bits
// scaled by 2^-23 instead of a float reinterpretation.
struct ReferenceRandom {
    std::uint64_t state = particleRandomSeed;
    float next() {
        state = state * 16807 % 4294967296ull;
        const std::uint64_t bits = (((state / 16) ^ state) / 512) ^ (state % 131072 * 64);
        return float(double(bits % 8388608) / 8388608.0);
    }
};

void expectNear(const glm::vec3& actual, const glm::vec3& expected) {
    EXPECT_LT(glm::distance(actual, expected), 1e-5f)
        << actual.x << " " << actual.y << " " << actual.z;
}

} // namespace

TEST(ParticleSimulationTest, GeneratorAndRespawnFollowTheRecipe) {
    setParticleRandomState(particleRandomSeed);
    ReferenceRandom reference;
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(particleRandom(), reference.next()) << "draw " << i;
    const float r1 = reference.next(), r2 = reference.next(), r3 = reference.next(),
                r4 = reference.next();
    const glm::vec3 jitter = 0.2f * glm::vec3(r3, r2, r1) - 0.1f;
    ParticleSimulation emitter(1);
    emitter.spawnArea = {glm::vec3(1, 2, 3), glm::vec3(10, 20, 30)};
    emitter.velocity = glm::vec3(0.5f, 2, -1);
    Particle p;
    p.age = 5;
    emitter.respawn(p);
    EXPECT_EQ(particleRandomState(), std::uint32_t(reference.state));
    EXPECT_EQ(p.age, 0.0f);
    EXPECT_EQ(p.size, 20.0f);
    EXPECT_FLOAT_EQ(p.lifetime, 1 + r4);
    expectNear(p.start, glm::vec3(1 + 10 * r3, 2 + 20 * r2, 3 + 30 * r1));
    expectNear(p.position, p.start);
    expectNear(p.drift, emitter.velocity + jitter);
}

TEST(ParticleSimulationTest, ParticlesAgeFromTheFirstFrameAndRespawnOnceExpired) {
    ParticleSimulation emitter(50), other(50);
    emitter.advance(0.016f);
    other.advance(0.016f);
    ASSERT_EQ(emitter.particles.size(), 50u);
    for (const Particle& p : emitter.particles) {
        ASSERT_TRUE(p.age >= 0.016f && p.age < 0.0261f) << p.age;
        // Colour and size follow t alone; the respawn's colour jitter is gone.
        const float t = p.age / p.lifetime;
        EXPECT_FLOAT_EQ(p.size, 20 - 10 * t);
        expectNear(p.colour, glm::vec3(1.0f, 0.7f - 0.7f * t, 0.5f - 0.8f * t));
        expectNear(p.position, p.start + p.drift * t);
    }
    EXPECT_NE(other.particles[0].start, emitter.particles[0].start);

    // The frame in which age passes lifetime draws slightly past the end; the
    // next one respawns.
    Particle& p = emitter.particles[0];
    p.age = p.lifetime - 0.001f;
    emitter.advance(0.1f);
    const float t = p.age / p.lifetime;
    EXPECT_TRUE(t > 1.0f && t < 1.11f) << t;
    expectNear(p.position, p.start + p.drift * t);
    emitter.advance(0.1f);
    ASSERT_EQ(emitter.particles.size(), 50u); // spawned once only
    EXPECT_TRUE(p.age == 0.0f && p.size == 20.0f && p.position == p.start);
}

TEST(ParticleSimulationTest, CloudComponentsSpanTheirRanges) {
    std::srand(7);
    const std::vector<glm::vec3> vertices = makeCloudVertices(2000);
    ASSERT_EQ(vertices.size(), 4000u);
    const glm::vec3 low[2] = {glm::vec3(-1, -1, 0), glm::vec3(0, 0.3f, 0.5f)};
    const glm::vec3 high[2] = {glm::vec3(1, 1, 1), glm::vec3(0.1f, 0.4f, 1.5f)};
    glm::vec3 least[2] = {high[0], high[1]}, most[2] = {low[0], low[1]};
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        least[i % 2] = glm::min(least[i % 2], vertices[i]);
        most[i % 2] = glm::max(most[i % 2], vertices[i]);
    }
    // Within range, and 2000 draws come within 1 % of both ends.
    for (int k = 0; k < 2; ++k) {
        const glm::vec3 margin = 0.01f * (high[k] - low[k]);
        EXPECT_TRUE(glm::all(glm::greaterThanEqual(least[k], low[k])) &&
                    glm::all(glm::lessThan(least[k], low[k] + margin)) &&
                    glm::all(glm::lessThanEqual(most[k], high[k])) &&
                    glm::all(glm::greaterThan(most[k], high[k] - margin)))
            << "vector " << k;
    }
}
