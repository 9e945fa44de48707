#pragma once

#include "render/DdsImage.h"
#include "render/GLTexture.h"

#include <glm/glm.hpp>

#include <memory>
#include <string>

namespace zarn {

class Shader;

// Surface parameters of the Phong lighting model sent to one program, with an
// optional DDS texture. Shared by every geometry drawn with it.
class Material {
public:
    // Plain colour: coefficients 1, shininess 32, no texture (unit 0 then
    // samples black, so the colour alone shows).
    Material(std::shared_ptr<Shader> shader, const glm::vec3& diffuseColor);
    // Textured: the colour is black and the texture supplies the base colour.
    // A DDS file that cannot be read leaves a texture without an image.
    Material(std::shared_ptr<Shader> shader, const char* ddsPath, float ambientCoeff,
             float diffuseCoeff, float specularCoeff, float alpha);
    virtual ~Material();
    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;

    // Sets a vec3 uniform on the material's program (bound by the caller).
    virtual void setUniform(std::string name, const glm::vec3& value);
    // Binds the program and sends the colour and the four coefficients.
    virtual void setUniforms();

    std::shared_ptr<Shader> shader;
    glm::vec3 diffuseColor{0.0f};
    DdsImage diffuseImage; // released right after the upload
    GLTexture diffuseTexture;
    GLint specularTexture = -1; // -1: none
    float ambientCoeff = 1.0f;
    float diffuseCoeff = 1.0f;
    float specularCoeff = 1.0f;
    float alpha = 32.0f; // specular exponent
};

} // namespace zarn
