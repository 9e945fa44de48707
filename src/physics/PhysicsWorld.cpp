#include "physics/PhysicsWorld.h"

#include <btBulletDynamicsCommon.h>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <vector>

namespace zarn {

class PhysicsActor {
public:
    std::unique_ptr<btCollisionShape> shape;
    std::unique_ptr<btRigidBody> body;
    int tag = 0;
    // Every fixed box of the world this actor belongs to.
    const std::vector<const btRigidBody*>* fixedBoxes = nullptr;
};

namespace {

constexpr btScalar friction = 0.5f;
constexpr btScalar restitution = 0.6f;
constexpr btScalar stepSeconds = 1.0f / 60.0f;
// A spinning ball slows down on its own: without it, a ball put back at the
// start with its spin rolls away again.
constexpr btScalar angularDamping = 0.05f;

// Bullet multiplies two bodies' coefficients; the game's one material should
// touch itself with its own values, so they are averaged.
btScalar averageFriction(const btCollisionObject* a, const btCollisionObject* b) {
    return (a->getFriction() + b->getFriction()) / 2;
}
btScalar averageRestitution(const btCollisionObject* a, const btCollisionObject* b) {
    return (a->getRestitution() + b->getRestitution()) / 2;
}

// The rigid part of a matrix: its translation and the rotation of its upper
// 3 x 3 block, normalised.
btTransform rigidTransform(const glm::mat4& m) {
    const glm::quat rotation = glm::normalize(glm::quat_cast(glm::mat3(m)));
    return btTransform(btQuaternion(rotation.x, rotation.y, rotation.z, rotation.w),
                       btVector3(m[3][0], m[3][1], m[3][2]));
}

glm::mat4 toGlm(const btTransform& transform) {
    glm::mat4 m(1.0f);
    transform.getOpenGLMatrix(glm::value_ptr(m));
    return m;
}

glm::vec3 toGlm(const btVector3& v) {
    return {v.x(), v.y(), v.z()};
}

btVector3 toBullet(const glm::vec3& v) {
    return {v.x, v.y, v.z};
}

// Whether another fixed box has a face in the same plane, facing the same
// way, that covers the point: then the edge between them is a seam inside a
// floor, not a real edge.
bool faceGoesOn(const std::vector<const btRigidBody*>& boxes, const btRigidBody* self,
                const btVector3& outward, const btVector3& point) {
    for (const btRigidBody* other : boxes) {
        if (other == self)
            continue;
        const btTransform& transform = other->getWorldTransform();
        const btVector3 half =
            static_cast<const btBoxShape*>(other->getCollisionShape())->getHalfExtentsWithMargin();
        const btVector3 local = transform.invXform(point);
        for (int axis = 0; axis < 3; ++axis) {
            const btScalar along = transform.getBasis().getColumn(axis).dot(outward);
            if (btFabs(along) < 0.999f)
                continue;
            const btScalar side = along > 0 ? 1.0f : -1.0f;
            if (btFabs(local[axis] * side - half[axis]) > 1e-3f)
                break;
            const int u = (axis + 1) % 3, v = (axis + 2) % 3;
            if (btFabs(local[u]) <= half[u] + 1e-3f && btFabs(local[v]) <= half[v] + 1e-3f)
                return true;
            break;
        }
    }
    return false;
}

// The maze floor is a row of separate boxes. A ball rolling from one onto the
// next sinks a hair into the first and so meets the edge of the next, whose
// contact normal points back against the roll: the ball hops and slows at
// every seam. For a sphere touching a box near an edge or corner, where the
// sphere's centre lies furthest out from an upward face and a level
// neighbour carries that face on, the contact is replaced by one with the
// face, as if it went on: across a seam the floor is one. Real edges, a
// wall's corner or the rim of a pit, keep their contacts.
void contactWithDominantFace(btManifoldPoint& point, const btCollisionObjectWrapper* a,
                             const btCollisionObjectWrapper* b) {
    const bool boxIsB = b->getCollisionShape()->getShapeType() == BOX_SHAPE_PROXYTYPE &&
                        a->getCollisionShape()->getShapeType() == SPHERE_SHAPE_PROXYTYPE;
    const bool boxIsA = a->getCollisionShape()->getShapeType() == BOX_SHAPE_PROXYTYPE &&
                        b->getCollisionShape()->getShapeType() == SPHERE_SHAPE_PROXYTYPE;
    if (!boxIsA && !boxIsB)
        return;
    const btCollisionObjectWrapper* boxSide = boxIsB ? b : a;
    const btCollisionObjectWrapper* sphereSide = boxIsB ? a : b;
    const auto* box = static_cast<const btBoxShape*>(boxSide->getCollisionShape());
    const btScalar radius =
        static_cast<const btSphereShape*>(sphereSide->getCollisionShape())->getRadius();
    const btTransform& boxTransform = boxSide->getWorldTransform();
    const btVector3 sphereCentre = sphereSide->getWorldTransform().getOrigin();
    const btVector3 local = boxTransform.invXform(sphereCentre);
    const btVector3 half = box->getHalfExtentsWithMargin();

    int outsideAxes = 0, dominant = 0;
    btScalar furthest = -BT_LARGE_FLOAT;
    for (int axis = 0; axis < 3; ++axis) {
        const btScalar outside = btFabs(local[axis]) - half[axis];
        outsideAxes += outside > 0 ? 1 : 0;
        if (outside > furthest) {
            furthest = outside;
            dominant = axis;
        }
    }
    if (outsideAxes < 2)
        return; // facing a face: the contact is right as it is

    btVector3 localNormal(0, 0, 0);
    localNormal[dominant] = local[dominant] < 0 ? -1 : 1;
    const btVector3 outward = boxTransform.getBasis() * localNormal; // box towards sphere
    // Only faces the ball rolls on, and only where a neighbour carries them on.
    if (outward.y() < 0.7f)
        return;
    const auto* boxBody = static_cast<const btRigidBody*>(boxSide->getCollisionObject());
    const auto* actor = static_cast<const PhysicsActor*>(boxBody->getUserPointer());
    const btVector3 onPlane = sphereCentre - outward * furthest;
    if (!actor || !actor->fixedBoxes || !faceGoesOn(*actor->fixedBoxes, boxBody, outward, onPlane))
        return;
    const btScalar distance = furthest - radius;
    const btVector3 onSphere = sphereCentre - outward * radius;
    const btVector3 onBox = onSphere - outward * distance;
    point.m_distance1 = distance;
    // The normal on B points from B towards A.
    point.m_normalWorldOnB = boxIsB ? outward : -outward;
    point.m_positionWorldOnA = boxIsB ? onSphere : onBox;
    point.m_positionWorldOnB = boxIsB ? onBox : onSphere;
    point.m_localPointA = a->getWorldTransform().invXform(point.m_positionWorldOnA);
    point.m_localPointB = b->getWorldTransform().invXform(point.m_positionWorldOnB);
}

bool onContactAdded(btManifoldPoint& point, const btCollisionObjectWrapper* a, int, int,
                    const btCollisionObjectWrapper* b, int, int) {
    contactWithDominantFace(point, a, b);
    return true;
}

} // namespace

struct PhysicsWorld::Engine {
    Engine() {
        world.setGravity(btVector3(0.0f, -5.81f, 0.0f));
        // Below 2 units/s bodies meet without bouncing, so a pushed ball
        // does not rattle back off a wall.
        world.getSolverInfo().m_restitutionVelocityThreshold = 2.0f;
        // Hundreds of fixed boxes never move: only moving bodies need their
        // bounds refreshed each step (a reset refreshes the ball's itself).
        world.setForceUpdateAllAabbs(false);
        gCalculateCombinedFrictionCallback = averageFriction;
        gCalculateCombinedRestitutionCallback = averageRestitution;
        gContactAddedCallback = onContactAdded;
    }
    ~Engine() {
        for (const auto& actor : actors)
            world.removeRigidBody(actor->body.get());
    }

    PhysicsActor* add(std::unique_ptr<btCollisionShape> shape, btScalar mass, const glm::mat4& pose,
                      int tag) {
        auto actor = std::make_unique<PhysicsActor>();
        btVector3 inertia(0.0f, 0.0f, 0.0f);
        if (mass > 0.0f)
            shape->calculateLocalInertia(mass, inertia);
        btRigidBody::btRigidBodyConstructionInfo info(mass, nullptr, shape.get(), inertia);
        info.m_startWorldTransform = rigidTransform(pose);
        info.m_friction = friction;
        info.m_restitution = restitution;
        actor->shape = std::move(shape);
        actor->body = std::make_unique<btRigidBody>(info);
        actor->body->setUserPointer(actor.get());
        actor->tag = tag;
        world.addRigidBody(actor->body.get());
        actor->fixedBoxes = &fixedBoxes;
        if (mass == 0.0f)
            fixedBoxes.push_back(actor->body.get());
        actors.push_back(std::move(actor));
        return actors.back().get();
    }

    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher{&configuration};
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world{&dispatcher, &broadphase, &solver, &configuration};
    std::vector<std::unique_ptr<PhysicsActor>> actors;
    std::vector<const btRigidBody*> fixedBoxes;
};

PhysicsWorld::PhysicsWorld() : engine(std::make_unique<Engine>()) {}

PhysicsWorld::~PhysicsWorld() = default;

PhysicsActor* PhysicsWorld::createStaticBox(int tag, float sizeX, float sizeY, float sizeZ,
                                            const glm::mat4& pose) {
    auto shape = std::make_unique<btBoxShape>(btVector3(sizeX, sizeY, sizeZ) * 0.5f);
    return engine->add(std::move(shape), 0.0f, pose, tag);
}

PhysicsActor* PhysicsWorld::createDynamicSphere(int tag, float radius, const glm::mat4& pose) {
    const float density = 1.0f;
    const float mass = density * 4.0f / 3.0f * SIMD_PI * radius * radius * radius;
    PhysicsActor* actor = engine->add(std::make_unique<btSphereShape>(radius), mass, pose, tag);
    // A sleeping body drops the forces it is given: the ball never sleeps.
    actor->body->setActivationState(DISABLE_DEACTIVATION);
    actor->body->setDamping(0.0f, angularDamping);
    // Its contacts pass through onContactAdded, which smooths box seams.
    actor->body->setCollisionFlags(actor->body->getCollisionFlags() |
                                   btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
    return actor;
}

void PhysicsWorld::stepPhysics() {
    // No accumulator: exactly one step per call, never none.
    engine->world.stepSimulation(stepSeconds, 0);
}

PhysicsActor* PhysicsWorld::pickActor(const glm::vec3& origin, const glm::vec3& direction) const {
    const btVector3 from = toBullet(origin), to = toBullet(origin + direction * pickReach);
    btCollisionWorld::ClosestRayResultCallback closest(from, to);
    engine->world.rayTest(from, to, closest);
    if (!closest.hasHit())
        return nullptr;
    return static_cast<PhysicsActor*>(closest.m_collisionObject->getUserPointer());
}

void PhysicsWorld::addForce(PhysicsActor* actor, const glm::vec3& force) {
    actor->body->applyCentralForce(toBullet(force));
    actor->body->activate(true);
}

void PhysicsWorld::resetPose(PhysicsActor* actor, const glm::mat4& pose) {
    btRigidBody& body = *actor->body;
    const btTransform transform = rigidTransform(pose);
    body.setWorldTransform(transform);
    body.setInterpolationWorldTransform(transform);
    body.clearForces();
    body.setLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
    body.setInterpolationLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
    body.setAngularVelocity(btVector3(0.0f, 0.0f, 0.0f));
    body.setInterpolationAngularVelocity(btVector3(0.0f, 0.0f, 0.0f));
    body.activate(true);
    engine->world.updateSingleAabb(&body);
}

void PhysicsWorld::setVelocity(PhysicsActor* actor, const glm::vec3& linear,
                               const glm::vec3& angular) {
    actor->body->setLinearVelocity(toBullet(linear));
    actor->body->setAngularVelocity(toBullet(angular));
    actor->body->activate(true);
}

glm::mat4 PhysicsWorld::pose(const PhysicsActor* actor) {
    return toGlm(actor->body->getWorldTransform());
}

glm::vec3 PhysicsWorld::linearVelocity(const PhysicsActor* actor) {
    return toGlm(actor->body->getLinearVelocity());
}

glm::vec3 PhysicsWorld::angularVelocity(const PhysicsActor* actor) {
    return toGlm(actor->body->getAngularVelocity());
}

int PhysicsWorld::tag(const PhysicsActor* actor) {
    return actor->tag;
}

int PhysicsWorld::bodyCount() const {
    return engine->world.getNumCollisionObjects();
}

} // namespace zarn
