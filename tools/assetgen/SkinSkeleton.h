#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <string>
#include <vector>

namespace assetgen {

// A joint hierarchy whose bind pose only translates: every joint keeps the
// model's axes, so poses are written as a shift, a rotation and a scale
// about the joint's own origin.
struct SkinSkeleton {
    struct Joint {
        std::string name;
        int parent = -1;
        glm::vec3 offset{0.0f}; // bind translation relative to the parent
    };

    std::vector<Joint> joints; // parents always come before their children

    // Adds a joint whose origin lies at `position` in model space.
    int add(const std::string& name, int parent, const glm::vec3& position);

    glm::vec3 position(int joint) const;
    glm::mat4 bindLocal(int joint) const;
    glm::mat4 bindWorld(int joint) const;

    // Local transform T(offset + shift) * R * S: the form the importer
    // decomposes animation matrices into, so keys survive the round trip.
    glm::mat4 posed(int joint, const glm::vec3& shift, const glm::quat& rotation,
                    const glm::vec3& scale = glm::vec3(1.0f)) const;
};

} // namespace assetgen
