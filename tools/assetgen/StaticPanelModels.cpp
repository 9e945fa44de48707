#include "StaticModels.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// The panel is a regular pentagon with a corner at the top, split by five spokes (centre to edge
// middles) into five kite-shaped wells, one per piece; the lock takes the top kite. Heights are
// along +z in the frame's own space; a piece is placed 0.375 further out, so the same surface of a
// piece has a z larger by that much.
constexpr float centreY = -0.12f;
constexpr float outerRadius = 1.25f;
constexpr float openingRadius = 1.15f;
constexpr float plateBack = -0.12f;
constexpr float plateFront = -0.07f;
constexpr float outerFace = 0.04f;
constexpr float pieceLift = 0.375f;
constexpr float tileBack = -0.062f;
constexpr float tileFace = 0.0f;
constexpr float spokeHalfWidth = 0.03f;
// Spokes stay a little under the rim so the hub where they meet shows.
constexpr float spokeTop = outerFace - 0.008f;
constexpr float pieceGap = 0.02f;
constexpr float iconMargin = 0.03f;

const glm::vec2 centre(0.0f, centreY);

glm::vec2 direction(float angle) {
    return glm::vec2(std::cos(angle), std::sin(angle));
}

float cornerAngle(int corner) {
    return 0.5f * float(M_PI) + 0.4f * float(M_PI) * float(corner);
}

// Kite of the pentagon around one corner (0 at the top, counter-clockwise).
Outline kite(int corner, float radius) {
    const float angle = cornerAngle(corner);
    const float apothem = radius * std::cos(0.2f * float(M_PI));
    return {centre, centre + apothem * direction(angle - 0.2f * float(M_PI)),
            centre + radius * direction(angle),
            centre + apothem * direction(angle + 0.2f * float(M_PI))};
}

// Pieces in the viewer's clockwise order from the top: lock, tiles, maze,
// river, flow.
int cornerOfPiece(int number) {
    static const int corners[5] = {0, 4, 3, 2, 1};
    return corners[number - 1];
}

Outline pieceOutline(int number) {
    return offsetOutline(kite(cornerOfPiece(number), openingRadius), -(spokeHalfWidth + pieceGap));
}

struct IconPart {
    Outline outline;
    glm::vec3 colour;
    float top;         // piece-space z of the part's face
    bool ball = false; // drawn as a flattened ball inside the outline's circle
};

const float pieceTop = pieceLift + outerFace;
const float tileTop = pieceLift + tileFace;

Outline rectangle(glm::vec2 low, glm::vec2 high) {
    return {low, {high.x, low.y}, high, {low.x, high.y}};
}

std::vector<IconPart> lockIcon() {
    const glm::vec3 gold(0.98f, 0.79f, 0.34f);
    const glm::vec3 steel(0.86f, 0.88f, 0.93f);
    const glm::vec3 hole(0.05f, 0.13f, 0.25f);
    Outline shackle;
    const glm::vec2 hub(0.0f, 0.3f);
    const int steps = 10;
    for (int i = 0; i <= steps; ++i)
        shackle.push_back(hub + 0.56f * direction(float(M_PI) * float(i) / float(steps)));
    shackle.push_back({-0.56f, 0.0f});
    shackle.push_back({-0.34f, 0.0f});
    for (int i = steps; i >= 0; --i)
        shackle.push_back(hub + 0.34f * direction(float(M_PI) * float(i) / float(steps)));
    shackle.push_back({0.34f, 0.0f});
    shackle.push_back({0.56f, 0.0f});

    Outline keyhole{{0.1f, -0.7f}};
    const glm::vec2 eye(0.0f, -0.25f);
    const float start = glm::radians(-65.0f), end = glm::radians(245.0f);
    for (int i = 0; i <= 12; ++i)
        keyhole.push_back(eye + 0.15f * direction(start + (end - start) * float(i) / 12.0f));
    keyhole.push_back({-0.1f, -0.7f});

    return {{shackle, steel, pieceTop - 0.012f},
            {roundedRectangle({0.0f, -0.35f}, {0.78f, 0.62f}, 0.2f, 3), gold, pieceTop - 0.006f},
            {keyhole, hole, pieceTop}};
}

std::vector<IconPart> tilesIcon() {
    std::vector<IconPart> parts;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            if (row == 2 && column == 2)
                continue;
            const glm::vec2 middle(0.66f * float(column - 1), 0.66f * float(1 - row));
            parts.push_back(
                {rectangle(middle - glm::vec2(0.28f), middle + glm::vec2(0.28f)), cream, pieceTop});
        }
    return parts;
}

std::vector<IconPart> mazeIcon() {
    const glm::vec3 wall = cream;
    const float t = 0.075f;
    std::vector<IconPart> parts = {
        {rectangle({-0.95f, 0.95f - 2 * t}, {0.95f, 0.95f}), wall, pieceTop},
        {rectangle({-0.95f, -0.95f}, {0.95f, -0.95f + 2 * t}), wall, pieceTop},
        {rectangle({-0.95f, -0.95f}, {-0.95f + 2 * t, 0.95f}), wall, pieceTop},
        {rectangle({0.95f - 2 * t, -0.95f}, {0.95f, 0.95f}), wall, pieceTop},
        {rectangle({-0.95f, 0.3f - t}, {0.4f, 0.3f + t}), wall, pieceTop},
        {rectangle({-0.4f, -0.3f - t}, {0.95f, -0.3f + t}), wall, pieceTop},
        {regularPolygon(16, 0.17f, 0.0f, {0.55f, 0.6f}), {0.06f, 0.2f, 0.3f}, tileTop + 0.006f},
    };
    IconPart ball{regularPolygon(16, 0.23f, 0.0f, {-0.52f, -0.6f}), coralRed, pieceTop, true};
    parts.push_back(ball);
    return parts;
}

std::vector<IconPart> riverIcon() {
    std::vector<glm::vec2> wave, lowWave;
    for (int i = 0; i <= 16; ++i) {
        const float x = -0.92f + 1.84f * float(i) / 16.0f;
        wave.push_back({x, -0.5f + 0.08f * std::sin(x * 7.0f)});
        lowWave.push_back({x, -0.82f + 0.08f * std::sin(x * 7.0f + 2.0f)});
    }
    return {
        {strokePolyline(wave, 0.075f), deepBlue, pieceTop - 0.01f},
        {strokePolyline(lowWave, 0.075f), teal, pieceTop - 0.01f},
        {{{-0.48f, -0.4f}, {0.48f, -0.4f}, {0.72f, -0.14f}, {-0.72f, -0.14f}}, coralRed, pieceTop},
        {rectangle({-0.04f, -0.16f}, {0.04f, 0.86f}), {0.36f, 0.24f, 0.2f}, pieceTop - 0.006f},
        {{{0.1f, -0.05f}, {0.62f, -0.05f}, {0.1f, 0.8f}}, {1.0f, 0.98f, 0.94f}, pieceTop},
        {{{-0.1f, -0.05f}, {-0.1f, 0.62f}, {-0.46f, -0.05f}}, {1.0f, 0.98f, 0.94f}, pieceTop},
    };
}

std::vector<IconPart> flowIcon() {
    const struct {
        std::vector<glm::vec2> path;
        glm::vec3 colour;
    } flows[] = {
        {{{-0.75f, 0.75f}, {0.75f, 0.75f}, {0.75f, 0.25f}}, coralRed},
        {{{-0.75f, 0.25f}, {-0.75f, -0.75f}, {0.25f, -0.75f}}, teal},
        {{{-0.25f, 0.25f}, {0.25f, 0.25f}, {0.25f, -0.25f}, {0.75f, -0.25f}, {0.75f, -0.75f}},
         deepBlue},
    };
    std::vector<IconPart> parts;
    for (const auto& flow : flows) {
        parts.push_back({strokePolyline(flow.path, 0.085f), flow.colour, pieceTop - 0.01f});
        parts.push_back(
            {regularPolygon(14, 0.19f, 0.0f, flow.path.front()), flow.colour, pieceTop});
        parts.push_back({regularPolygon(14, 0.19f, 0.0f, flow.path.back()), flow.colour, pieceTop});
    }
    return parts;
}

std::vector<IconPart> iconOf(int number) {
    switch (number) {
    case 1:
        return lockIcon();
    case 2:
        return tilesIcon();
    case 3:
        return mazeIcon();
    case 4:
        return riverIcon();
    default:
        return flowIcon();
    }
}

glm::vec3 tileColour(int number) {
    const glm::vec3 colours[5] = {deepBlue, coralRed, teal, lilac, cream};
    return colours[number - 1];
}

// The largest scale at which every point of the icon, centred at `middle`,
// keeps `margin` from each edge of the convex outline.
float fitScale(const Outline& outline, glm::vec2 middle, const std::vector<IconPart>& parts) {
    float scale = 1.0f;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const glm::vec2 a = outline[i];
        const glm::vec2 edge = glm::normalize(outline[(i + 1) % outline.size()] - a);
        const glm::vec2 inward(-edge.y, edge.x);
        const float room = glm::dot(inward, middle - a) - iconMargin;
        for (const IconPart& part : parts)
            for (const glm::vec2& p : part.outline) {
                const float reach = -glm::dot(inward, p);
                if (reach > 0.0f)
                    scale = std::min(scale, room / reach);
            }
    }
    return scale;
}

// Where along the kite's axis the icon fits largest, and that scale.
struct IconPlacement {
    glm::vec2 centre;
    float scale;
};

IconPlacement placeIcon(int number) {
    const Outline outline = pieceOutline(number);
    const std::vector<IconPart> parts = iconOf(number);
    IconPlacement best{outline[0], 0.0f};
    for (int step = 1; step < 40; ++step) {
        const glm::vec2 middle = glm::mix(outline[0], outline[2], float(step) / 40.0f);
        const float scale = fitScale(outline, middle, parts);
        if (scale > best.scale)
            best = {middle, scale};
    }
    return best;
}

// One scale for all icons, so they look like a set.
float iconScale() {
    float scale = 1.0f;
    for (int number = 1; number <= 5; ++number)
        scale = std::min(scale, placeIcon(number).scale);
    return scale;
}

glm::vec3 lighter(glm::vec3 colour, float amount) {
    return glm::mix(colour, glm::vec3(1.0f), amount);
}

} // namespace

StaticModel buildPanelFrame() {
    StaticModel model;
    MeshBuilder& mesh = model.mesh;
    const glm::vec2 plate = model.palette.add({0.05f, 0.18f, 0.32f});
    const glm::vec2 rim = model.palette.add({0.97f, 0.94f, 0.87f});
    const glm::vec2 rimBevel = model.palette.add({0.88f, 0.82f, 0.7f});
    const glm::vec2 rimWall = model.palette.add({0.6f, 0.56f, 0.5f});
    const glm::vec2 hub = model.palette.add(coralRed);
    const MeshFrame frame;

    // The plate stays inside the rim's outer wall so the two never share a surface.
    mesh.addExtrusion(frame, regularPolygon(5, outerRadius - 0.03f, 0.5f * float(M_PI), centre),
                      plateBack, plateFront, plate, plate);
    mesh.addBand(
        frame, regularPolygon(5, openingRadius, 0.5f * float(M_PI), centre),
        regularPolygon(5, outerRadius, 0.5f * float(M_PI), centre),
        {{0.0f, plateBack}, {1.0f, plateBack}, {1.0f, 0.0f}, {0.55f, outerFace}, {0.0f, outerFace}},
        {plate, rimWall, rimBevel, rim, rimWall});
    const float apothem = openingRadius * std::cos(0.2f * float(M_PI));
    for (int corner = 0; corner < 5; ++corner) {
        const glm::vec2 along = direction(cornerAngle(corner) + 0.2f * float(M_PI));
        const glm::vec2 across(-along.y, along.x);
        const glm::vec2 end = centre + (apothem + 0.03f) * along;
        mesh.addBevelledExtrusion(frame,
                                  {centre - spokeHalfWidth * across, end - spokeHalfWidth * across,
                                   end + spokeHalfWidth * across, centre + spokeHalfWidth * across},
                                  plateFront - 0.01f, spokeTop, 0.012f, rim, rimBevel, rimWall);
    }
    MeshFrame hubFrame;
    hubFrame.origin = glm::vec3(centre, 0.0f);
    const std::size_t first = mesh.triangleCount();
    mesh.addLathe(hubFrame,
                  {{0.0f, plateFront - 0.01f},
                   {0.085f, plateFront - 0.01f},
                   {0.085f, outerFace - 0.02f},
                   {0.06f, outerFace},
                   {0.0f, outerFace}},
                  14, {hub});
    mesh.smoothNormals(first, 50.0f);
    return model;
}

StaticModel buildPanelPiece(int number) {
    StaticModel model;
    if (number < 1 || number > 5)
        return model;
    MeshBuilder& mesh = model.mesh;
    const Outline outline = pieceOutline(number);
    const glm::vec3 colour = tileColour(number);
    const glm::vec2 face = model.palette.add(colour);
    const glm::vec2 bevel = model.palette.add(lighter(colour, 0.35f));
    const glm::vec2 side = model.palette.add(colour * 0.7f);
    const MeshFrame frame;
    mesh.addBevelledExtrusion(frame, outline, pieceLift + tileBack, tileTop, 0.014f, face, bevel,
                              side);

    const glm::vec2 middle = placeIcon(number).centre;
    const float scale = iconScale();
    for (const IconPart& part : iconOf(number)) {
        const glm::vec2 uv = model.palette.add(part.colour);
        const Outline placed = moveOutline(part.outline, middle, scale);
        if (part.ball) {
            glm::vec2 mid(0.0f);
            for (const glm::vec2& p : placed)
                mid += p / float(placed.size());
            const float radius = glm::length(placed.front() - mid);
            const float depth = 0.05f;
            const std::size_t first = mesh.triangleCount();
            mesh.addEllipsoid(glm::vec3(mid, part.top - depth), glm::vec3(radius, radius, depth), 2,
                              uv);
            mesh.smoothNormals(first, 60.0f);
            continue;
        }
        const float height = part.top - tileTop;
        const glm::vec2 sideUv = model.palette.add(part.colour * 0.8f);
        mesh.addBevelledExtrusion(frame, placed, tileTop - 0.01f, part.top,
                                  std::min(0.008f, 0.5f * height), uv, uv, sideUv);
    }
    return model;
}

} // namespace assetgen
