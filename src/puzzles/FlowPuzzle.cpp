#include "puzzles/FlowPuzzle.h"

#include "physics/PhysicsWorld.h"
#include "render/GeometryData.h"
#include "render/InstancedGeometry.h"
#include "render/Material.h"
#include "render/ParticleEmitter.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstdint>

namespace zarn {

namespace {

constexpr const char* boardTexture = "assets/textures/flowPuzzle/flow_playground.dds";
constexpr const char* finishedTexture = "assets/textures/flowPuzzle/flow_playground_finished.dds";
constexpr const char* spritePath = "assets/textures/particleSystem/particle_full.png";
constexpr std::uint32_t particlesPerCell = 50;

std::shared_ptr<Material> boardMaterial(std::shared_ptr<Shader> shader, const char* texture) {
    return std::make_shared<Material>(std::move(shader), texture, 0.7f, 0.5f, 0.1f, 5.0f);
}

glm::vec3 paletteColour(int value) {
    const auto& c = flowPalette[value];
    return {c[0], c[1], c[2]};
}

} // namespace

glm::vec3 FlowPuzzle::cellCentre(int k) {
    const int row = k / flowBoardCells;
    const int column = k % flowBoardCells;
    return {1.625f, 1.0f - 0.5f * row, 1.0f - 0.5f * column};
}

FlowPuzzle::FlowPuzzle(PhysicsWorld& physics, std::shared_ptr<Shader> geometryShader,
                       std::shared_ptr<Shader> particleShader, const glm::mat4& projection)
    : physics(physics), particleShader(std::move(particleShader)),
      geometryShader(std::move(geometryShader)), projection(projection),
      sprite(loadParticleSprite(spritePath)),
      finishedMaterial(boardMaterial(this->geometryShader, finishedTexture)),
      board(std::make_unique<InstancedGeometry>(
          glm::translate(glm::mat4(1.0f), glm::vec3(1.525f, 0.0f, 0.0f)),
          createBox(0.05f, 3.0f, 3.0f), boardMaterial(this->geometryShader, boardTexture))) {
    for (int k = 0; k < flowCellCount; ++k) {
        cellEmitters[k] = makeEmitter(k);
        cellColliders[k] = physics.createStaticBox(this, 0.1f, 0.5f, 0.5f,
                                                   glm::translate(glm::mat4(1.0f), cellCentre(k)));
    }
}

FlowPuzzle::~FlowPuzzle() = default;

std::unique_ptr<ParticleEmitter> FlowPuzzle::makeEmitter(int k) const {
    const int value = rules.cells[k];
    if (value == 0)
        return nullptr;
    auto emitter =
        std::make_unique<ParticleEmitter>(particleShader, projection, particlesPerCell, sprite);
    ParticleSimulation& particles = emitter->simulation;
    // Born anywhere in the cell's square on the face, drifting outwards.
    const int row = k / flowBoardCells;
    const int column = k % flowBoardCells;
    particles.velocity = glm::vec3(0.2f, 0.0f, 0.0f);
    particles.colours = {paletteColour(value), glm::vec3(0.0f)};
    particles.spawnArea = {glm::vec3(1.5f, 1.25f - 0.5f * row, 1.25f - 0.5f * column),
                           glm::vec3(0.0f, -0.5f, -0.5f)};
    return emitter;
}

void FlowPuzzle::onClick(const glm::vec3& rayOrigin, const glm::vec3& rayDirection) {
    if (solved)
        return;
    PhysicsActor* hit = physics.pickActor(rayOrigin, rayDirection);
    if (!hit)
        return;
    for (int k = 0; k < flowCellCount; ++k) {
        if (cellColliders[k] != hit || !rules.click(k))
            continue;
        // Replacing the emitter releases the previous one with its buffers.
        cellEmitters[k] = makeEmitter(k);
        if (rules.solved) {
            solved = true;
            board->material = finishedMaterial;
        }
    }
}

void FlowPuzzle::update(float deltaSeconds) {
    board->draw();
    if (solved)
        return;
    for (int k = 0; k < flowCellCount; ++k)
        if (rules.cells[k] != 0 && cellEmitters[k])
            cellEmitters[k]->draw(deltaSeconds);
}

} // namespace zarn
