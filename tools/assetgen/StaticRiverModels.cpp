#include "StaticModels.h"

#include <cmath>

namespace assetgen {

namespace {

// A frame standing up along +y, turned about y by `turn` radians.
MeshFrame standing(glm::vec3 origin, float turn = 0.0f) {
    return MeshFrame::facing(origin, glm::vec3(0, 1, 0),
                             glm::vec3(std::sin(turn), 0.0f, std::cos(turn)));
}

// A gentle, smooth lumpiness for foliage; the same direction always gives
// the same bump.
float lumps(glm::vec3 d, float seed) {
    return std::sin(5.0f * d.x + seed) * std::sin(4.0f * d.y + 2.0f * seed) *
           std::sin(6.0f * d.z + 3.0f * seed);
}

// A lumpy crown in three tones: the bumps lighter, the hollows darker, so
// the leaf clusters read without extra shapes stuck into the crown.
void addFoliage(MeshBuilder& mesh, glm::vec3 centre, glm::vec3 radii, float seed,
                const glm::vec2 (&tones)[3]) {
    MeshBuilder crown;
    crown.addSphere(
        [=](glm::vec3 d) { return centre + radii * d * (1.0f + 0.07f * lumps(d, seed)); }, 2,
        tones[1]);
    const auto& corners = crown.vertices();
    for (std::size_t i = 0; i < corners.size(); i += 3) {
        const glm::vec3 a = corners[i].position, b = corners[i + 1].position,
                        c = corners[i + 2].position;
        const float bump = lumps(glm::normalize(((a + b + c) / 3.0f - centre) / radii), seed);
        mesh.addTriangle(a, b, c, tones[bump > 0.3f ? 2 : bump < -0.3f ? 0 : 1]);
    }
}

// The arrow lies in the river face: its outline runs along z (u) and y (v)
// and faces -x, away from the cube.
MeshFrame arrowFrame() {
    return MeshFrame::facing(glm::vec3(0.0f), glm::vec3(-1, 0, 0), glm::vec3(0, 1, 0));
}

constexpr float arrowHalfThickness = 0.04f;

Outline arrowOutline() {
    return {{0.45f, 0.0f},  {0.2f, 0.19f},   {0.2f, 0.075f},   {-0.2f, 0.075f}, {-0.2f, 0.19f},
            {-0.45f, 0.0f}, {-0.2f, -0.19f}, {-0.2f, -0.075f}, {0.2f, -0.075f}, {0.2f, -0.19f}};
}

// Boat hull: stations along z from stern to bow, each a U-shaped section of
// the shell (outer skin down to the keel and up, then the inside down to the
// floor and back). Heights in the boat's own space: the floor at 0.025 is
// where a passenger's feet go, the water line is at -0.175. The end stations
// are decked: their inside lies flat at the gunwale, so the bow and the stern
// are closed and the end caps are solid rather than U-shaped.
constexpr float boatHalfLength = 0.33f;
constexpr float boatHalfBeam = 0.16f;
constexpr float boatFloor = 0.025f;
constexpr float hullThickness = 0.022f;

struct Station {
    float z, halfBeam, gunwale, keel;
};

Station station(float t) {
    return {boatHalfLength * t, boatHalfBeam * std::sqrt(std::max(0.0f, 1.0f - 0.94f * t * t)),
            0.1f + 0.045f * t * t, -0.2f + 0.13f * t * t * t * t};
}

std::vector<glm::vec3> hullSection(const Station& s, bool decked) {
    const float quarter = 0.5f * float(M_PI);
    const float depth = s.gunwale - s.keel;
    auto outer = [&](float angle, float side) {
        return glm::vec3(side * s.halfBeam * std::sin(angle), s.gunwale - depth * std::cos(angle),
                         s.z);
    };
    const float innerBeam = s.halfBeam - hullThickness;
    const float innerDepth = depth - hullThickness;
    auto inner = [&](float angle, float side) {
        return glm::vec3(side * innerBeam * std::sin(angle),
                         s.gunwale - innerDepth * std::cos(angle), s.z);
    };
    const float floorAngle = std::acos((s.gunwale - boatFloor) / innerDepth);
    const float midAngle = 0.5f * (quarter + floorAngle);

    std::vector<glm::vec3> ring;
    for (int i = 4; i >= 1; --i)
        ring.push_back(outer(quarter * float(i) / 4.0f, -1.0f));
    ring.push_back(outer(0.0f, 1.0f));
    for (int i = 1; i <= 4; ++i)
        ring.push_back(outer(quarter * float(i) / 4.0f, 1.0f));
    const std::vector<glm::vec3> inside = {
        inner(quarter, 1.0f),
        inner(midAngle, 1.0f),
        glm::vec3(innerBeam * std::sin(floorAngle), boatFloor, s.z),
        glm::vec3(-innerBeam * std::sin(floorAngle), boatFloor, s.z),
        inner(midAngle, -1.0f),
        inner(quarter, -1.0f)};
    for (glm::vec3 p : inside)
        ring.push_back(decked ? glm::vec3(p.x, s.gunwale, s.z) : p);
    return ring;
}

} // namespace

StaticModel buildRoundTree() {
    StaticModel model;
    MeshBuilder& mesh = model.mesh;
    const glm::vec2 bark = model.palette.add({0.55f, 0.37f, 0.25f});
    const glm::vec2 leaf = model.palette.add({0.42f, 0.7f, 0.4f});
    const glm::vec2 shade = model.palette.add({0.3f, 0.58f, 0.38f});
    const glm::vec2 light = model.palette.add({0.58f, 0.8f, 0.46f});

    // The trunk starts inside the bank (grass at y = 0.42) and ends inside
    // the crown, one tall lumpy ball.
    mesh.addFrustum(standing(glm::vec3(0.0f)), 0.11f, 0.07f, 0.15f, 1.9f, 6, bark, bark);
    addFoliage(mesh, {0.0f, 2.35f, 0.0f}, {0.46f, 1.0f, 0.46f}, 0.3f, {shade, leaf, light});
    return model;
}

StaticModel buildPineTree() {
    StaticModel model;
    MeshBuilder& mesh = model.mesh;
    const glm::vec2 bark = model.palette.add({0.5f, 0.34f, 0.24f});
    const glm::vec2 under = model.palette.add({0.1f, 0.36f, 0.32f});
    const glm::vec2 tiers[3] = {model.palette.add({0.16f, 0.52f, 0.45f}),
                                model.palette.add({0.2f, 0.6f, 0.5f}),
                                model.palette.add({0.26f, 0.68f, 0.55f})};

    // The pine stands off its origin along x, which the game turns into the
    // river's direction: its two placements, at 1.9 below the face's middle
    // and 0.5 above it, then put one pine on the start bank's lower end and
    // the other on the far bank's upper end, clear of the bear's spot there.
    const glm::vec3 foot(2.17f, 0.0f, 0.0f);
    mesh.addFrustum(standing(foot), 0.1f, 0.06f, 0.15f, 1.3f, 6, bark, bark);
    const struct {
        float radius, base, tip;
    } layers[3] = {{0.5f, 0.95f, 2.05f}, {0.41f, 1.6f, 2.75f}, {0.31f, 2.25f, 3.45f}};
    for (int i = 0; i < 3; ++i)
        mesh.addFrustum(standing(foot, 0.45f * float(i)), layers[i].radius, 0.0f, layers[i].base,
                        layers[i].tip, 7, tiers[i], under);
    return model;
}

StaticModel buildRiverArrow() {
    StaticModel model;
    const glm::vec2 face = model.palette.add({1.0f, 0.56f, 0.38f});
    const glm::vec2 bevel = model.palette.add(cream);
    const glm::vec2 side = model.palette.add({0.7f, 0.24f, 0.22f});
    model.mesh.addBevelledExtrusion(arrowFrame(), arrowOutline(), -arrowHalfThickness,
                                    arrowHalfThickness, 0.02f, face, bevel, side);
    return model;
}

StaticModel buildRiverArrowOutline() {
    StaticModel model;
    const glm::vec2 black = model.palette.add(glm::vec3(0.0f));
    // A touch wider than the arrow, so the rim shows even where the game's
    // 5 % enlargement is thinner than a pixel.
    model.mesh.addExtrusion(arrowFrame(), offsetOutline(arrowOutline(), 0.012f),
                            -arrowHalfThickness, arrowHalfThickness, black, black);
    return model;
}

StaticModel buildBoat() {
    StaticModel model;
    MeshBuilder& mesh = model.mesh;
    const glm::vec2 stripe = model.palette.add(cream);
    const glm::vec2 hull = model.palette.add(coralRed);
    const glm::vec2 bottom = model.palette.add(deepBlue);
    const glm::vec2 rail = model.palette.add({0.72f, 0.52f, 0.36f});
    const glm::vec2 inside = model.palette.add({0.93f, 0.84f, 0.68f});
    const glm::vec2 deck = model.palette.add({0.86f, 0.7f, 0.5f});

    // The inside rises from the floor at |t| = 0.85 to the decks.
    const float stations[] = {-1.0f, -0.93f, -0.85f, -0.6f, -0.3f, 0.0f,
                              0.3f,  0.6f,   0.85f,  0.93f, 1.0f};
    std::vector<std::vector<glm::vec3>> rings;
    for (float t : stations)
        rings.push_back(hullSection(station(t), std::abs(t) > 0.9f));
    mesh.addLoft(rings, false,
                 {stripe, hull, hull, bottom, bottom, hull, hull, stripe, rail, inside, inside,
                  deck, inside, inside, rail},
                 hull);
    // Two dark seams make the floor read as planks.
    const glm::vec2 seam = model.palette.add({0.55f, 0.38f, 0.26f});
    for (float x : {-0.035f, 0.035f})
        mesh.addBox({x - 0.004f, boatFloor - 0.01f, -0.2f}, {x + 0.004f, boatFloor + 0.002f, 0.2f},
                    seam);
    // A thwart across the stern, clear of the middle where the passenger stands.
    const Station at = station(-0.78f);
    const float reach = at.halfBeam - 0.5f * hullThickness;
    mesh.addBevelledBox({-reach, 0.055f, -0.255f}, {reach, 0.078f, -0.205f}, 0.006f, rail, deck);
    return model;
}

} // namespace assetgen
