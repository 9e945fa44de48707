#include "views/Hud.h"

#include "puzzles/RiverCrossingGame.h"
#include "session/GameSession.h"

#include <string>

namespace zarn {

namespace {

constexpr glm::vec3 wonColour{0.5f, 1.0f, 0.5f};
constexpr glm::vec3 lostColour{1.0f, 0.5f, 0.5f};
constexpr glm::vec3 pausedColour{1.0f, 0.93f, 0.55f};
constexpr glm::vec3 shadowColour{0.1f, 0.1f, 0.15f};

} // namespace

Hud::Hud(std::shared_ptr<Shader> textShader, int width, int height)
    : text(std::move(textShader), width, height), width(width), height(height),
      statusX(float(width) - float(width) / 800.0f * 250.0f) {
    text.loadGlyphs();
    text.setUpQuad();
}

void Hud::drawBanner(const std::string& line, float x, const glm::vec3& colour) {
    text.renderText(line, x, float(height) * 0.5f, float(height) / 800.0f, colour);
}

void Hud::draw(const GameSession& session, const std::string& winLine, bool showHelp,
               bool showStats, int fps) {
    const float labelScale = float(height) / 1600.0f;
    switch (session.state()) {
    case GameState::Won:
        drawBanner("You saved the world", 180.0f, wonColour);
        text.renderText(winLine, 180.0f, float(height) * (0.5f - 0.075f),
                        float(height) / 800.0f * 0.6f, wonColour);
        break;
    case GameState::TimeUp:
        drawBanner("Time is up, try again", 180.0f, lostColour);
        text.renderText("Remaining time: 0:00", statusX, 10.0f, labelScale, lostColour);
        break;
    case GameState::Running:
        break;
    }
    text.drawLabel("Remaining time: " + formatRemainingTime(session.remainingSeconds()), statusX,
                   10.0f);

    const RiverCrossing& river = session.river().rules();
    if (river.messageSeconds > 0.0f)
        drawBanner(river.message, 180.0f, lostColour);

    if (session.paused()) {
        // Centred, with a shadow that keeps it readable over the sky and the cube.
        const float scale = float(height) / 800.0f;
        const float x = (float(width) - text.layout.advance(pausedText, scale)) * 0.5f;
        const float y = float(height) * 0.5f;
        text.renderText(pausedText, x + 2.0f * scale, y - 2.0f * scale, scale, shadowColour);
        text.renderText(pausedText, x, y, scale, pausedColour);
    }

    if (showHelp)
        text.drawImage(100.0f, 100.0f);
    else if (!showStats)
        text.drawLabel("Help: F1", 10.0f, 10.0f);

    if (showStats) {
        text.drawLabel("FPS: " + std::to_string(fps), 10.0f, float(height) - 30.0f);
        text.drawLabel("Puzzles solved: " + std::to_string(session.solvedCount()), 10.0f, 10.0f);
    }
}

} // namespace zarn
