#pragma once

#include "render/GLFramebuffer.h"
#include "render/GLTexture.h"

#include <glm/glm.hpp>

#include <memory>
#include <vector>

namespace zarn {

class InstancedGeometry;
class Material;
class Shader;

// Draws geometries with the shadows of one directional light: their depth as
// the light sees it goes into a square map, then they are drawn normally with
// the map on texture unit 1 for the shadow-receiving program. The map needs
// rendering again only when a shadow caster moved.
inline constexpr int defaultShadowMapSize = 1024;

class ShadowMapping {
public:
    // Ends the program when the depth framebuffer cannot be completed.
    ShadowMapping(std::shared_ptr<Shader> depthShader, const glm::vec3& lightDirection,
                  std::shared_ptr<Shader> shadowShader, int mapSize = defaultShadowMapSize);

    // Renders the geometries' depth into the map. Leaves framebuffer 0
    // bound, back faces culled, the viewport as it was before the pass and
    // every geometry wearing its own material again.
    void renderDepth(const std::vector<InstancedGeometry*>& geometries);
    // Draws the geometries lit, in the shadows of the latest depth pass.
    // Leaves the depth map on unit 1.
    void drawLit(const std::vector<InstancedGeometry*>& geometries);

    GLFramebuffer framebuffer;
    GLTexture depthTexture;
    std::shared_ptr<Shader> depthShader;
    std::shared_ptr<Shader> shadowShader;
    glm::mat4 depthVP{1.0f};     // light projection x light view
    glm::mat4 depthBiasVP{1.0f}; // world to shadow-map coordinates, all in 0..1
    std::shared_ptr<Material> pseudoMaterial;
    int mapSize; // texels along each edge of the map
};

// Light projection x light view for a sun shining along lightDirection: an
// orthographic box 20 units wide around the origin, from 10 units in front
// of the eye at -lightDirection to 20 units behind it.
glm::mat4 lightViewProjection(const glm::vec3& lightDirection);

} // namespace zarn
