#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

namespace zarn {

class Shader;

// Checks that a usable 4.3 context is current, installs the fallback program
// when nothing is bound yet and uploads the built-in mesh. Prints why and
// returns false when the context is missing or too old.
bool initRenderFramework();

// Deletes the built-in mesh and the fallback program.
void shutdownRenderFramework();

// The fallback program, or null when none was needed or after shutdown.
const Shader* fallbackProgram();

// Positions and triangle indices of the built-in mesh: a closed cluster of
// small crystals, already turned by half a turn about the vertical axis.
struct BuiltInMeshData {
    std::vector<glm::vec3> positions;
    std::vector<std::uint32_t> indices;
};
BuiltInMeshData makeBuiltInMesh();

// GL names of the uploaded built-in mesh; all zero when it is not uploaded.
struct BuiltInMeshObjects {
    unsigned vertexArray = 0;
    unsigned vertexBuffer = 0;
    unsigned indexBuffer = 0;
};
const BuiltInMeshObjects& builtInMesh();

} // namespace zarn
