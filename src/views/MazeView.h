#pragma once

#include <glm/glm.hpp>

#include <memory>
#include <optional>
#include <vector>

namespace zarn {

class BallGame;
class InstancedGeometry;
class ParticleEmitter;
class Shader;
class ShadowMapping;
struct Sight;

// Draws the marble maze on the top face: the board's six layers and the ball
// through the shadow pass, the ball's black outline, and a small rising
// fountain over each pit (the goal's in other colours). Every box casts its
// shadow; only the boxes the eye can see are drawn.
class MazeView {
public:
    MazeView(std::shared_ptr<ShadowMapping> shadowMapping,
             const std::shared_ptr<Shader>& particleShader, const glm::mat4& projection);
    ~MazeView();

    // Moves the fountains on by the game's frame time.
    void advance(float deltaSeconds);
    // The ball at its pose and the board, as far as sight shows them. The
    // shadow map is rendered again only when the ball moved.
    void draw(const BallGame& ball, const Sight& sight);

private:
    std::shared_ptr<ShadowMapping> shadowMapping;
    // The ball first, then the layers: pits, floor, raised platforms, walls,
    // ramps about x, ramps about z; each layer holds the boxes in sight.
    std::vector<std::unique_ptr<InstancedGeometry>> drawables;
    // Every box of each layer, for the shadow map: hidden boxes still cast
    // shadows onto the ones in sight.
    std::vector<std::unique_ptr<InstancedGeometry>> casters;
    std::vector<InstancedGeometry*> shadowed;  // the ball and the casters
    std::optional<glm::mat4> shadowedBallPose; // the ball in the shadow map
    std::unique_ptr<InstancedGeometry> ballOutline;
    std::vector<std::unique_ptr<ParticleEmitter>> pitEmitters; // in board order
};

} // namespace zarn
