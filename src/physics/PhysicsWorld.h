#pragma once

#include <glm/glm.hpp>

#include <memory>

namespace zarn {

class Placeable;

// A body in the physics world. Callers hold handles and compare them with
// the handles a ray cast returns; the type is opaque outside the world.
class PhysicsActor;

// The one rigid-body world: invisible boxes over everything clickable, found
// by ray casts, and the ball, the one moving body, stepped at a fixed 1/60 s.
// Gravity is (0, -5.81, 0); every body has friction 0.5 and restitution 0.6,
// and two bodies touching combine theirs by averaging. Bounces start at an
// approach speed of 2 units/s.
class PhysicsWorld {
public:
    PhysicsWorld();
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    // A fixed box with full edge lengths sizeX x sizeY x sizeZ at the rigid
    // pose of `pose` (its translation and rotation; no scale).
    PhysicsActor* createStaticBox(void* userData, float sizeX, float sizeY, float sizeZ,
                                  const glm::mat4& pose);
    // A sphere of density 1 that never sleeps; after every step its pose is
    // placed on `shownBy`, which is also its user data.
    PhysicsActor* createDynamicSphere(Placeable* shownBy, float radius, const glm::mat4& pose);

    // Exactly one step of 1/60 s, then every moving body's pose is placed on
    // the thing that shows it.
    void stepPhysics();

    // The closest body within 10 units from origin along the unit direction,
    // or null. A ray that starts inside a box does not hit that box.
    PhysicsActor* pickActor(const glm::vec3& origin, const glm::vec3& direction) const;

    // A force through the body's centre for the next step only.
    void addForce(PhysicsActor* actor, const glm::vec3& force);
    // Puts a body at pose at once, without linear velocity and forces; its
    // spin stays. A ray cast right after finds it there.
    void resetPose(PhysicsActor* actor, const glm::mat4& pose);
    void setVelocity(PhysicsActor* actor, const glm::vec3& linear, const glm::vec3& angular);

    static glm::mat4 pose(const PhysicsActor* actor);
    static glm::vec3 linearVelocity(const PhysicsActor* actor);
    static glm::vec3 angularVelocity(const PhysicsActor* actor);
    static void* userData(const PhysicsActor* actor);

    // Releases every body and the world and prints "Physics done.".
    void cleanupPhysics();

private:
    struct Engine;
    std::unique_ptr<Engine> engine;
};

// Reach of a pick ray, in world units.
inline constexpr float pickReach = 10.0f;

} // namespace zarn
