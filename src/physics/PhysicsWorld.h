#pragma once

#include <glm/glm.hpp>

#include <memory>

namespace zarn {

// A body in the physics world. Callers hold handles and compare them with
// the handles a ray cast returns; the type is opaque outside the world.
class PhysicsActor;

// The one rigid-body world: invisible boxes over everything clickable, found
// by ray casts, and the ball, the one moving body, stepped at a fixed 1/60 s.
// Gravity is (0, -5.81, 0); every body has friction 0.5 and restitution 0.6,
// and two bodies touching combine theirs by averaging. Bounces start at an
// approach speed of 2 units/s. Every body carries a tag, the caller's name
// for what it stands for, which a ray cast hands back.
class PhysicsWorld {
public:
    PhysicsWorld();
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    // A fixed box with full edge lengths sizeX x sizeY x sizeZ at the rigid
    // pose of `pose` (its translation and rotation; no scale).
    PhysicsActor* createStaticBox(int tag, float sizeX, float sizeY, float sizeZ,
                                  const glm::mat4& pose);
    // A sphere of density 1 that never sleeps and whose spin fades
    // (angular damping 0.05).
    PhysicsActor* createDynamicSphere(int tag, float radius, const glm::mat4& pose);

    // Exactly one step of 1/60 s.
    void stepPhysics();

    // The closest body within pickReach from origin along the unit
    // direction, or null. A ray that starts inside a box does not hit it.
    PhysicsActor* pickActor(const glm::vec3& origin, const glm::vec3& direction) const;

    // A force through the body's centre for the next step only.
    void addForce(PhysicsActor* actor, const glm::vec3& force);
    // Puts a body at pose at once, at rest: no velocity, no spin, no force.
    // A ray cast right after finds it there.
    void resetPose(PhysicsActor* actor, const glm::mat4& pose);
    void setVelocity(PhysicsActor* actor, const glm::vec3& linear, const glm::vec3& angular);

    int bodyCount() const;

    static glm::mat4 pose(const PhysicsActor* actor);
    static glm::vec3 linearVelocity(const PhysicsActor* actor);
    static glm::vec3 angularVelocity(const PhysicsActor* actor);
    static int tag(const PhysicsActor* actor);

private:
    struct Engine;
    std::unique_ptr<Engine> engine;
};

// Reach of a pick ray, in world units: from the farthest the camera may be
// to beyond the far side of the cube.
inline constexpr float pickReach = 20.0f;

} // namespace zarn
