#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace zarn {

// The game's eleven programs, in creation order.
enum class Program {
    ModelLoading,       // models, plain and skinned
    Text,               // HUD text and the help image
    Skybox,             // the sky cube
    EnvironmentMap,     // the frame model mirroring the sky
    PhongInstanced,     // lit boxes and spheres
    ParticleFlow,       // the river's shader-driven particle cloud
    Particle,           // CPU-simulated point-sprite emitters
    CelShaded,          // only receives the start-up light
    CelShadedInstanced, // cel-shaded boxes of the river crossing
    DepthInstanced,     // shadow-map depth pass
    ShadowMapped,       // boxes that receive the shadow map
};

inline constexpr std::size_t programCount = 11;

// Base name of each program's ".vert"/".frag" pair, indexed by Program.
inline constexpr std::array<std::string_view, programCount> shaderProgramNames = {
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

inline constexpr std::string_view programName(Program program) {
    return shaderProgramNames[std::size_t(program)];
}

// Programs that receive the start-up light, in the order it is applied.
inline constexpr std::array<Program, 4> litPrograms = {
    Program::PhongInstanced, Program::ModelLoading, Program::CelShaded, Program::ShadowMapped};

// Programs that get the camera uniforms every frame, in upload order (the
// shadow depth program works in light space and is left out).
inline constexpr std::array<Program, 10> cameraPrograms = {
    Program::ModelLoading,   Program::Text,         Program::Skybox,
    Program::EnvironmentMap, Program::CelShaded,    Program::CelShadedInstanced,
    Program::PhongInstanced, Program::ParticleFlow, Program::Particle,
    Program::ShadowMapped};

} // namespace zarn
