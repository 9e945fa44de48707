#include "app/Application.h"

#include "app/DebugOutput.h"
#include "app/InputCallbacks.h"
#include "physics/PhysicsWorld.h"
#include "puzzles/BallGame.h"
#include "puzzles/CubeBottom.h"
#include "puzzles/FlowPuzzle.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/PentagonPanel.h"
#include "puzzles/RiverCrossingGame.h"
#include "render/FatalError.h"
#include "render/Light.h"
#include "render/Model.h"
#include "render/RenderFramework.h"
#include "render/Shader.h"
#include "render/ShadowMapping.h"
#include "render/Skybox.h"
#include "render/TextRenderer.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace zarn {

Application::Application() = default;
Application::~Application() = default;

void Application::startUp(const std::function<Platform(GLFWwindow*)>& makePlatform) {
    settings = loadSettings();
    // GLFW asserts on a negative size and X11 wraps a large one: stop first.
    if (const auto error = windowSizeError(settings))
        fatalError(*error);

    if (!glfwInit())
        fatalError("Failed to init GLFW");
    setGameWindowHints();
    glfwWindowHint(GLFW_REFRESH_RATE, settings.refreshRate);
    GLFWmonitor* monitor = settings.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    window =
        glfwCreateWindow(settings.width, settings.height, settings.title.c_str(), monitor, nullptr);
    if (!window)
        fatalError("Failed to create window");

    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        fatalError("Failed to init GLEW");

    if (glDebugMessageCallback) {
        glDebugMessageCallback(onDebugMessage, nullptr);
        glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    }

    if (!initRenderFramework())
        fatalError("Failed to init framework");

    glfwSetWindowUserPointer(window, this);
    glfwSetKeyCallback(window, onKey);
    glfwSetMouseButtonCallback(window, onMouseButton);
    glfwSetScrollCallback(window, onScroll);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    for (std::size_t i = 0; i < programCount; ++i)
        programs[i] = makeProgram(Program(i));
    physics = std::make_unique<PhysicsWorld>();

    for (const Program lit : litPrograms)
        sunLight(program(lit)).setUniforms(0);

    const float aspect = float(settings.width) / float(settings.height);
    camera = std::make_unique<Camera>(settings.fov, aspect, settings.nearPlane, settings.farPlane,
                                      input);

    textRenderer =
        std::make_unique<TextRenderer>(program(Program::Text), settings.width, settings.height);
    textRenderer->loadGlyphs();
    textRenderer->setUpQuad();

    projection = perspectiveProjection(settings.fov, aspect, settings.nearPlane, settings.farPlane);
    shadowMapping = std::make_shared<ShadowMapping>(program(Program::DepthInstanced), sunDirection,
                                                    program(Program::ShadowMapped));
    ballGame =
        std::make_unique<BallGame>(*physics, shadowMapping, program(Program::Particle), projection);
    movingTiles = std::make_unique<MovingTiles>(*physics, program(Program::PhongInstanced));
    riverCrossing = std::make_unique<RiverCrossingGame>(
        *physics, program(Program::CelShadedInstanced), program(Program::ModelLoading),
        program(Program::ParticleFlow), projection);
    flowPuzzle = std::make_unique<FlowPuzzle>(*physics, program(Program::PhongInstanced),
                                              program(Program::Particle), projection);
    cubeBottom = std::make_unique<CubeBottom>(*physics, program(Program::ModelLoading));
    skybox = std::make_unique<Skybox>(program(Program::Skybox), projection);

    platform = makePlatform(window);
    frame = FrameState{};
    frame.lastFrameTime = float(platform.seconds());
    frame.statusX = float(settings.width) - float(settings.width) / 800.0f * 250.0f;

    frameModel = std::make_unique<Model>(frameModelPath, program(Program::EnvironmentMap));
    pentagonPanel = std::make_unique<PentagonPanel>(program(Program::ModelLoading));
}

void Application::tearDown() {
    pentagonPanel.reset();
    // The puzzles go while the context and the physics world still exist.
    cubeBottom.reset();
    flowPuzzle.reset();
    riverCrossing.reset();
    movingTiles.reset();
    ballGame.reset();
    skybox.reset();
    frameModel.reset();
    shadowMapping.reset();
    textRenderer.reset();
    for (auto program = programs.rbegin(); program != programs.rend(); ++program)
        program->reset();
    shutdownRenderFramework();
    if (physics)
        physics->cleanupPhysics();
    physics.reset();
    camera.reset();
    glfwTerminate();
    window = nullptr;
}

int runGame() {
    Application application;
    application.startUp();
    runFrameLoop(application);
    application.tearDown();
    return 0;
}

} // namespace zarn
