#include "render/Material.h"

#include "render/Shader.h"

namespace zarn {

Material::Material(std::shared_ptr<Shader> shader, const glm::vec3& diffuseColor)
    : shader(std::move(shader)), diffuseColor(diffuseColor) {}

Material::Material(std::shared_ptr<Shader> shader, const char* ddsPath, float ambientCoeff,
                   float diffuseCoeff, float specularCoeff, float alpha)
    : shader(std::move(shader)), ambientCoeff(ambientCoeff), diffuseCoeff(diffuseCoeff),
      specularCoeff(specularCoeff), alpha(alpha) {
    diffuseImage = loadDds(ddsPath);
    diffuseTexture = GLTexture::generate();
    glBindTexture(GL_TEXTURE_2D, diffuseTexture.id());
    // An unreadable file has no format to upload; the texture then stays
    // without an image and samples black, instead of raising a GL error.
    if (!diffuseImage.empty()) {
        glCompressedTexImage2D(GL_TEXTURE_2D, 0, diffuseImage.format, GLsizei(diffuseImage.width),
                               GLsizei(diffuseImage.height), 0, GLsizei(diffuseImage.size),
                               diffuseImage.data.get());
        glGenerateMipmap(GL_TEXTURE_2D);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    diffuseImage = DdsImage{};
}

Material::~Material() = default;

void Material::setUniform(std::string name, const glm::vec3& value) {
    shader->setUniform(name, value);
}

void Material::setUniforms() {
    glUseProgram(shader->programId);
    shader->setUniform("diffuseColor", diffuseColor);
    shader->setUniform("ambientCoeff", ambientCoeff);
    shader->setUniform("diffuseCoeff", diffuseCoeff);
    shader->setUniform("specularCoeff", specularCoeff);
    shader->setUniform("alpha", alpha);
}

} // namespace zarn
