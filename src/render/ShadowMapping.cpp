#include "render/ShadowMapping.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "render/FatalError.h"
#include "render/InstancedGeometry.h"
#include "render/Material.h"
#include "render/Shader.h"

#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <utility>

namespace zarn {

glm::mat4 lightViewProjection(const glm::vec3& lightDirection) {
    const glm::mat4 projection = glm::ortho(-10.0f, 10.0f, -10.0f, 10.0f, -10.0f, 20.0f);
    const glm::mat4 view =
        glm::lookAt(-lightDirection, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    return projection * view;
}

ShadowMapping::ShadowMapping(std::shared_ptr<Shader> depthShaderIn, const glm::vec3& lightDirection,
                             std::shared_ptr<Shader> shadowShaderIn, int mapSizeIn)
    : framebuffer(GLFramebuffer::generate()), depthTexture(GLTexture::generate()),
      depthShader(std::move(depthShaderIn)), shadowShader(std::move(shadowShaderIn)),
      mapSize(mapSizeIn) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
    glBindTexture(GL_TEXTURE_2D, depthTexture.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT16, mapSize, mapSize, 0, GL_DEPTH_COMPONENT,
                 GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LESS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depthTexture.id(), 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        fatalError("Framebuffer init for ShadowMapping failed");
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    depthVP = lightViewProjection(lightDirection);
    // Scales clip space -1..1 to texture space 0..1 on all three axes.
    const glm::mat4 bias(0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f,
                         0.5f, 0.5f, 0.5f, 1.0f);
    depthBiasVP = bias * depthVP;
    pseudoMaterial = std::make_shared<Material>(depthShader, dataPath(data::shadowTexture).c_str(),
                                                0.1f, 0.5f, 0.5f, 2.0f);
}

void ShadowMapping::renderDepth(const std::vector<InstancedGeometry*>& geometries) {
    std::array<GLint, 4> sceneViewport{};
    glGetIntegerv(GL_VIEWPORT, sceneViewport.data());

    glCullFace(GL_FRONT);
    glViewport(0, 0, mapSize, mapSize);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
    glUseProgram(depthShader->programId);
    depthShader->setUniform("depthVP", depthVP);
    glClear(GL_DEPTH_BUFFER_BIT);
    // Each geometry draws its depth in the pseudo material, whose program is
    // the depth program, and gets its own material straight back.
    for (InstancedGeometry* geometry : geometries) {
        std::shared_ptr<Material> own = std::exchange(geometry->material, pseudoMaterial);
        geometry->draw();
        geometry->material = std::move(own);
    }

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glCullFace(GL_BACK);
    glViewport(sceneViewport[0], sceneViewport[1], sceneViewport[2], sceneViewport[3]);
}

void ShadowMapping::drawLit(const std::vector<InstancedGeometry*>& geometries) {
    glUseProgram(shadowShader->programId);
    shadowShader->setUniform("depthVP", depthVP);
    shadowShader->setUniform("depthBiasVP", depthBiasVP);
    shadowShader->setUniform("shadowSampler", 1);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, depthTexture.id());
    for (InstancedGeometry* geometry : geometries)
        geometry->draw();
}

} // namespace zarn
