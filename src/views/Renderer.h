#pragma once

#include "render/ShaderPrograms.h"
#include "render/ShadowMapping.h"
#include "views/Hud.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>

namespace zarn {

class ButtonView;
class FlowView;
class GameSession;
class HintView;
class MazeView;
class Model;
class PanelView;
class RiverView;
class Shader;
class Skybox;
class TilesView;

// Everything that draws the game: the programs, the sky, the cube's mirrored
// body, one view per face and the overlay. It draws what a game session
// holds, at the session's time; it keeps no game state of its own.
class Renderer {
public:
    // Builds the programs, lights them, and loads every view in the game's
    // start-up order. Needs a current context.
    Renderer(int width, int height, const glm::mat4& projection,
             int shadowMapSize = defaultShadowMapSize);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // A framebuffer of this size, seen through this projection.
    void resize(int width, int height, const glm::mat4& projection);
    // Moves the particles on by the session's latest frame time.
    void advance(const GameSession& session);
    // Clears the frame and draws the scene as the eye at eyePosition sees it,
    // leaving out what the cube's body hides. Drawing again without an
    // advance between gives the same picture.
    void drawScene(const GameSession& session, const glm::mat4& viewProjection,
                   const glm::vec3& eyePosition);

    const std::shared_ptr<Shader>& program(Program which) const {
        return programs[std::size_t(which)];
    }

    Hud& hud() { return overlay; }

    // Off, everything is drawn, hidden or not: the same picture, slower.
    bool skipHidden = true;

private:
    std::array<std::shared_ptr<Shader>, programCount> programs;
    Hud overlay;
    std::shared_ptr<ShadowMapping> shadowMapping;
    std::unique_ptr<MazeView> maze;
    std::unique_ptr<TilesView> tiles;
    std::unique_ptr<RiverView> river;
    std::unique_ptr<FlowView> flow;
    std::unique_ptr<ButtonView> button;
    std::unique_ptr<Skybox> skybox;
    std::unique_ptr<Model> frameModel; // the cube's body, mirroring the sky
    std::unique_ptr<PanelView> panel;
    std::unique_ptr<HintView> hints;
};

} // namespace zarn
