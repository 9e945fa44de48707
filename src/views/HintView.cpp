#include "views/HintView.h"

#include "puzzles/BallGame.h"
#include "puzzles/FlowBoard.h"
#include "puzzles/MovingTiles.h"
#include "puzzles/RiverCrossingGame.h"
#include "render/GeometryData.h"
#include "render/InstancedGeometry.h"
#include "render/Material.h"
#include "session/GameSession.h"

#include <cmath>
#include <vector>

namespace zarn {

namespace {

const glm::vec3 hintYellow(1.0f, 0.78f, 0.0f);

// A unit box stretched along u, v and n and centred at `at`.
glm::mat4 bar(const glm::vec3& at, const glm::vec3& u, const glm::vec3& v, const glm::vec3& n) {
    return {glm::vec4(u, 0.0f), glm::vec4(v, 0.0f), glm::vec4(n, 0.0f), glm::vec4(at, 1.0f)};
}

// The four bars of a frame round a rectangle of half sizes (hu, hv) in the
// plane of unit axes u and v, `depth` deep along n.
void frame(std::vector<glm::mat4>& bars, const glm::vec3& centre, const glm::vec3& u, float hu,
           const glm::vec3& v, float hv, const glm::vec3& n, float depth, float width) {
    for (const float side : {-1.0f, 1.0f}) {
        bars.push_back(
            bar(centre + u * (side * hu), u * width, v * (2.0f * hv + width), n * depth));
        bars.push_back(
            bar(centre + v * (side * hv), u * (2.0f * hu + width), v * width, n * depth));
    }
}

} // namespace

HintView::HintView(const std::shared_ptr<Shader>& shader)
    : glow(std::make_shared<Material>(shader, hintYellow)),
      lining(std::make_shared<Material>(shader, hintYellow)),
      marks(
          std::make_unique<InstancedGeometry>(glm::mat4(1.0f), createBox(1.0f, 1.0f, 1.0f), glow)),
      linings(std::make_unique<InstancedGeometry>(glm::mat4(1.0f), createBox(1.0f, 1.0f, 1.0f),
                                                  lining)) {
    // Less light than the plain default keeps the glow's colour from washing out.
    for (Material* material : {glow.get(), lining.get()}) {
        material->ambientCoeff = 0.9f;
        material->diffuseCoeff = 0.4f;
        material->specularCoeff = 0.1f;
    }
}

HintView::~HintView() = default;

void HintView::draw(const GameSession& session) {
    const std::optional<Hint>& hint = session.hint();
    if (!hint || hint->mark == Hint::Mark::None)
        return;
    const glm::vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    std::vector<glm::mat4> bars, inner;
    switch (hint->mark) {
    case Hint::Mark::TileSlot: {
        const glm::vec3 slot = MovingTiles::slotPosition({hint->index / 3, hint->index % 3});
        frame(bars, slot, x, 0.5f, y, 0.5f, z, MovingTiles::tileThickness + 0.06f, 0.08f);
        break;
    }
    case Hint::Mark::RiverTarget: {
        const RiverCrossingGame::Target& target =
            RiverCrossingGame::target(hint->index / 3, hint->index % 3);
        const glm::vec3 front = target.centre - x * (0.5f * target.size.x + 0.03f);
        frame(bars, front, z, 0.5f * target.size.z, y, 0.5f * target.size.y, x, 0.06f, 0.07f);
        break;
    }
    case Hint::Mark::FlowCell: {
        const glm::vec3 front = flowCellCentre(hint->index) + x * 0.08f;
        frame(bars, front, z, 0.23f, y, 0.23f, x, 0.06f, 0.07f);
        frame(inner, front, z, 0.16f, y, 0.16f, x, 0.07f, 0.06f);
        const auto& colour = flowPalette[std::size_t(hint->colour)];
        lining->diffuseColor = glm::vec3(colour[0], colour[1], colour[2]);
        break;
    }
    case Hint::Mark::Ball: {
        const glm::vec3 above = session.ball().centre() + y * 0.2f;
        if (hint->ball.action != BallHint::Action::Push) {
            frame(bars, above, x, 0.17f, z, 0.17f, y, 0.04f, 0.05f);
            break;
        }
        // A shaft from over the ball and two barbs at its tip.
        const glm::vec3 way(float(hint->ball.direction.x), 0.0f, float(hint->ball.direction.y));
        const glm::vec3 side = glm::cross(y, way);
        const glm::vec3 tip = above + way * 0.45f;
        bars.push_back(bar(above + way * 0.2f, way * 0.45f, y * 0.04f, side * 0.07f));
        for (const float turn : {-1.0f, 1.0f}) {
            const glm::vec3 barb = glm::normalize(-way + side * turn);
            bars.push_back(
                bar(tip + barb * 0.1f, barb * 0.24f, y * 0.04f, glm::cross(y, barb) * 0.07f));
        }
        break;
    }
    case Hint::Mark::None:
        return;
    }
    // A slow pulse towards white draws the eye.
    const float pulse = 0.5f + 0.5f * std::sin(float(session.seconds() - hint->shownAt) * 9.0f);
    glow->diffuseColor = glm::mix(hintYellow, glm::vec3(1.0f), 0.35f * pulse);
    for (const auto& [geometry, instances] :
         {std::pair{marks.get(), &bars}, {linings.get(), &inner}})
        if (!instances->empty()) {
            geometry->instances = *instances;
            geometry->uploadInstances();
            geometry->draw();
        }
}

} // namespace zarn
