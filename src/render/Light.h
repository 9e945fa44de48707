#pragma once

#include <glm/glm.hpp>

#include <memory>

namespace zarn {

class Shader;

// One light source, written into a slot of a program's "Lights" array.
class Light {
public:
    Light(std::shared_ptr<Shader> shader, const glm::vec3& posDir, bool isLocal, bool isSpot,
          const glm::vec3& lightColor, const glm::vec3& attenuation = glm::vec3(0.0f),
          const glm::vec3& coneDirection = glm::vec3(0.0f), float spotCosCutOff = 0.0f,
          float spotExponent = 0.0f);
    virtual ~Light();

    // Binds the program and sets Lights[slot].isLocal through
    // Lights[slot].spotExponent; members the program lacks are skipped.
    virtual void setUniforms(int slot);

    std::shared_ptr<Shader> shader;
    glm::vec3 posDir; // position of a local light, travel direction otherwise
    bool isLocal;
    bool isSpot;
    glm::vec3 lightColor;
    glm::vec3 attenuation; // constant, linear, quadratic
    glm::vec3 coneDirection;
    float spotCosCutOff; // cosine of the cone's half angle
    float spotExponent;
};

// Direction the game's sun shines in (not normalised): it stands above and
// in front of the cube, towards the player's default view.
inline constexpr glm::vec3 sunDirection{0.0f, -1.0f, -1.0f};

// The game's one light: the sun, directional, colour 0.8.
Light sunLight(std::shared_ptr<Shader> shader);

} // namespace zarn
