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
constexpr glm::vec3 hintColour{1.0f, 0.86f, 0.1f};

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

void Hud::drawCentred(const std::string& line, float y, float scale, const glm::vec3& colour) {
    // Narrowed to fit the window; a shadow keeps it readable over the sky
    // and the cube.
    const float wide = text.layout.advance(line, scale);
    if (wide > 0.94f * float(width))
        scale *= 0.94f * float(width) / wide;
    const float x = (float(width) - text.layout.advance(line, scale)) * 0.5f;
    text.renderText(line, x + 2.0f * scale, y - 2.0f * scale, scale, shadowColour);
    text.renderText(line, x, y, scale, colour);
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

    if (session.paused())
        drawCentred(pausedText, float(height) * 0.5f, float(height) / 800.0f, pausedColour);
    if (const auto& hint = session.hint())
        drawCentred(hint->text, float(height) * 0.12f, float(height) / 800.0f * 0.55f, hintColour);

    if (showHelp)
        text.drawImage(100.0f, 100.0f);
    else if (!showStats)
        text.drawLabel("Help: F1", 10.0f, 10.0f);

    if (showStats) {
        text.drawLabel("FPS: " + std::to_string(fps), 10.0f, float(height) - 30.0f);
        text.drawLabel("Puzzles solved: " + std::to_string(session.solvedCount()), 10.0f, 10.0f);
        text.drawLabel("Hints: " + std::to_string(session.hintsShown()), 10.0f, 40.0f);
    }
}

} // namespace zarn
