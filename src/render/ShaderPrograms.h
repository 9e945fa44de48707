#pragma once

#include <array>
#include <string_view>

namespace zarn {

// The game's programs in creation order; program number n (1-based) is
// shaderProgramNames[n - 1]. Each name is the base of a ".vert"/".frag" pair.
inline constexpr std::array<std::string_view, 11> shaderProgramNames = {
    "modelLoadingShader",
    "textShader",
    "skyboxShader",
    "environmentMapShader",
    "phongIllumPhoShadedInstanced",
    "particleFlowShader",
    "particleShader",
    "phongIllumCelShaded",
    "phongIllumCelShadedInstanced",
    "depthProjectionShaderInstanced",
    "instancedShadowMappedShader",
};

// Programs that receive the start-up light, in the order it is applied.
inline constexpr std::array<int, 4> litProgramNumbers = {5, 1, 8, 11};

// Programs that get the camera uniforms every frame, in upload order (the
// shadow depth program works in light space and is left out).
inline constexpr std::array<int, 10> cameraProgramNumbers = {1, 2, 3, 4, 8, 9, 5, 6, 7, 11};

} // namespace zarn
