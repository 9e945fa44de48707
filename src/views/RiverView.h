#pragma once

#include "render/InstancedGeometry.h"
#include "render/Model.h"
#include "render/ParticleCloud.h"

#include <glm/glm.hpp>

#include <memory>
#include <vector>

namespace zarn {

class Material;
class RiverCrossingGame;
class Shader;

// Draws the river crossing on the cube's -x face: the river between two
// banks, its flowing glints, trees, the arrow, the boat and the three
// figures, each figure at its pose and walking while the game says so.
class RiverView {
public:
    // geometryShader draws the ground boxes, modelShader every model,
    // particleShader the glints.
    RiverView(std::shared_ptr<Shader> geometryShader, const std::shared_ptr<Shader>& modelShader,
              std::shared_ptr<Shader> particleShader, const glm::mat4& projection);

    // The scene at game time seconds, as far as sight shows it.
    void draw(const RiverCrossingGame& river, double seconds, const Sight& sight);

private:
    // A figure's model and its outline shell.
    struct Figure {
        Model model;
        Model outline;
        float outlineScale; // the shell's enlargement about the model origin
    };

    void drawFigure(const RiverCrossingGame& river, int index, double seconds, const Sight& sight);

    ParticleCloud flowParticles;
    std::shared_ptr<Material> waterMaterial;
    std::shared_ptr<Material> bankMaterial;
    std::shared_ptr<Material> grassMaterial;
    InstancedGeometry water;
    InstancedGeometry startBank;
    InstancedGeometry farBank;
    InstancedGeometry startGrass;
    InstancedGeometry farGrass;
    Model arrow;
    Model arrowOutline;
    std::vector<Model> trees;
    std::vector<Figure> figures; // bear, rabbit, carrot: the rules' indices
    Model boat;
};

} // namespace zarn
