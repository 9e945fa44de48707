#pragma once

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/InputState.h"
#include "app/Platform.h"
#include "app/Settings.h"
#include "render/ShaderPrograms.h"

#include <glm/glm.hpp>

#include <array>
#include <functional>
#include <memory>

struct GLFWwindow;

namespace zarn {

class BallGame;
class CubeBottom;
class FlowPuzzle;
class Model;
class MovingTiles;
class PentagonPanel;
class PhysicsWorld;
class RiverCrossingGame;
class Shader;
class ShadowMapping;
class Skybox;
class TextRenderer;

// Everything the entry point builds at start-up and drives every frame.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Builds the game in its fixed order; fatal failures end the program.
    // makePlatform supplies the clocks and input source for the frame loop.
    void startUp(const std::function<Platform(GLFWwindow*)>& makePlatform = glfwPlatform);
    // Releases what start-up built, in reverse dependency order, and shuts the
    // window system down. Every GL object goes before the context does.
    void tearDown();

    const std::shared_ptr<Shader>& program(Program which) const {
        return programs[std::size_t(which)];
    }

    Settings settings;
    GLFWwindow* window = nullptr;
    Platform platform;
    InputState input;
    std::array<std::shared_ptr<Shader>, programCount> programs;
    std::unique_ptr<PhysicsWorld> physics;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<TextRenderer> textRenderer;
    glm::mat4 projection{1.0f};
    std::shared_ptr<ShadowMapping> shadowMapping;
    std::unique_ptr<Skybox> skybox;
    std::unique_ptr<Model> frameModel; // the cube's body, mirroring the sky
    std::unique_ptr<BallGame> ballGame;
    std::unique_ptr<MovingTiles> movingTiles;
    std::unique_ptr<RiverCrossingGame> riverCrossing;
    std::unique_ptr<FlowPuzzle> flowPuzzle;
    std::unique_ptr<CubeBottom> cubeBottom;
    std::unique_ptr<PentagonPanel> pentagonPanel;
    FrameState frame;
};

inline constexpr const char* frameModelPath = "assets/models/frame/frame.obj";

// The whole program: start-up, frame loop, teardown. Returns the exit status.
int runGame();

} // namespace zarn
