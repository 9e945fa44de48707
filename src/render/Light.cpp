#include "render/Light.h"

#include "render/Shader.h"

namespace zarn {

Light::Light(std::shared_ptr<Shader> shader, const glm::vec3& posDir, bool isLocal, bool isSpot,
             const glm::vec3& lightColor, const glm::vec3& attenuation,
             const glm::vec3& coneDirection, float spotCosCutOff, float spotExponent)
    : shader(std::move(shader)), posDir(posDir), isLocal(isLocal), isSpot(isSpot),
      lightColor(lightColor), attenuation(attenuation), coneDirection(coneDirection),
      spotCosCutOff(spotCosCutOff), spotExponent(spotExponent) {}

Light::~Light() = default;

void Light::setUniforms(int slot) {
    glUseProgram(shader->programId);
    shader->setUniformArrayMember("Lights", slot, "isLocal", isLocal ? 1.0f : 0.0f);
    shader->setUniformArrayMember("Lights", slot, "isSpot", isSpot ? 1.0f : 0.0f);
    shader->setUniformArrayMember("Lights", slot, "posDir", posDir);
    shader->setUniformArrayMember("Lights", slot, "lightColor", lightColor);
    shader->setUniformArrayMember("Lights", slot, "attenuation", attenuation);
    shader->setUniformArrayMember("Lights", slot, "coneDirection", coneDirection);
    shader->setUniformArrayMember("Lights", slot, "spotCosCutOff", spotCosCutOff);
    shader->setUniformArrayMember("Lights", slot, "spotExponent", spotExponent);
}

Light sunLight(std::shared_ptr<Shader> shader) {
    return Light(std::move(shader), sunDirection, false, false, glm::vec3(0.8f));
}

} // namespace zarn
