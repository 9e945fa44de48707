#include "views/FlowView.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "puzzles/FlowBoard.h"
#include "render/GeometryData.h"
#include "render/InstancedGeometry.h"
#include "render/Material.h"
#include "render/Occlusion.h"
#include "render/ParticleEmitter.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cstdint>

namespace zarn {

namespace {

constexpr std::uint32_t particlesPerCell = 50;

std::shared_ptr<Material> makeBoardMaterial(std::shared_ptr<Shader> shader, const char* texture) {
    return std::make_shared<Material>(std::move(shader), texture, 0.7f, 0.5f, 0.1f, 5.0f);
}

} // namespace

FlowView::FlowView(const std::shared_ptr<Shader>& geometryShader,
                   std::shared_ptr<Shader> particleShaderIn, const glm::mat4& projection)
    : particleShader(std::move(particleShaderIn)), projection(projection),
      sprite(loadParticleSprite(dataPath(data::particleDisc))),
      boardMaterial(makeBoardMaterial(geometryShader, dataPath(data::flowBoard).c_str())),
      finishedMaterial(
          makeBoardMaterial(geometryShader, dataPath(data::flowBoardFinished).c_str())),
      board(std::make_unique<InstancedGeometry>(
          glm::translate(glm::mat4(1.0f), glm::vec3(1.525f, 0.0f, 0.0f)),
          createBox(0.05f, 3.0f, 3.0f), boardMaterial)),
      // A flat box a hair in front of the board: only its +x face shows, with
      // the texture placed as on the board's. More ambient light than the
      // board gets keeps the marks white rather than grey.
      marks(std::make_unique<InstancedGeometry>(
          glm::translate(glm::mat4(1.0f), glm::vec3(1.555f, 0.0f, 0.0f)),
          createBox(0.0f, 3.0f, 3.0f),
          std::make_shared<Material>(geometryShader, dataPath(data::flowMarks).c_str(), 1.15f, 0.5f,
                                     0.1f, 5.0f))) {}

FlowView::~FlowView() = default;

std::unique_ptr<ParticleEmitter> FlowView::makeEmitter(int k, int value) const {
    if (value == 0)
        return nullptr;
    auto emitter =
        std::make_unique<ParticleEmitter>(particleShader, projection, particlesPerCell, sprite);
    ParticleSimulation& particles = emitter->simulation;
    // Born anywhere in the cell's square on the face, drifting outwards.
    const int row = k / flowBoardCells;
    const int column = k % flowBoardCells;
    const auto& colour = flowPalette[std::size_t(value)];
    particles.velocity = glm::vec3(0.2f, 0.0f, 0.0f);
    particles.colours = {glm::vec3(colour[0], colour[1], colour[2]), glm::vec3(0.0f)};
    particles.spawnArea = {glm::vec3(1.5f, 1.25f - 0.5f * float(row), 1.25f - 0.5f * float(column)),
                           glm::vec3(0.0f, -0.5f, -0.5f)};
    return emitter;
}

void FlowView::advance(const FlowBoard& flow, float deltaSeconds) {
    if (flow.solved)
        return;
    for (int k = 0; k < flowCellCount; ++k) {
        const int value = flow.cells[std::size_t(k)];
        if (value != emitterColours[std::size_t(k)]) {
            emitters[std::size_t(k)] = makeEmitter(k, value);
            emitterColours[std::size_t(k)] = value;
        }
        if (emitters[std::size_t(k)])
            emitters[std::size_t(k)]->advance(deltaSeconds);
    }
}

void FlowView::draw(const FlowBoard& flow, const Sight& sight) {
    board->material = flow.solved ? finishedMaterial : boardMaterial;
    if (!sight.hides(board->bounds()))
        board->draw();
    if (!flow.solved)
        for (const auto& emitter : emitters)
            if (emitter && !sight.hides(emitter->simulation.reach()))
                emitter->draw();
    // After the particles, which write no depth, so the marks cover them.
    if (!sight.hides(marks->bounds())) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        marks->draw();
    }
}

} // namespace zarn
