#pragma once

#include "render/TextRenderer.h"

#include <memory>

namespace zarn {

class GameSession;
class Shader;

// The 2D overlay: the countdown, the end-of-game texts, the river's message,
// the pause notice, the hint's line, the help image and the statistics. Positions are window
// pixels from the bottom-left corner.
class Hud {
public:
    Hud(std::shared_ptr<Shader> textShader, int width, int height);

    // A window of this size from now on.
    void resize(int width, int height);
    // winLine goes under the win banner: the time against the best.
    void draw(const GameSession& session, const std::string& winLine, bool showHelp, bool showStats,
              int fps);

    TextRenderer text;

private:
    // Text centred across the window at baseline y, narrowed to fit, over a
    // shadow or not.
    void drawCentred(const std::string& line, float y, float scale, const glm::vec3& colour,
                     bool shadow = true);

    int width;
    int height;
};

inline constexpr const char* pausedText = "Paused - press P";

} // namespace zarn
