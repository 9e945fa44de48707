#include "StaticModels.h"

#include <cmath>

namespace assetgen {

namespace {

// The closed body sits a hair inside the puzzle surfaces at +-1.5 so nothing
// drawn on a face fights with it.
constexpr float bodyHalf = 1.49f;
// Edge bars cover the outer tenth of each face and stand a little proud.
constexpr float barInner = 1.4f;
constexpr float barOuter = 1.56f;
constexpr float cornerOuter = 1.6f;

// Frame-local heights of the button parts: y = 0.125 is the cube's bottom face.
constexpr float faceHeight = 0.125f;
constexpr float plateBottom = -0.1f;
constexpr float holeRadius = 0.46f;
constexpr float buttonRadius = 0.42f;
constexpr float plateHalf = 0.7f;

MeshFrame upright() {
    return MeshFrame::facing(glm::vec3(0.0f), glm::vec3(0, 1, 0), glm::vec3(0, 0, 1));
}

// A point of the rounded-square outline |x|^4 + |y|^4 = r^4 in direction angle.
glm::vec2 squircle(float angle, float radius) {
    const float c = std::cos(angle), s = std::sin(angle);
    return radius * glm::vec2(std::copysign(std::sqrt(std::abs(c)), c),
                              std::copysign(std::sqrt(std::abs(s)), s));
}

} // namespace

StaticModel buildCubeFrame() {
    StaticModel model;
    MeshBuilder& mesh = model.mesh;
    const glm::vec2 face = model.palette.add(deepBlue);
    const glm::vec2 bar = model.palette.add({0.86f, 0.88f, 0.93f});
    const glm::vec2 barBevel = model.palette.add({0.97f, 0.97f, 1.0f});
    const glm::vec2 corner = model.palette.add(coralRed);
    const glm::vec2 cornerBevel = model.palette.add({0.95f, 0.55f, 0.5f});

    mesh.addBox(glm::vec3(-bodyHalf), glm::vec3(bodyHalf), face);
    // Twelve bars, each running along one axis at a pair of signs on the
    // other two; they reach into the corner blocks.
    for (int axis = 0; axis < 3; ++axis)
        for (int signs = 0; signs < 4; ++signs) {
            glm::vec3 low, high;
            low[axis] = -barInner - 0.05f;
            high[axis] = barInner + 0.05f;
            int bit = 0;
            for (int other = 0; other < 3; ++other) {
                if (other == axis)
                    continue;
                const bool positive = (signs >> bit++) & 1;
                low[other] = positive ? barInner : -barOuter;
                high[other] = positive ? barOuter : -barInner;
            }
            mesh.addBevelledBox(low, high, 0.035f, bar, barBevel);
        }
    for (int signs = 0; signs < 8; ++signs) {
        glm::vec3 low, high;
        for (int axis = 0; axis < 3; ++axis) {
            const bool positive = (signs >> axis) & 1;
            low[axis] = positive ? barInner : -cornerOuter;
            high[axis] = positive ? cornerOuter : -barInner;
        }
        mesh.addBevelledBox(low, high, 0.06f, corner, cornerBevel);
    }
    return model;
}

StaticModel buildButtonFrame() {
    StaticModel model;
    MeshBuilder& mesh = model.mesh;
    const glm::vec2 plate = model.palette.add(cream);
    const glm::vec2 chamfer = model.palette.add({1.0f, 0.96f, 0.86f});
    const glm::vec2 wall = model.palette.add({0.55f, 0.5f, 0.47f});
    const glm::vec2 screw = model.palette.add({0.86f, 0.88f, 0.93f});

    const int segments = 32;
    Outline inner, outer;
    for (int i = 0; i < segments; ++i) {
        const float angle = 2.0f * float(M_PI) * float(i) / float(segments);
        inner.push_back(holeRadius * glm::vec2(std::cos(angle), std::sin(angle)));
        outer.push_back(squircle(angle, plateHalf));
    }
    // The plate reaches a little into the body so no seam opens against it;
    // its lower side, the one the player sees, is chamfered on both rims.
    const float top = faceHeight + 0.01f;
    mesh.addBand(upright(), inner, outer,
                 {{0.12f, plateBottom},
                  {0.9f, plateBottom},
                  {1.0f, -0.06f},
                  {1.0f, top},
                  {0.0f, top},
                  {0.0f, -0.05f}},
                 {plate, chamfer, plate, plate, wall, chamfer});
    for (int i = 0; i < 4; ++i) {
        const float angle = float(M_PI) * (0.25f + 0.5f * float(i));
        const glm::vec2 at = 0.62f * glm::vec2(std::cos(angle), std::sin(angle));
        MeshFrame frame = upright();
        frame.origin = glm::vec3(at.x, 0.0f, at.y);
        const std::size_t first = mesh.triangleCount();
        mesh.addLathe(frame,
                      {{0.0f, plateBottom - 0.028f},
                       {0.03f, plateBottom - 0.024f},
                       {0.045f, plateBottom - 0.012f},
                       {0.05f, plateBottom + 0.02f},
                       {0.0f, plateBottom + 0.02f}},
                      10, {screw});
        mesh.smoothNormals(first, 50.0f);
    }
    return model;
}

StaticModel buildRedButton() {
    StaticModel model;
    MeshBuilder& mesh = model.mesh;
    const glm::vec2 skirt = model.palette.add({0.78f, 0.1f, 0.12f});
    const glm::vec2 top = model.palette.add({0.5f, 0.07f, 0.08f});

    // The button hangs with its face down (-y): a short cylinder that slides
    // in the frame's hole, closed by a shallow dome whose rings brighten
    // towards the middle like a glossy sweet.
    std::vector<glm::vec2> profile;
    std::vector<glm::vec2> uvs;
    const int domeSteps = 6;
    const float domeBase = -0.035f;
    const float domeDepth = 0.09f;
    for (int i = 0; i <= domeSteps; ++i) {
        const float angle = 0.5f * float(M_PI) * float(i) / float(domeSteps);
        profile.push_back({buttonRadius * std::sin(angle), domeBase - domeDepth * std::cos(angle)});
        if (i < domeSteps) {
            const float shine = 0.5f * float(domeSteps - 1 - i) / float(domeSteps - 1);
            uvs.push_back(model.palette.add(
                glm::mix(glm::vec3(0.95f, 0.16f, 0.15f), glm::vec3(1.0f, 0.55f, 0.5f), shine)));
        }
    }
    profile.push_back({buttonRadius, 0.03f});
    uvs.push_back(skirt);
    profile.push_back({buttonRadius - 0.02f, faceHeight});
    uvs.push_back(skirt);
    profile.push_back({0.0f, faceHeight});
    uvs.push_back(top);
    const std::size_t first = mesh.triangleCount();
    mesh.addLathe(upright(), profile, 32, uvs);
    mesh.smoothNormals(first, 35.0f);
    return model;
}

} // namespace assetgen
