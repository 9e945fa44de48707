#include "app/Application.h"

#include "app/DebugOutput.h"
#include "app/DemoPlayer.h"
#include "app/FrameLoop.h"
#include "app/InputCallbacks.h"
#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "render/FatalError.h"
#include "render/ModelFile.h"
#include "render/RenderFramework.h"
#include "session/GameSession.h"
#include "session/RecordBook.h"
#include "sound/GameSound.h"
#include "views/Renderer.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace zarn {

namespace {

// Where `cmake --install` puts the run-time tree.
constexpr const char* installedDataDirectory = ZARN_INSTALLED_DATA_DIR;

} // namespace

Application::Application() = default;
Application::~Application() = default;

void Application::startUp(const std::function<Platform(GLFWwindow*)>& makePlatform) {
    config = loadSettings(dataPath(data::settings), userSettingsPath());
    // The models import on a worker while the window and context come up.
    auto prefetch = std::make_unique<ModelFilePrefetch>(modelFilesUnder(dataPath(data::models)));
    // GLFW asserts on a negative size and X11 wraps a large one: stop first.
    if (const auto error = windowSizeError(config))
        fatalError(*error);

    if (!glfwInit())
        fatalError("Failed to init GLFW");
    setGameWindowHints(config.antialiasing);
    glfwWindowHint(GLFW_REFRESH_RATE, config.refreshRate);
    GLFWmonitor* monitor = config.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    glfwWindow =
        glfwCreateWindow(config.width, config.height, config.title.c_str(), monitor, nullptr);
    if (!glfwWindow)
        fatalError("Failed to create window");

    glfwMakeContextCurrent(glfwWindow);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        fatalError("Failed to init GLEW");

    if (glDebugMessageCallback) {
        glDebugMessageCallback(onDebugMessage, nullptr);
        glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    }

    if (!initRenderFramework())
        fatalError("Failed to init framework");

    setInputCallbacks(glfwWindow);

    int width = 0, height = 0;
    glfwGetFramebufferSize(glfwWindow, &width, &height);
    width = std::max(width, 1), height = std::max(height, 1);
    const float aspect = float(width) / float(height);
    eye =
        std::make_unique<Camera>(config.fov, aspect, config.nearPlane, config.farPlane, inputState);
    scene = std::make_unique<Renderer>(
        width, height, perspectiveProjection(config.fov, aspect, config.nearPlane, config.farPlane),
        config.shadowMapSize);

    prefetch.reset();
    std::optional<SoundDevice> speakers;
    if (config.sound && !(speakers = SoundDevice::openDefault()))
        std::cout << "Sound off: no audio device" << std::endl;
    sounds = std::make_unique<GameSound>(std::move(speakers), config.volume);
    io = makePlatform(glfwWindow);
    framebufferPixels = {width, height};
    glfwGetCursorPos(glfwWindow, &inputState.cursor.x, &inputState.cursor.y);
    const double now = io.seconds();
    game = std::make_unique<GameSession>(now, now);
    bestTimes = std::make_unique<RecordBook>(recordsPath());
    rate = FrameRateCounter{};
    rate.lastFrameSeconds = now;
    // Input reaches the game from here on.
    glfwSetWindowUserPointer(glfwWindow, this);
}

void Application::playAgain() {
    game->playAgain(io.seconds());
    bestTimes->newGame();
    eye->reset();
    inputState.cameraDistance = cameraStartDistance;
}

void Application::resize(glm::ivec2 window, glm::ivec2 framebuffer) {
    windowPixels = window;
    if (framebuffer == framebufferPixels || framebuffer.x <= 0 || framebuffer.y <= 0)
        return;
    framebufferPixels = framebuffer;
    glViewport(0, 0, framebuffer.x, framebuffer.y);
    eye->projection = perspectiveProjection(config.fov, float(framebuffer.x) / float(framebuffer.y),
                                            config.nearPlane, config.farPlane);
    scene->resize(framebuffer.x, framebuffer.y, eye->projection);
}

void Application::toggleFullscreen() {
    if (glfwGetWindowMonitor(glfwWindow)) {
        glfwSetWindowMonitor(glfwWindow, nullptr, windowedPlace.x, windowedPlace.y, windowedPlace.z,
                             windowedPlace.w, GLFW_DONT_CARE);
        return;
    }
    glfwGetWindowPos(glfwWindow, &windowedPlace.x, &windowedPlace.y);
    glfwGetWindowSize(glfwWindow, &windowedPlace.z, &windowedPlace.w);
    // The monitor under the window's centre, or the primary one.
    const glm::ivec2 centre(windowedPlace.x + windowedPlace.z / 2,
                            windowedPlace.y + windowedPlace.w / 2);
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    for (int k = 0; k < count; ++k) {
        int x = 0, y = 0;
        glfwGetMonitorPos(monitors[k], &x, &y);
        const GLFWvidmode* mode = glfwGetVideoMode(monitors[k]);
        if (mode && centre.x >= x && centre.x < x + mode->width && centre.y >= y &&
            centre.y < y + mode->height)
            monitor = monitors[k];
    }
    if (const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr)
        glfwSetWindowMonitor(glfwWindow, monitor, 0, 0, mode->width, mode->height,
                             mode->refreshRate);
}

void Application::startDemo() {
    player = std::make_unique<DemoPlayer>();
    const Platform real = io;
    // The demo's input follows the window's own events, in the same poll.
    io.pollEvents = [this, real](double waitSeconds) {
        real.pollEvents(waitSeconds);
        if (player && demoEnding) {
            player.reset();
            demoEnding = false;
            playAgain();
        }
        if (player)
            player->play(*this);
    };
    io.cursorPosition = [this, real](double& x, double& y) {
        if (player)
            x = player->cursor().x, y = player->cursor().y;
        else
            real.cursorPosition(x, y);
    };
}

void Application::endDemo(int key) {
    demoEnding = true;
    demoEndKey = key;
}

void Application::tearDown() {
    sounds.reset();
    scene.reset();
    shutdownRenderFramework();
    game.reset();
    std::cout << "Physics done." << std::endl;
    eye.reset();
    glfwTerminate();
    glfwWindow = nullptr;
}

int runGame(bool demo, const std::string& dataOption) {
    const char* environment = std::getenv("ZARN_DATA");
    std::error_code error;
    const DataLookup lookup = findDataDirectory(
        dataOption, environment ? environment : "",
        std::filesystem::read_symlink("/proc/self/exe", error), installedDataDirectory);
    if (!lookup.found)
        fatalError(noDataDirectoryMessage(lookup));
    setDataRoot(*lookup.found);
    Application application;
    application.startUp();
    if (demo)
        application.startDemo();
    runFrameLoop(application);
    application.tearDown();
    return 0;
}

} // namespace zarn
