#include "SkinSkeleton.h"

#include <glm/gtc/matrix_transform.hpp>

namespace assetgen {

int SkinSkeleton::add(const std::string& name, int parent, const glm::vec3& position) {
    const glm::vec3 base = parent >= 0 ? this->position(parent) : glm::vec3(0.0f);
    joints.push_back({name, parent, position - base});
    return static_cast<int>(joints.size()) - 1;
}

glm::vec3 SkinSkeleton::position(int joint) const {
    glm::vec3 sum(0.0f);
    for (int j = joint; j >= 0; j = joints[j].parent) {
        sum += joints[j].offset;
    }
    return sum;
}

glm::mat4 SkinSkeleton::bindLocal(int joint) const {
    return glm::translate(glm::mat4(1.0f), joints[joint].offset);
}

glm::mat4 SkinSkeleton::bindWorld(int joint) const {
    return glm::translate(glm::mat4(1.0f), position(joint));
}

glm::mat4 SkinSkeleton::posed(int joint, const glm::vec3& shift, const glm::quat& rotation,
                              const glm::vec3& scale) const {
    const glm::mat4 t = glm::translate(glm::mat4(1.0f), joints[joint].offset + shift);
    return t * glm::mat4_cast(rotation) * glm::scale(glm::mat4(1.0f), scale);
}

} // namespace assetgen
