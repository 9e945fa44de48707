#pragma once

#include "app/Camera.h"
#include "app/FrameRateCounter.h"
#include "app/InputState.h"
#include "app/Platform.h"
#include "app/Settings.h"
#include "session/GameEvent.h"

#include <glm/glm.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct GLFWwindow;

namespace zarn {

class DemoPlayer;
class GameSession;
class GameSound;
class RecordBook;
class Renderer;

// The program around one game: the window and its platform, the renderer
// with its views, and the game session they show.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Opens the window, builds the renderer and starts the first game (whose
    // countdown includes the loading time); fatal failures end the program.
    // makePlatform supplies the clock and input source for the frame loop.
    void startUp(const std::function<Platform(GLFWwindow*)>& makePlatform = glfwPlatform);
    // Releases the renderer, then the game, then the window system: every GL
    // object goes before the context does. Prints "Physics done." last.
    void tearDown();

    // A new game in the same window, seen from the starting view.
    void playAgain();
    // The window and its framebuffer have these sizes now: the viewport, the
    // projection and the overlay follow a framebuffer that is not empty.
    void resize(glm::ivec2 windowPixels, glm::ivec2 framebufferPixels);
    glm::ivec2 windowSize() const { return windowPixels; }
    glm::ivec2 framebufferSize() const { return framebufferPixels; }
    // F11: full screen on the monitor the window is on, or back to the
    // window's last size and place.
    void toggleFullscreen();

    // From the next frame the game plays itself, with a DemoPlayer's input
    // and cursor in place of the player's, and keeps no records.
    void startDemo();
    // The player takes over: after this frame's events the demo ends and a
    // fresh game starts; the release of `key` (if any) does nothing.
    void endDemo(int key = -1);
    // The demo under way, or none.
    DemoPlayer* demo() { return player.get(); }
    // A key whose release is not for the game: it ended the demo.
    int& keyThatEndedDemo() { return demoEndKey; }

    GLFWwindow* window() const { return glfwWindow; }
    const Settings& settings() const { return config; }
    Platform& platform() { return io; }
    InputState& input() { return inputState; }
    Camera& camera() { return *eye; }
    Renderer& renderer() { return *scene; }
    GameSession& session() { return *game; }
    RecordBook& records() { return *bestTimes; }
    GameSound& sound() { return *sounds; }
    FrameRateCounter& frameRate() { return rate; }
    // What happened in the game during the latest frame, oldest first.
    std::vector<GameEvent>& frameEvents() { return events; }
    // Whether a frame has shown the paused or minimised game since it began to rest.
    bool& restShown() { return shownAtRest; }

private:
    Settings config;
    GLFWwindow* glfwWindow = nullptr;
    Platform io;
    InputState inputState;
    FrameRateCounter rate;
    std::unique_ptr<Camera> eye;
    std::unique_ptr<Renderer> scene;
    std::unique_ptr<GameSession> game;
    std::unique_ptr<RecordBook> bestTimes;
    std::unique_ptr<GameSound> sounds;
    std::vector<GameEvent> events;
    bool shownAtRest = false;
    glm::ivec2 windowPixels{0};
    glm::ivec2 framebufferPixels{0};
    glm::ivec4 windowedPlace{0}; // x, y, width, height before full screen
    std::unique_ptr<DemoPlayer> player;
    bool demoEnding = false;
    int demoEndKey = -1;
};

// The whole program: the run-time tree looked up (from dataOption first),
// start-up, frame loop, teardown, the game playing itself when demo is set.
// Returns the exit status.
int runGame(bool demo = false, const std::string& dataOption = "");

} // namespace zarn
