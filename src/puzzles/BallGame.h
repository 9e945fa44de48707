#pragma once

#include "puzzles/BallMaze.h"
#include "puzzles/Game.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>
#include <vector>

namespace zarn {

class InstancedGeometry;
class ParticleEmitter;
class PhysicsActor;
class PhysicsWorld;
class Shader;
class ShadowMapping;

// The marble maze on the top face, steered with the arrow keys relative to
// the view. The ball is the physics world's one moving body; the board is
// drawn with shadows, and each pit has a small rising fountain.
class BallGame : public Game {
public:
    BallGame(PhysicsWorld& physics, std::shared_ptr<ShadowMapping> shadowMapping,
             std::shared_ptr<Shader> particleShader, const glm::mat4& projection);
    ~BallGame() override;
    BallGame(const BallGame&) = delete;
    BallGame& operator=(const BallGame&) = delete;

    // Checks the ball (goal or fallen) and draws the board, the ball with its
    // outline and the fountains.
    void update(float deltaSeconds);
    // A released key: the arrows push the ball, seen from cameraPosition.
    void onKey(int key, const glm::vec3& cameraPosition);

    // Where the ball is drawn: its centre after the latest physics step.
    glm::vec3 ballCentre() const;

    PhysicsWorld& physics;
    std::unique_ptr<InstancedGeometry> ballOutline;
    PhysicsActor* ballBody = nullptr;
    // The ball first, then the layers: pits, floor, raised platforms, walls,
    // ramps about x, ramps about z.
    std::vector<std::unique_ptr<InstancedGeometry>> drawables;
    std::shared_ptr<ShadowMapping> shadowMapping;
    std::vector<std::unique_ptr<ParticleEmitter>> pitEmitters; // in board order
    bool solved = false;

private:
    std::vector<InstancedGeometry*> shadowed; // drawables, as the shadow pass takes them
};

} // namespace zarn
