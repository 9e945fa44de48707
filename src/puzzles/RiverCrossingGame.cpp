#include "puzzles/RiverCrossingGame.h"

#include "app/Platform.h"
#include "physics/PhysicsWorld.h"
#include "render/GeometryData.h"
#include "render/Material.h"
#include "render/Shader.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace zarn {

namespace {

constexpr float halfPi = 1.5707964f;
constexpr float walkSeconds = 0.5f;
// The walk clip plays at twice real time: one clip second per 500 ms.
constexpr double walkClipMilliseconds = 500.0;
constexpr std::uint32_t particleCount = 2000;

glm::mat4 translation(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

// A model whose mesh matrices (the identity as loaded) become `matrix`.
Model placedModel(const char* path, const std::shared_ptr<Shader>& shader,
                  const glm::mat4& matrix) {
    Model model(path, shader);
    model.applyTransform(matrix);
    return model;
}

std::vector<Model> loadTrees(const std::shared_ptr<Shader>& shader) {
    const struct {
        const char* path;
        float y, z;
    } placed[] = {{"assets/models/trees_export/trees_1.obj", 1.2f, -1.2f},
                  {"assets/models/trees_export/trees_2.obj", -1.9f, -1.0f},
                  {"assets/models/trees_export/trees_2.obj", 0.5f, 1.0f},
                  {"assets/models/trees_export/trees_1.obj", -1.2f, 1.2f}};
    std::vector<Model> trees;
    trees.reserve(std::size(placed));
    for (const auto& tree : placed) {
        const glm::mat4 upright =
            glm::rotate(translation(-1.7f, tree.y, tree.z), halfPi, glm::vec3(0.0f, 0.0f, 1.0f));
        trees.push_back(placedModel(tree.path, shader, glm::scale(upright, glm::vec3(0.3f))));
    }
    return trees;
}

// Each figure stands at its place in the rules, followed by its outline shell.
std::vector<RiverCrossingGame::FigureView> loadFigures(const std::shared_ptr<Shader>& shader,
                                                       const RiverCrossing& rules) {
    const struct {
        const char *model, *outline;
        float outlineScale;
    } files[] = {{"assets/models/animals/wolf.dae",
                  "assets/models/animals/outlines/wolf_outlines.dae", 1.05f},
                 {"assets/models/animals/bunny13.dae",
                  "assets/models/animals/outlines/bunny_outlines.dae", 1.04f},
                 {"assets/models/animals/carrot.dae",
                  "assets/models/animals/outlines/carrot_outlines.dae", 1.08f}};
    std::vector<RiverCrossingGame::FigureView> figures;
    figures.reserve(std::size(files));
    const std::int64_t now = steadyMilliseconds();
    for (const auto& file : files) {
        figures.push_back({Model(file.model, shader), Model(file.outline, shader),
                           file.outlineScale, now, false});
        figures.back().model.setModelMatrix(rules.placement(int(figures.size() - 1)));
    }
    return figures;
}

// Click targets by row and column: centre (y, z) and full size. The far
// bank's targets are 0.6 high, so neighbouring rows leave a gap between them
// and a click near a border never hits two boxes at the same distance.
struct Target {
    float y, z;
    glm::vec3 size;
};
const glm::vec3 startSpot(0.5f, 0.3f, 0.5f);
const glm::vec3 farSpot(0.33f, 0.6f, 0.33f);
const glm::vec3 boatSpot(0.33f, 0.7f, 0.33f);
const glm::vec3 arrowSpot(0.33f, 0.42f, 0.9f);
const Target targets[3][3] = {
    {{0.67f, -1.0f, startSpot}, {0.0f, -0.33f, boatSpot}, {0.67f, 1.0f, farSpot}},
    {{0.0f, -1.0f, startSpot}, {0.6f, 0.0f, arrowSpot}, {0.0f, 1.0f, farSpot}},
    {{-0.65f, -1.0f, startSpot}, {0.0f, 0.33f, boatSpot}, {-0.65f, 1.0f, farSpot}}};

} // namespace

RiverCrossingGame::RiverCrossingGame(PhysicsWorld& physics, std::shared_ptr<Shader> geometryShader,
                                     std::shared_ptr<Shader> modelShader,
                                     std::shared_ptr<Shader> particleShader,
                                     const glm::mat4& projection)
    : physics(physics), flowParticles(std::move(particleShader), projection, particleCount,
                                      "assets/textures/particleSystem/particle.png"),
      waterMaterial(std::make_shared<Material>(
          geometryShader, "assets/textures/riverCrossingGame/bluish.dds", 0.5f, 0.7f, 0.1f, 2.0f)),
      bankMaterial(std::make_shared<Material>(
          geometryShader, "assets/textures/riverCrossingGame/yellow.dds", 0.75f, 0.7f, 0.1f, 2.0f)),
      grassMaterial(std::make_shared<Material>(
          geometryShader, "assets/textures/riverCrossingGame/green.dds", 0.75f, 0.7f, 0.1f, 2.0f)),
      water(translation(-1.5625f, 0.0f, 0.0f), createBox(0.125f, 3.0f, 1.0f), waterMaterial),
      startBank(translation(-1.6375f, 0.0f, -1.0f), createBox(0.275f, 3.0f, 1.0f), bankMaterial),
      farBank(translation(-1.6375f, 0.0f, 1.0f), createBox(0.275f, 3.0f, 1.0f), bankMaterial),
      startGrass(translation(-1.8f, 0.0f, -1.0f), createBox(0.05f, 3.0f, 1.0f), grassMaterial),
      farGrass(translation(-1.8f, 0.0f, 1.0f), createBox(0.05f, 3.0f, 1.0f), grassMaterial),
      arrow(placedModel("assets/models/riverCrossing/arrow/arrow_V2.obj", modelShader,
                        translation(-1.7f, 0.6f, 0.0f))),
      arrowOutline(placedModel("assets/models/riverCrossing/arrow_outlines/arrow_V2.obj",
                               modelShader,
                               glm::scale(translation(-1.7f, 0.6f, 0.0f), glm::vec3(1.05f)))),
      trees(loadTrees(modelShader)), figures(loadFigures(modelShader, rules)),
      boat("assets/models/riverCrossing/boat/boat.obj", modelShader) {
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row) {
            const Target& target = targets[row][column];
            pickCentres[row][column] = glm::vec3(pickDepth, target.y, target.z);
            pickColliders[row][column] =
                physics.createStaticBox(this, target.size.x, target.size.y, target.size.z,
                                        glm::translate(glm::mat4(1.0f), pickCentres[row][column]));
        }
}

RiverCrossingGame::~RiverCrossingGame() = default;

void RiverCrossingGame::onClick(const glm::vec3& rayOrigin, const glm::vec3& rayDirection) {
    if (solved)
        return;
    const PhysicsActor* hit = physics.pickActor(rayOrigin, rayDirection);
    if (!hit)
        return;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (pickColliders[row][column] == hit) {
                act(rules.play(row, column, !animator.isIdle()));
                solved = rules.solved;
                return;
            }
}

void RiverCrossingGame::act(RiverCrossing::Move move) {
    switch (move) {
    case RiverCrossing::Move::Board:
    case RiverCrossing::Move::Unload: {
        for (FigureView& figure : figures)
            figure.walking = false;
        FigureView& walker = figures[std::size_t(rules.passenger)];
        animator.addModelAnimation(walker.model, rules.placement(rules.passenger), walkSeconds);
        walker.walking = true;
        walker.walkStart = steadyMilliseconds();
        break;
    }
    case RiverCrossing::Move::Cross:
        // The passenger crossed with the boat, or a failure sent everyone home.
        for (std::size_t i = 0; i < figures.size(); ++i)
            figures[i].model.setModelMatrix(rules.placement(int(i)));
        break;
    case RiverCrossing::Move::None:
        break;
    }
}

void RiverCrossingGame::update(float deltaSeconds) {
    rules.update(deltaSeconds);

    water.draw();
    startBank.draw();
    farBank.draw();
    startGrass.draw();
    farGrass.draw();
    // The glints write no depth: drawn after the ground, which would
    // otherwise paint over them. A sawtooth from 0 to 1 every 10 s.
    flowSeconds += deltaSeconds;
    const double cycles = flowSeconds * 0.1;
    flowParticles.draw(float(cycles - std::floor(cycles)));

    arrow.draw();
    glCullFace(GL_FRONT);
    arrowOutline.draw();
    glCullFace(GL_BACK);

    FigureView& bear = figures[RiverCrossing::bear];
    FigureView& rabbit = figures[RiverCrossing::rabbit];
    FigureView& carrot = figures[RiverCrossing::carrot];
    drawFigure(bear);
    drawFigure(rabbit);
    // Shells in the bind pose: only while nothing walks.
    if (animator.isIdle()) {
        glCullFace(GL_FRONT);
        for (FigureView* figure : {&rabbit, &carrot, &bear}) {
            figure->outline.setModelMatrix(
                glm::scale(figure->model.placement(), glm::vec3(figure->outlineScale)));
            figure->outline.draw();
        }
        glCullFace(GL_BACK);
    }
    drawFigure(carrot);

    if (animator.isIdle() && rules.passenger != RiverCrossing::noFigure)
        figures[std::size_t(rules.passenger)].walking = false;
    animator.update(deltaSeconds);

    boat.setModelMatrix(rules.boatPlacement());
    boat.draw();
    for (Model& tree : trees)
        tree.draw();
}

void RiverCrossingGame::drawFigure(FigureView& figure) {
    Model& model = figure.model;
    if (!model.skeleton.hasBones || !figure.walking) {
        model.draw();
        return;
    }
    Shader& shader = *model.shader;
    glUseProgram(shader.programId);
    shader.setUniform("hasBones", 1);
    const double clipSeconds =
        double(steadyMilliseconds() - figure.walkStart) / walkClipMilliseconds;
    model.skeleton.evaluateBones(model.skeleton.animationTime(clipSeconds));
    const std::uint32_t bones = std::min(model.skeleton.boneCount, maxSkinningBones);
    for (std::uint32_t i = 0; i < bones; ++i)
        shader.setUniform("gBones[" + std::to_string(i) + "]", model.skeleton.boneMatrix(i));
    model.draw();
    shader.setUniform("hasBones", 0);
}

void RiverCrossingGame::getMessage(std::string& text, float& secondsLeft) const {
    text = rules.message;
    secondsLeft = rules.messageSeconds;
}

} // namespace zarn
