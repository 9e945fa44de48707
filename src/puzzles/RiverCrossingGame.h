#pragma once

#include "puzzles/Animator.h"
#include "puzzles/Game.h"
#include "puzzles/RiverCrossing.h"
#include "render/InstancedGeometry.h"
#include "render/Model.h"
#include "render/ParticleCloud.h"

#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zarn {

class Material;
class PhysicsActor;
class PhysicsWorld;
class Shader;

// The river-crossing puzzle on the cube's -x face: a river between two
// banks, trees, the arrow that sends the boat over, the boat and the three
// figures. A click on a figure's spot boards it, on the boat unloads it, on
// the arrow crosses. Figures walk (a tween, with their walk clip) into and out
// of the boat; a crossing and the reset after a failure place them at once.
class RiverCrossingGame : public Game {
public:
    // A figure's models and its walk.
    struct FigureView {
        Model model;
        Model outline;
        float outlineScale;         // the shell's enlargement about the model origin
        std::int64_t walkStart = 0; // steadyMilliseconds() when its latest walk began
        bool walking = false;       // the walk clip plays while set
    };

    RiverCrossingGame(PhysicsWorld& physics, std::shared_ptr<Shader> geometryShader,
                      std::shared_ptr<Shader> modelShader, std::shared_ptr<Shader> particleShader,
                      const glm::mat4& projection);
    ~RiverCrossingGame() override;

    // A click's pick ray; ignored once solved.
    void onClick(const glm::vec3& rayOrigin, const glm::vec3& rayDirection);
    // Counts the message down, draws the scene and advances the walks.
    void update(float deltaSeconds);
    void getMessage(std::string& text, float& secondsLeft) const;

    // x of every click target's centre.
    static constexpr float pickDepth = -1.625f;

    PhysicsWorld& physics;
    RiverCrossing rules;
    // Seconds of frame time drawn so far; drives the water's flow.
    double flowSeconds = 0.0;
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
    std::vector<FigureView> figures; // bear, rabbit, carrot: the rules' indices
    Model boat;
    Animator animator;
    // By row and column, as RiverCrossing::play takes them.
    std::array<std::array<PhysicsActor*, 3>, 3> pickColliders{};
    std::array<std::array<glm::vec3, 3>, 3> pickCentres{};
    bool solved = false;

private:
    void act(RiverCrossing::Move move);
    void drawFigure(FigureView& figure);
};

} // namespace zarn
