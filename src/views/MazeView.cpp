#include "views/MazeView.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "puzzles/BallGame.h"
#include "render/GeometryData.h"
#include "render/InstancedGeometry.h"
#include "render/Material.h"
#include "render/Occlusion.h"
#include "render/ParticleEmitter.h"
#include "render/ShadowMapping.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

namespace zarn {

namespace {

const glm::mat4 startPose = glm::translate(glm::mat4(1.0f), BallMaze::start);

// The six drawn layers by cell code: pits, floor, raised, walls, ramps about
// x (codes 4 and 5), ramps about z (codes 6 and 7).
int layerOf(int cell) {
    switch (cell) {
    case BallMaze::RampUpToMinusZ:
    case BallMaze::RampUpToPlusZ:
        return 4;
    case BallMaze::RampUpToMinusX:
    case BallMaze::RampUpToPlusX:
        return 5;
    default:
        return cell;
    }
}

// A representative cell code of each layer, for its box size.
constexpr int layerCell[6] = {BallMaze::Pit,  BallMaze::Floor,          BallMaze::Raised,
                              BallMaze::Wall, BallMaze::RampUpToMinusZ, BallMaze::RampUpToMinusX};

std::shared_ptr<Material> mazeMaterial(const std::shared_ptr<Shader>& shader,
                                       std::string_view texture, float ambient) {
    return std::make_shared<Material>(shader, dataPath(texture).c_str(), ambient, 0.5f, 0.1f, 5.0f);
}

} // namespace

MazeView::MazeView(std::shared_ptr<ShadowMapping> shadowMappingIn,
                   const std::shared_ptr<Shader>& particleShader, const glm::mat4& projection)
    : shadowMapping(std::move(shadowMappingIn)) {
    const std::shared_ptr<Shader>& shader = shadowMapping->shadowShader;
    const auto ball = mazeMaterial(shader, data::mazeBall, 0.9f);
    const auto black = mazeMaterial(shader, data::black, 0.7f);
    const auto raised = mazeMaterial(shader, data::mazeRaised, 0.9f);
    const std::shared_ptr<Material> layerMaterials[6] = {
        mazeMaterial(shader, data::mazePit, 0.9f),
        mazeMaterial(shader, data::mazeFloor, 0.9f),
        raised,
        mazeMaterial(shader, data::mazeWall, 0.7f),
        raised,
        raised};

    drawables.push_back(
        std::make_unique<InstancedGeometry>(startPose, createSphere(BallMaze::ballRadius), ball));
    ballOutline = std::make_unique<InstancedGeometry>(startPose, createSphere(0.125f), black);

    std::vector<glm::mat4> layers[6];
    const auto sprite = loadParticleSprite(dataPath(data::particleDisc));
    for (int row = 0; row < BallMaze::side; ++row)
        for (int column = 0; column < BallMaze::side; ++column) {
            const int cell = BallMaze::map[std::size_t(row)][std::size_t(column)];
            layers[layerOf(cell)].push_back(BallMaze::cellMatrix(row, column));
            if (cell != BallMaze::Pit)
                continue;
            const glm::vec3 centre = BallMaze::cellCentre(row, column);
            auto emitter =
                std::make_unique<ParticleEmitter>(particleShader, projection, 50, sprite);
            ParticleSimulation& fountain = emitter->simulation;
            fountain.velocity = glm::vec3(0.0f, 0.3f, 0.0f);
            fountain.spawnArea = {glm::vec3(centre.x - 0.1f, 1.5f, centre.z - 0.1f),
                                  glm::vec3(0.2f, 0.0f, 0.2f)};
            // The goal, the fourth pit in board order, glows in other colours.
            const bool goal = pitEmitters.size() == 3;
            fountain.colours =
                goal ? std::array{glm::vec3(0.16f, 0.63f, 0.63f), glm::vec3(0.8f, 0.26f, 0.13f)}
                     : std::array{glm::vec3(0.08f, 0.32f, 0.53f), glm::vec3(0.08f, 0.31f, 0.1f)};
            pitEmitters.push_back(std::move(emitter));
        }
    for (int layer = 0; layer < 6; ++layer) {
        const glm::vec3 size = BallMaze::drawnSize(layerCell[layer]);
        const GeometryData box = createBox(size.x, size.y, size.z);
        drawables.push_back(
            std::make_unique<InstancedGeometry>(layers[layer], box, layerMaterials[layer]));
        casters.push_back(
            std::make_unique<InstancedGeometry>(layers[layer], box, layerMaterials[layer]));
    }
    shadowed.push_back(drawables.front().get());
    for (const auto& caster : casters)
        shadowed.push_back(caster.get());
}

MazeView::~MazeView() = default;

void MazeView::advance(float deltaSeconds) {
    for (const auto& emitter : pitEmitters)
        emitter->advance(deltaSeconds);
}

void MazeView::draw(const BallGame& ball, const Sight& sight) {
    const glm::mat4 pose = ball.pose();
    drawables.front()->place(pose);
    if (shadowedBallPose != pose) {
        shadowMapping->renderDepth(shadowed);
        shadowedBallPose = pose;
    }
    std::vector<InstancedGeometry*> seen;
    if (!sight.hides(drawables.front()->bounds()))
        seen.push_back(drawables.front().get());
    for (std::size_t layer = 0; layer < casters.size(); ++layer) {
        InstancedGeometry& geometry = *drawables[layer + 1];
        std::vector<glm::mat4> visible;
        for (const glm::mat4& box : casters[layer]->instances)
            if (!sight.hides(transformed(geometry.localBounds, box)))
                visible.push_back(box);
        if (visible != geometry.instances) {
            geometry.instances = std::move(visible);
            geometry.uploadInstances();
        }
        seen.push_back(&geometry);
    }
    shadowMapping->drawLit(seen);

    // Only the outline's back faces show: a black rim around the ball.
    ballOutline->place(pose);
    glCullFace(GL_FRONT);
    ballOutline->draw();
    glCullFace(GL_BACK);

    for (const auto& emitter : pitEmitters)
        if (!sight.hides(emitter->simulation.reach()))
            emitter->draw();
}

} // namespace zarn
