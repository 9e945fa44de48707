#pragma once

#include "render/GLBuffer.h"
#include "render/GLVertexArray.h"
#include "render/Occlusion.h"

#include <glm/glm.hpp>

#include <memory>
#include <vector>

namespace zarn {

class Material;
struct GeometryData;

// Generated vertex data drawn with one material at one or more instance
// matrices, in a single instanced draw call. Vertex attributes 0 to 2 hold
// position, normal and texture coordinates; 3 to 6 the columns of the
// instance matrix, advancing once per instance.
class InstancedGeometry {
public:
    InstancedGeometry(const glm::mat4& modelMatrix, const GeometryData& data,
                      std::shared_ptr<Material> material);
    InstancedGeometry(std::vector<glm::mat4> instances, const GeometryData& data,
                      std::shared_ptr<Material> material);

    // Binds the material's program and texture and draws every instance.
    void draw();
    // Writes `instances` to the instance buffer again after a change, their
    // number too.
    void uploadInstances();

    // Makes matrix the model matrix and the first instance, and uploads it
    // when it changed.
    void place(const glm::mat4& matrix);
    // The box around every instance.
    Box bounds() const;

    GLVertexArray vertexArray;
    GLBuffer positionBuffer;
    GLBuffer normalBuffer;
    GLBuffer coordBuffer;
    GLBuffer indexBuffer;
    GLBuffer instanceBuffer;
    GLsizei count = 0;                  // indices per instance
    std::shared_ptr<Material> material; // swapped by the shadow pass
    glm::mat4 modelMatrix{1.0f};        // the first instance as built
    std::vector<glm::mat4> instances;
    GLsizei instanceCount = 0;
    Box localBounds; // of the vertex positions
};

} // namespace zarn
