#include "views/RiverView.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "puzzles/RiverCrossingGame.h"
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
// The walk clip plays at twice real time: one clip second per half second.
constexpr double walkClipSeconds = 0.5;
constexpr std::uint32_t particleCount = 2000;

glm::mat4 translation(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

// A model whose mesh matrices (the identity as loaded) become `matrix`.
Model placedModel(const std::string& path, const std::shared_ptr<Shader>& shader,
                  const glm::mat4& matrix) {
    Model model(path, shader);
    model.setModelMatrix(matrix);
    return model;
}

std::vector<Model> loadTrees(const std::shared_ptr<Shader>& shader) {
    const struct {
        std::string_view file;
        float y, z;
    } placed[] = {{data::roundTree, 1.2f, -1.2f},
                  {data::pineTree, -1.9f, -1.0f},
                  {data::pineTree, 0.5f, 1.0f},
                  {data::roundTree, -1.2f, 1.2f}};
    std::vector<Model> trees;
    trees.reserve(std::size(placed));
    for (const auto& tree : placed) {
        const glm::mat4 upright =
            glm::rotate(translation(-1.7f, tree.y, tree.z), halfPi, glm::vec3(0.0f, 0.0f, 1.0f));
        trees.push_back(
            placedModel(dataPath(tree.file), shader, glm::scale(upright, glm::vec3(0.3f))));
    }
    return trees;
}

} // namespace

RiverView::RiverView(std::shared_ptr<Shader> geometryShader,
                     const std::shared_ptr<Shader>& modelShader,
                     std::shared_ptr<Shader> particleShader, const glm::mat4& projection)
    : flowParticles(std::move(particleShader), projection, particleCount,
                    dataPath(data::particleGlow)),
      waterMaterial(std::make_shared<Material>(geometryShader, dataPath(data::riverWater).c_str(),
                                               0.5f, 0.7f, 0.1f, 2.0f)),
      bankMaterial(std::make_shared<Material>(geometryShader, dataPath(data::riverSand).c_str(),
                                              0.75f, 0.7f, 0.1f, 2.0f)),
      grassMaterial(std::make_shared<Material>(geometryShader, dataPath(data::riverGrass).c_str(),
                                               0.75f, 0.7f, 0.1f, 2.0f)),
      water(translation(-1.5625f, 0.0f, 0.0f), createBox(0.125f, 3.0f, 1.0f), waterMaterial),
      startBank(translation(-1.6375f, 0.0f, -1.0f), createBox(0.275f, 3.0f, 1.0f), bankMaterial),
      farBank(translation(-1.6375f, 0.0f, 1.0f), createBox(0.275f, 3.0f, 1.0f), bankMaterial),
      startGrass(translation(-1.8f, 0.0f, -1.0f), createBox(0.05f, 3.0f, 1.0f), grassMaterial),
      farGrass(translation(-1.8f, 0.0f, 1.0f), createBox(0.05f, 3.0f, 1.0f), grassMaterial),
      arrow(placedModel(dataPath(data::riverArrow), modelShader, translation(-1.7f, 0.6f, 0.0f))),
      arrowOutline(placedModel(dataPath(data::riverArrowOutline), modelShader,
                               glm::scale(translation(-1.7f, 0.6f, 0.0f), glm::vec3(1.05f)))),
      trees(loadTrees(modelShader)), boat(dataPath(data::boat), modelShader) {
    // Each outline a little larger than its figure, by how thin its parts are.
    constexpr float outlineScales[] = {1.05f, 1.04f, 1.08f};
    figures.reserve(data::figures.size());
    for (std::size_t k = 0; k < data::figures.size(); ++k)
        figures.push_back({Model(dataPath(data::figures[k]), modelShader),
                           Model(dataPath(data::figureOutlines[k]), modelShader),
                           outlineScales[k]});
}

void RiverView::draw(const RiverCrossingGame& river, double seconds, const Sight& sight) {
    for (InstancedGeometry* ground : {&water, &startBank, &farBank, &startGrass, &farGrass})
        if (!sight.hides(ground->bounds()))
            ground->draw();
    // The glints write no depth: drawn after the ground, which would
    // otherwise paint over them. A sawtooth from 0 to 1 every 10 s. They
    // rise a little over the water.
    Box glints = water.bounds();
    glints.add(glints.low - glm::vec3(0.5f, 0.1f, 0.1f));
    if (!sight.hides(glints)) {
        const double cycles = seconds * 0.1;
        flowParticles.draw(float(cycles - std::floor(cycles)));
    }

    if (!sight.hides(arrowOutline.bounds())) {
        arrow.draw();
        glCullFace(GL_FRONT);
        arrowOutline.draw();
        glCullFace(GL_BACK);
    }

    drawFigure(river, RiverCrossing::bear, seconds, sight);
    drawFigure(river, RiverCrossing::rabbit, seconds, sight);
    // Shells in the bind pose: only while nothing walks.
    if (!river.busy()) {
        glCullFace(GL_FRONT);
        for (const int index :
             {RiverCrossing::rabbit, RiverCrossing::carrot, RiverCrossing::bear}) {
            Figure& figure = figures[std::size_t(index)];
            figure.outline.setModelMatrix(
                glm::scale(river.figurePose(index), glm::vec3(figure.outlineScale)));
            if (!sight.hides(figure.outline.bounds()))
                figure.outline.draw();
        }
        glCullFace(GL_BACK);
    }
    drawFigure(river, RiverCrossing::carrot, seconds, sight);

    boat.setModelMatrix(river.rules().boatPlacement());
    if (!sight.hides(boat.bounds()))
        boat.draw();
    for (Model& tree : trees)
        if (!sight.hides(tree.bounds()))
            tree.draw();
}

void RiverView::drawFigure(const RiverCrossingGame& river, int index, double seconds,
                           const Sight& sight) {
    Model& model = figures[std::size_t(index)].model;
    model.setModelMatrix(river.figurePose(index));
    if (!model.skeleton.hasBones || !river.walking(index)) {
        // Bounds hold the bind pose only: a walking figure is always drawn.
        if (!sight.hides(model.bounds()))
            model.draw();
        return;
    }
    Shader& shader = *model.shader;
    glUseProgram(shader.programId);
    shader.setUniform("hasBones", 1);
    const double clipSeconds = (seconds - river.walkStart(index)) / walkClipSeconds;
    model.skeleton.evaluateBones(model.skeleton.animationTime(clipSeconds));
    const std::uint32_t bones = std::min(model.skeleton.boneCount, maxSkinningBones);
    for (std::uint32_t i = 0; i < bones; ++i)
        shader.setUniform("gBones[" + std::to_string(i) + "]", model.skeleton.boneMatrix(i));
    model.draw();
    shader.setUniform("hasBones", 0);
}

} // namespace zarn
