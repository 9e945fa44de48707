#include "FigureDesign.h"

#include "FigureBuilder.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

const float pi = 3.14159265f;
const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);
const glm::vec3 zAxis(0.0f, 0.0f, 1.0f);

enum BearColour { Fur, Paw, Muzzle, Ink, Shine };

struct BearLeg {
    const char* upperName;
    const char* lowerName;
    float x;
    float y;
    float phase; // diagonal pairs step together
    int upper = 0;
    int lower = 0;
};

} // namespace

FigureDesign makeBearFigure() {
    FigureDesign d;
    d.name = "bear";
    d.modelFile = zarn::data::figures[0];
    d.outlineFile = zarn::data::figureOutlines[0];
    d.textureFile = "bear_colours.png";
    d.colours = {
        {0.62f, 0.38f, 0.22f}, // fur
        {0.40f, 0.24f, 0.15f}, // paws
        {0.96f, 0.86f, 0.68f}, // muzzle, inner ears, belly
        {0.10f, 0.07f, 0.07f}, // eyes, nose
        {0.98f, 0.98f, 0.96f}, // eye shine
    };
    const FigurePalette palette(d.colours);
    FigureBuilder build(palette);

    // Z up, facing -y, feet on the grass; x is the bear's left.
    const float g = -figureGroundClearance / figureBearSize;
    SkinSkeleton& s = d.skeleton;
    const int root = s.add("Root", -1, {0.0f, 0.0f, 0.0f});
    const int hips = s.add("Hips", root, {0.0f, 0.75f, g + 1.5f});
    const int chest = s.add("Chest", hips, {0.0f, -0.45f, g + 1.6f});
    const int head = s.add("Head", chest, {0.0f, -0.95f, g + 2.2f});
    const int tail = s.add("Tail", hips, {0.0f, 1.5f, g + 1.8f});
    BearLeg legs[4] = {
        {"FrontLeftLeg", "FrontLeftPaw", 0.68f, -0.45f, 0.0f},
        {"FrontRightLeg", "FrontRightPaw", -0.68f, -0.45f, pi},
        {"BackLeftLeg", "BackLeftPaw", 0.68f, 1.05f, pi},
        {"BackRightLeg", "BackRightPaw", -0.68f, 1.05f, 0.0f},
    };
    const float hipHeight = 1.2f;
    const float kneeHeight = 0.55f;
    for (BearLeg& leg : legs) {
        leg.upper = s.add(leg.upperName, root, {leg.x, leg.y, g + hipHeight});
        leg.lower = s.add(leg.lowerName, leg.upper, {leg.x, leg.y, g + kneeHeight});
    }

    // Body: a barrel along the length axis that bends between hips and chest.
    const glm::vec3 bodyCentre(0.0f, 0.3f, g + 1.55f);
    const glm::vec3 bodyRadii(1.2f, 1.25f, 1.0f);
    build.add(figureSphere(10, 6, 0.5f), figurePlace(bodyCentre, bodyRadii), {Fur},
              FigureBuilder::blend(hips, chest, {0.0f, 0.9f, 0.0f}, {0.0f, -0.4f, 0.0f}));
    build.add(figureSphere(8, 5, 0.5f), figurePlace({0.0f, -0.6f, g + 1.15f}, {0.62f, 0.5f, 0.54f}),
              {Muzzle}, FigureBuilder::rigid(chest), false);

    // Head with a round muzzle, button nose and round ears.
    const glm::quat upright = figureTurn(0.5f * pi, xAxis);
    const glm::vec3 headCentre(0.0f, -1.2f, g + 2.65f);
    const glm::vec3 headRadii(0.9f, 0.84f, 0.84f);
    build.add(figureSphere(10, 6, 0.5f), figurePlace(headCentre, headRadii, upright), {Fur},
              FigureBuilder::rigid(head));
    const glm::vec3 muzzleCentre(0.0f, -1.88f, g + 2.4f);
    const glm::vec3 muzzleRadii(0.46f, 0.38f, 0.34f);
    build.add(figureSphere(8, 5), figurePlace(muzzleCentre, muzzleRadii), {Muzzle},
              FigureBuilder::rigid(head));
    const glm::vec3 nose = figureSurfacePoint(muzzleCentre, muzzleRadii, {0.0f, -1.0f, 0.7f});
    build.add(figureSphere(6, 4), figurePlace(nose, {0.19f, 0.13f, 0.13f}), {Ink},
              FigureBuilder::rigid(head), false);
    for (float side : {1.0f, -1.0f}) {
        const glm::vec3 eye =
            figureSurfacePoint(headCentre, headRadii, {side * 0.42f, -0.8f, 0.45f});
        build.add(figureSphere(6, 4), figurePlace(eye, glm::vec3(0.11f), upright), {Ink},
                  FigureBuilder::rigid(head), false);
        build.add(figureSphere(4, 2),
                  figurePlace(eye + glm::vec3(side * 0.02f, -0.08f, 0.05f), glm::vec3(0.035f)),
                  {Shine}, FigureBuilder::rigid(head), false);

        const glm::vec3 earBase =
            figureSurfacePoint(headCentre, headRadii, {side * 0.62f, 0.1f, 0.8f});
        const glm::quat earTurn = figureTurn(-side * 0.35f, yAxis);
        build.add(figureSphere(8, 4), figurePlace(earBase, {0.34f, 0.16f, 0.32f}, earTurn), {Fur},
                  FigureBuilder::rigid(head));
        build.add(
            figureSphere(8, 4),
            figurePlace(earBase + glm::vec3(0.0f, -0.09f, 0.0f), {0.2f, 0.08f, 0.19f}, earTurn),
            {Muzzle}, FigureBuilder::rigid(head), false);
    }
    build.add(figureSphere(6, 4), figurePlace({0.0f, 1.5f, g + 1.85f}, glm::vec3(0.22f)), {Fur},
              FigureBuilder::rigid(tail));

    // Stubby legs that bend at the knee, on darker paws.
    const std::vector<glm::vec2> legProfile = {
        {0.34f, 0.1f}, {0.35f, 0.35f}, {0.33f, 0.7f}, {0.34f, 1.0f}, {0.4f, 1.35f}};
    for (const BearLeg& leg : legs) {
        build.add(figureLathe(legProfile, 8, 0.5f),
                  figurePlace({leg.x, leg.y, g}, glm::vec3(1.0f), upright), {Fur},
                  FigureBuilder::blend(leg.upper, leg.lower, {leg.x, leg.y, g + 0.75f},
                                       {leg.x, leg.y, g + 0.4f}));
        const std::vector<glm::vec2> pawProfile = {
            {0.36f, 0.0f}, {0.4f, 0.1f}, {0.38f, 0.22f}, {0.26f, 0.3f}};
        build.add(figureLathe(pawProfile, 8, 0.5f),
                  figurePlace({leg.x, leg.y - 0.06f, g}, {1.0f, 1.0f, 1.15f}, upright), {Paw},
                  FigureBuilder::rigid(leg.lower));
    }

    d.mesh = build.mesh();
    d.outline = build.outline(figureOutlinePalette().uv(0), figureRimWorld / figureBearSize,
                              figureBearOutlineScale);

    // Two strides per clip: diagonal legs swing together, the lifted paw
    // folds back, the body rolls and bobs and the head nods. The swing eases
    // in and out so the clip starts and ends on the standing pose.
    const float swingAmplitude = 0.45f;
    const float kneeFold = 0.7f;
    const float pawLift = 0.4f;
    d.animation = sampleSkinAnimation(
        s, "walk", figureClipSeconds, figureClipKeys, [&](float u, std::vector<glm::mat4>& m) {
            const float ease = figureSmooth(0.0f, 0.1f, u) * figureSmooth(0.0f, 0.1f, 1.0f - u);
            const float stride = 4.0f * pi * u;
            for (const BearLeg& leg : legs) {
                const float phase = stride + leg.phase;
                const float swing = ease * swingAmplitude * std::sin(phase);
                const float lift = ease * std::max(0.0f, std::cos(phase));
                // The paw stays level while the leg swings, and the hip drops
                // as the leg leaves the vertical, so a planted paw stays flat
                // on the ground; a swinging paw is raised and folded back.
                const float drop = (hipHeight - kneeHeight) * (1.0f - std::cos(swing));
                m[leg.upper] = s.posed(leg.upper, {0.0f, 0.0f, pawLift * lift - drop},
                                       figureTurn(-swing, xAxis));
                m[leg.lower] = s.posed(leg.lower, {}, figureTurn(swing + kneeFold * lift, xAxis));
            }
            const float sway = ease * std::sin(stride);
            const float bob = ease * std::cos(2.0f * stride);
            m[hips] = s.posed(hips, {0.0f, 0.0f, 0.06f * bob},
                              figureTurn(0.06f * sway, zAxis) * figureTurn(0.05f * sway, yAxis));
            m[chest] = s.posed(chest, {},
                               figureTurn(-0.1f * sway, zAxis) * figureTurn(-0.04f * bob, xAxis));
            m[head] =
                s.posed(head, {}, figureTurn(0.08f * sway, zAxis) * figureTurn(0.08f * bob, xAxis));
            m[tail] = s.posed(tail, {}, figureTurn(0.6f * sway, zAxis));
        });
    return d;
}

} // namespace assetgen
