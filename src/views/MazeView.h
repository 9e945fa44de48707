#pragma once

#include <glm/glm.hpp>

#include <memory>
#include <vector>

namespace zarn {

class BallGame;
class InstancedGeometry;
class ParticleEmitter;
class Shader;
class ShadowMapping;

// Draws the marble maze on the top face: the board's six layers and the ball
// through the shadow pass, the ball's black outline, and a small rising
// fountain over each pit (the goal's in other colours).
class MazeView {
public:
    MazeView(std::shared_ptr<ShadowMapping> shadowMapping,
             const std::shared_ptr<Shader>& particleShader, const glm::mat4& projection);
    ~MazeView();

    // The ball at its pose; the fountains advanced by the game's frame time.
    void draw(const BallGame& ball, float deltaSeconds);

private:
    std::shared_ptr<ShadowMapping> shadowMapping;
    // The ball first, then the layers: pits, floor, raised platforms, walls,
    // ramps about x, ramps about z.
    std::vector<std::unique_ptr<InstancedGeometry>> drawables;
    std::vector<InstancedGeometry*> shadowed; // the same, as the shadow pass takes them
    std::unique_ptr<InstancedGeometry> ballOutline;
    std::vector<std::unique_ptr<ParticleEmitter>> pitEmitters; // in board order
};

} // namespace zarn
