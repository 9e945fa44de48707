#include "FigureDesign.h"

#include "FigureBuilder.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

const float pi = 3.14159265f;
const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 zAxis(0.0f, 0.0f, 1.0f);
const glm::quat still(1.0f, 0.0f, 0.0f, 0.0f);

enum CarrotColour { Orange, Ridge, Leaf, Stem, Ink, Shine, Cheek, Mouth };

struct CarrotLeaf {
    glm::vec3 direction;
    float length;
    int joint = 0;
};

} // namespace

FigureDesign makeCarrotFigure() {
    FigureDesign d;
    d.name = "carrot";
    d.modelFile = zarn::data::figures[2];
    d.outlineFile = zarn::data::figureOutlines[2];
    d.textureFile = "carrot_colours.png";
    d.colours = {
        {0.97f, 0.55f, 0.18f}, // carrot
        {0.85f, 0.42f, 0.13f}, // ridges
        {0.42f, 0.74f, 0.30f}, // leaves
        {0.24f, 0.54f, 0.25f}, // stalks
        {0.12f, 0.08f, 0.10f}, // eyes
        {0.98f, 0.98f, 0.98f}, // eye shine
        {0.98f, 0.52f, 0.50f}, // cheeks
        {0.50f, 0.14f, 0.14f}, // mouth
    };
    const FigurePalette palette(d.colours);
    FigureBuilder build(palette);

    // Y up, facing +z, the tip on the grass; x is the carrot's left.
    const float g = -figureGroundClearance / figureCarrotSize;
    SkinSkeleton& s = d.skeleton;
    const int root = s.add("Root", -1, {0.0f, 0.0f, 0.0f});
    const int tip = s.add("Tip", root, {0.0f, g, 0.0f});
    const int middle = s.add("Middle", tip, {0.0f, g + 0.8f, 0.0f});
    const int crown = s.add("Crown", middle, {0.0f, g + 2.3f, 0.0f});

    // A plump tapering root with a few darker growth rings near the tip,
    // bending between the tip and the middle.
    const std::vector<glm::vec2> profile = {
        {0.0f, 0.0f},   {0.15f, 0.16f}, {0.29f, 0.46f}, {0.31f, 0.52f}, {0.43f, 0.82f},
        {0.45f, 0.88f}, {0.56f, 1.16f}, {0.58f, 1.22f}, {0.68f, 1.55f}, {0.73f, 1.85f},
        {0.72f, 2.05f}, {0.6f, 2.25f},  {0.34f, 2.36f}};
    const std::vector<int> bands = {Orange, Orange, Ridge,  Orange, Ridge,  Orange,
                                    Ridge,  Orange, Orange, Orange, Orange, Orange};
    build.add(figureLathe(profile, 10, 0.25f), figurePlace({0.0f, g, 0.0f}, glm::vec3(1.0f)), bands,
              FigureBuilder::blend(tip, middle, {0.0f, g + 0.5f, 0.0f}, {0.0f, g + 1.3f, 0.0f}));

    // The face on the front, a little above the middle.
    const float faceHeight = g + 1.62f;
    const float faceRadius = 0.7f;
    for (float side : {1.0f, -1.0f}) {
        const glm::vec3 out = glm::normalize(glm::vec3(side * 0.36f, 0.0f, 1.0f));
        const glm::quat facing = figureTurn(side * 0.36f, glm::vec3(0.0f, 1.0f, 0.0f));
        const glm::vec3 eye = glm::vec3(0.0f, faceHeight, 0.0f) + (faceRadius - 0.02f) * out;
        build.add(figureSphere(6, 4), figurePlace(eye, {0.1f, 0.14f, 0.07f}, facing), {Ink},
                  FigureBuilder::rigid(middle), false);
        build.add(figureSphere(4, 2),
                  figurePlace(eye + glm::vec3(side * 0.02f, 0.05f, 0.06f), glm::vec3(0.035f)),
                  {Shine}, FigureBuilder::rigid(middle), false);
        const glm::vec3 cheekOut = glm::normalize(glm::vec3(side * 0.75f, 0.0f, 1.0f));
        const glm::vec3 cheek = glm::vec3(0.0f, faceHeight - 0.26f, 0.0f) + 0.6f * cheekOut;
        build.add(figureSphere(6, 3),
                  figurePlace(cheek, {0.13f, 0.08f, 0.04f},
                              figureTurn(side * 0.64f, glm::vec3(0.0f, 1.0f, 0.0f))),
                  {Cheek}, FigureBuilder::rigid(middle), false);
    }
    // A small smile: three beads along a curve.
    for (int i = -1; i <= 1; ++i) {
        const float x = 0.09f * static_cast<float>(i);
        const float y = faceHeight - 0.3f + 0.05f * static_cast<float>(i * i);
        const glm::vec3 at(x, y, std::sqrt(0.62f * 0.62f - x * x));
        build.add(figureSphere(6, 3),
                  figurePlace(at, {0.065f, 0.045f, 0.04f}, figureTurn(0.5f * x, zAxis)), {Mouth},
                  FigureBuilder::rigid(middle), false);
    }

    // Leafy top: thin stalks ending in broad leaves that sway on their own
    // joints.
    CarrotLeaf leaves[4] = {
        {{0.0f, 1.0f, -0.1f}, 1.1f},
        {{0.75f, 1.0f, 0.05f}, 0.95f},
        {{-0.75f, 1.0f, 0.05f}, 0.95f},
        {{0.0f, 0.8f, -0.6f}, 0.9f},
    };
    const char* leafNames[4] = {"LeafMiddle", "LeafLeft", "LeafRight", "LeafBack"};
    const glm::vec3 top(0.0f, g + 2.3f, 0.0f);
    for (int i = 0; i < 4; ++i) {
        CarrotLeaf& leaf = leaves[i];
        leaf.joint = s.add(leafNames[i], crown, top);
        const glm::vec3 dir = glm::normalize(leaf.direction);
        const glm::quat turn = figureAlong(dir, {0.0f, 0.0f, 1.0f});
        const std::vector<glm::vec2> stalk = {{0.09f, 0.0f}, {0.06f, 0.45f * leaf.length}};
        build.add(figureLathe(stalk, 5, 0.1f * static_cast<float>(i)),
                  figurePlace(top, glm::vec3(1.0f), turn), {Stem},
                  FigureBuilder::rigid(leaf.joint));
        build.add(
            figureSphere(6, 5),
            figurePlace(top + 0.68f * leaf.length * dir, {0.3f, 0.42f * leaf.length, 0.06f}, turn),
            {Leaf}, FigureBuilder::rigid(leaf.joint));
    }
    build.add(figureSphere(8, 3), figurePlace(top, {0.3f, 0.1f, 0.3f}), {Stem},
              FigureBuilder::rigid(crown));

    d.mesh = build.mesh();
    d.outline = build.outline(figureOutlinePalette().uv(0), figureRimWorld / figureCarrotSize,
                              figureCarrotOutlineScale);

    // Two hops per clip with a side-to-side wobble: squash, spring up
    // stretched and leaning to one side, land squashed, the other side next
    // time. The middle and the leaves lag behind the lean.
    const float hopHeight = 0.7f;
    d.animation = sampleSkinAnimation(
        s, "hop", figureClipSeconds, figureClipKeys, [&](float u, std::vector<glm::mat4>& m) {
            const float hops = 2.0f * u;
            const float p = hops - std::floor(hops);
            const float side = hops < 1.0f ? 1.0f : -1.0f;
            const float q = std::clamp((p - 0.15f) / 0.6f, 0.0f, 1.0f);
            const float air = std::sin(pi * q);
            const float squash = (p < 0.15f ? std::sin(pi * p / 0.15f) : 0.0f) +
                                 (p > 0.75f ? std::sin(pi * (p - 0.75f) / 0.25f) : 0.0f);
            const float stretch = 0.1f * air - 0.16f * squash;
            const float lean = side * 0.22f * air;
            const float lag = side * std::sin(pi * std::clamp((p - 0.3f) / 0.7f, 0.0f, 1.0f));

            m[root] = s.posed(root, {0.0f, hopHeight * air, 0.0f}, still);
            m[tip] = s.posed(tip, {}, figureTurn(lean, zAxis),
                             {1.0f - 0.5f * stretch, 1.0f + stretch, 1.0f - 0.5f * stretch});
            m[middle] = s.posed(middle, {},
                                figureTurn(-0.1f * lag, zAxis) * figureTurn(0.06f * squash, xAxis));
            m[crown] = s.posed(crown, {}, figureTurn(-0.15f * lag, zAxis));
            for (const CarrotLeaf& leaf : leaves) {
                const float spread = leaf.direction.x * 0.25f * squash;
                m[leaf.joint] = s.posed(leaf.joint, {},
                                        figureTurn(-0.25f * lag - spread, zAxis) *
                                            figureTurn(-0.2f * air + 0.15f * squash, xAxis));
            }
        });
    return d;
}

} // namespace assetgen
