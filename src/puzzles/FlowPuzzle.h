#pragma once

#include "puzzles/FlowBoard.h"
#include "puzzles/Game.h"
#include "render/GLTexture.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>

namespace zarn {

class InstancedGeometry;
class Material;
class ParticleEmitter;
class PhysicsActor;
class PhysicsWorld;
class Shader;

// The five-colour flow puzzle on the cube's +x face: a 5 x 5 board whose
// cells the player clicks to cycle their colour. Every coloured cell shows a
// small stream of particles of its colour drifting out of the board; once
// the board matches the solution it shows the finished picture instead and
// the particles stop.
class FlowPuzzle : public Game {
public:
    // geometryShader draws the board ("phongIllumPhoShadedInstanced"),
    // particleShader the cell emitters ("particleShader").
    FlowPuzzle(PhysicsWorld& physics, std::shared_ptr<Shader> geometryShader,
               std::shared_ptr<Shader> particleShader, const glm::mat4& projection);
    ~FlowPuzzle() override;
    FlowPuzzle(const FlowPuzzle&) = delete;
    FlowPuzzle& operator=(const FlowPuzzle&) = delete;

    // Cycles the colour of the editable cell whose collider the ray hits
    // first; ignored once solved.
    void onClick(const glm::vec3& rayOrigin, const glm::vec3& rayDirection);
    // Draws the board and, while unsolved, the emitter of every coloured
    // cell, advanced by the frame time.
    void update(float deltaSeconds);

    // World-space centre of cell k = 5 * row + column, just in front of the
    // board: rows run down in y, columns towards -z.
    static glm::vec3 cellCentre(int k);

    PhysicsWorld& physics;
    std::shared_ptr<Shader> particleShader;
    std::shared_ptr<Shader> geometryShader;
    glm::mat4 projection;
    std::shared_ptr<const GLTexture> sprite; // shared by every cell emitter
    FlowBoard rules;                         // cells, editable, the solution check
    // The emitter of each coloured cell, replaced when its colour changes;
    // empty cells have none.
    std::array<std::unique_ptr<ParticleEmitter>, flowCellCount> cellEmitters;
    std::array<PhysicsActor*, flowCellCount> cellColliders{};
    std::shared_ptr<Material> finishedMaterial; // put on the board on solving
    std::unique_ptr<InstancedGeometry> board;
    bool solved = false;

private:
    // A new emitter for cell k in its current colour, or none when it is empty.
    std::unique_ptr<ParticleEmitter> makeEmitter(int k) const;
};

} // namespace zarn
