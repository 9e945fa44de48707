#include "views/Hud.h"

#include "puzzles/RiverCrossingGame.h"
#include "session/GameSession.h"

#include <algorithm>
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
    : text(std::move(textShader), width, height), width(width), height(height) {
    text.loadGlyphs();
    text.setUpQuad();
}

void Hud::resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    text.resize(width, height);
}

void Hud::drawCentred(const std::string& line, float y, float scale, const glm::vec3& colour,
                      bool shadow) {
    // Narrowed to fit the window; a shadow keeps it readable over the sky
    // and the cube.
    const float wide = text.layout.advance(line, scale);
    if (wide > 0.94f * float(width))
        scale *= 0.94f * float(width) / wide;
    const float x = (float(width) - text.layout.advance(line, scale)) * 0.5f;
    if (shadow)
        text.renderText(line, x + 2.0f * scale, y - 2.0f * scale, scale, shadowColour);
    text.renderText(line, x, y, scale, colour);
}

void Hud::draw(const GameSession& session, const std::string& winLine, bool showHelp,
               bool showStats, int fps) {
    const float labelScale = float(height) / 1600.0f;
    const float bannerScale = float(height) / 800.0f;
    const float middle = float(height) * 0.5f;
    // The countdown keeps to the right edge, whatever the window's width.
    const std::string remaining =
        "Remaining time: " + formatRemainingTime(session.remainingSeconds());
    const float statusX =
        float(width) - text.layout.advance(remaining, labelScale) - 30.0f * labelScale;
    switch (session.state()) {
    case GameState::Won:
        drawCentred("You saved the world", middle, bannerScale, wonColour, false);
        drawCentred(winLine, float(height) * (0.5f - 0.075f), bannerScale * 0.6f, wonColour, false);
        break;
    case GameState::TimeUp:
        drawCentred("Time is up, try again", middle, bannerScale, lostColour, false);
        text.renderText(remaining, statusX, 10.0f, labelScale, lostColour);
        break;
    case GameState::Running:
        break;
    }
    text.drawLabel(remaining, statusX, 10.0f);

    const RiverCrossing& river = session.river().rules();
    if (river.messageSeconds > 0.0f)
        drawCentred(river.message, middle, bannerScale, lostColour, false);

    if (session.paused())
        drawCentred(pausedText, float(height) * 0.5f, float(height) / 800.0f, pausedColour);
    if (const auto& hint = session.hint())
        drawCentred(hint->text, float(height) * 0.12f, float(height) / 800.0f * 0.55f, hintColour);

    // The help image 100 pixels in from the bottom left, or centred and
    // shrunk to fit a window too small for that.
    if (showHelp) {
        const float scale = text.hudWidth > 0 && text.hudHeight > 0
                                ? std::min({1.0f, float(width - 20) / float(text.hudWidth),
                                            float(height - 20) / float(text.hudHeight)})
                                : 1.0f;
        const auto inset = [&](int window, int image) {
            return std::clamp((float(window) - float(image) * scale) * 0.5f, 0.0f, 100.0f);
        };
        text.drawImage(inset(width, text.hudWidth), inset(height, text.hudHeight), scale);
    } else if (!showStats)
        text.drawLabel("Help: F1", 10.0f, 10.0f);

    if (showStats) {
        text.drawLabel("FPS: " + std::to_string(fps), 10.0f, float(height) - 30.0f);
        text.drawLabel("Puzzles solved: " + std::to_string(session.solvedCount()), 10.0f, 10.0f);
        text.drawLabel("Hints: " + std::to_string(session.hintsShown()), 10.0f, 40.0f);
    }
}

} // namespace zarn
