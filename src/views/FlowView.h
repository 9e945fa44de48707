#pragma once

#include "puzzles/FlowLevel.h"
#include "render/GLTexture.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>

namespace zarn {

class FlowBoard;
class InstancedGeometry;
struct Sight;
class Material;
class ParticleEmitter;
class Shader;

// Draws the flow board on the cube's +x face. Every coloured cell shows a
// small stream of particles of its colour drifting out of the board; once the
// board is solved it shows the finished picture instead and the particles
// stop. The end cells' shape marks lie over both, so the pairs can be told
// apart without their colours.
class FlowView {
public:
    // geometryShader draws the board, particleShader the cell emitters.
    FlowView(const std::shared_ptr<Shader>& geometryShader, std::shared_ptr<Shader> particleShader,
             const glm::mat4& projection);
    ~FlowView();

    // The board as it is, the emitters advanced by the game's frame time.
    void advance(const FlowBoard& flow, float deltaSeconds);
    // The board as it is, the emitters and the marks as far as sight shows
    // them. Leaves blending on with the usual alpha blend function.
    void draw(const FlowBoard& flow, const Sight& sight);

private:
    // A new emitter for cell k in colour value, or none for an empty cell.
    std::unique_ptr<ParticleEmitter> makeEmitter(int k, int value) const;

    std::shared_ptr<Shader> particleShader;
    glm::mat4 projection;
    std::shared_ptr<const GLTexture> sprite; // shared by every cell emitter
    std::shared_ptr<Material> boardMaterial;
    std::shared_ptr<Material> finishedMaterial;
    std::unique_ptr<InstancedGeometry> board;
    std::unique_ptr<InstancedGeometry> marks; // see-through but for the marks
    // Each cell's emitter and the colour it was made for (none for empty
    // cells); replaced when the cell's colour changes, which releases the old
    // one.
    std::array<std::unique_ptr<ParticleEmitter>, flowCellCount> emitters;
    std::array<int, flowCellCount> emitterColours{};
};

} // namespace zarn
