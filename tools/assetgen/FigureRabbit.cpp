#include "FigureDesign.h"

#include "FigureBuilder.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

const float pi = 3.14159265f;
const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::quat still(1.0f, 0.0f, 0.0f, 0.0f);

enum RabbitColour { Fur, Fluff, EarPink, Ink, Nose, Shine };

} // namespace

FigureDesign makeRabbitFigure() {
    FigureDesign d;
    d.name = "rabbit";
    d.modelFile = zarn::data::figures[1];
    d.outlineFile = zarn::data::figureOutlines[1];
    d.textureFile = "rabbit_colours.png";
    d.colours = {
        {0.92f, 0.91f, 0.93f}, // fur
        {0.99f, 0.98f, 0.96f}, // tail, muzzle, chest
        {0.96f, 0.64f, 0.72f}, // inside the ears
        {0.12f, 0.10f, 0.18f}, // eyes
        {0.88f, 0.42f, 0.50f}, // nose
        {0.98f, 0.98f, 0.98f}, // eye shine
    };
    const FigurePalette palette(d.colours);
    FigureBuilder build(palette);

    // Z up, facing -y, feet on the grass; x is the rabbit's left.
    const float g = -figureGroundClearance / figureRabbitSize;
    SkinSkeleton& s = d.skeleton;
    const int root = s.add("Root", -1, {0.0f, 0.0f, 0.0f});
    const int body = s.add("Body", root, {0.0f, 0.6f, g + 0.9f});
    const int head = s.add("Head", body, {0.0f, -0.5f, g + 2.25f});
    const int tail = s.add("Tail", body, {0.0f, 1.7f, g + 1.0f});

    // Sitting body, its back sloping down to a round rump.
    const glm::quat slope = figureTurn(-0.35f, xAxis);
    build.add(figureSphere(10, 6, 0.5f),
              figurePlace({0.0f, 0.5f, g + 1.3f}, {1.15f, 1.3f, 1.1f}, slope), {Fur},
              FigureBuilder::rigid(body));
    build.add(figureSphere(8, 5, 0.5f),
              figurePlace({0.0f, -0.35f, g + 1.35f}, {0.7f, 0.5f, 0.78f}, slope), {Fluff},
              FigureBuilder::rigid(body), false);
    build.add(figureSphere(8, 5), figurePlace({0.0f, 1.85f, g + 1.05f}, glm::vec3(0.4f)), {Fluff},
              FigureBuilder::rigid(tail));

    // Round head with puffy white cheeks, a pink nose and big eyes.
    const glm::quat upright = figureTurn(0.5f * pi, xAxis);
    const glm::vec3 headCentre(0.0f, -0.75f, g + 2.6f);
    const glm::vec3 headRadii(0.9f, 0.84f, 0.78f);
    build.add(figureSphere(10, 6, 0.5f), figurePlace(headCentre, headRadii, upright), {Fur},
              FigureBuilder::rigid(head));
    for (float side : {1.0f, -1.0f}) {
        build.add(figureSphere(8, 4),
                  figurePlace({side * 0.22f, -1.4f, g + 2.35f}, {0.29f, 0.22f, 0.23f}), {Fluff},
                  FigureBuilder::rigid(head));
        const glm::vec3 eye =
            figureSurfacePoint(headCentre, headRadii, {side * 0.52f, -0.72f, 0.34f});
        build.add(figureSphere(6, 4), figurePlace(eye, {0.13f, 0.11f, 0.16f}, upright), {Ink},
                  FigureBuilder::rigid(head), false);
        build.add(figureSphere(4, 2),
                  figurePlace(eye + glm::vec3(side * 0.01f, -0.1f, 0.07f), glm::vec3(0.04f)),
                  {Shine}, FigureBuilder::rigid(head), false);
    }
    build.add(figureSphere(6, 4), figurePlace({0.0f, -1.56f, g + 2.52f}, {0.13f, 0.09f, 0.1f}),
              {Nose}, FigureBuilder::rigid(head), false);

    // Long ears in two joints each so they trail and flop.
    int ears[2] = {0, 0};
    int earTips[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const float side = i == 0 ? 1.0f : -1.0f;
        const std::string name = side > 0.0f ? "Left" : "Right";
        const glm::vec3 base(side * 0.3f, -0.55f, g + 3.05f);
        const glm::vec3 direction = glm::normalize(glm::vec3(side * 0.2f, 0.22f, 1.0f));
        ears[i] = s.add(name + "Ear", head, base);
        earTips[i] = s.add(name + "EarTip", ears[i], base + 0.85f * direction);
        const glm::quat turn = figureAlong(direction, {0.0f, -1.0f, 0.0f});
        const glm::vec3 centre = base + 0.85f * direction;
        const auto binding = FigureBuilder::blend(ears[i], earTips[i], base + 0.55f * direction,
                                                  base + 1.1f * direction);
        build.add(figureSphere(8, 6), figurePlace(centre, {0.3f, 0.95f, 0.14f}, turn), {Fur},
                  binding);
        build.add(
            figureSphere(8, 6),
            figurePlace(centre + turn * glm::vec3(0.0f, 0.0f, 0.09f), {0.18f, 0.75f, 0.07f}, turn),
            {EarPink}, binding, false);
    }

    // Big haunches and long hind feet, small front paws.
    int thighs[2] = {0, 0};
    int feet[2] = {0, 0};
    int arms[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const float side = i == 0 ? 1.0f : -1.0f;
        const std::string name = side > 0.0f ? "Left" : "Right";
        thighs[i] = s.add(name + "Thigh", root, {side * 0.72f, 0.95f, g + 0.9f});
        feet[i] = s.add(name + "Foot", thighs[i], {side * 0.76f, 0.95f, g + 0.25f});
        arms[i] = s.add(name + "Arm", body, {side * 0.4f, -0.5f, g + 1.15f});

        build.add(figureSphere(8, 6, 0.5f),
                  figurePlace({side * 0.7f, 0.9f, g + 0.8f}, {0.5f, 0.8f, 0.7f},
                              figureTurn(-0.3f, xAxis)),
                  {Fur}, FigureBuilder::rigid(thighs[i]));
        build.add(figureSphere(8, 4),
                  figurePlace({side * 0.76f, 0.3f, g + 0.17f}, {0.32f, 0.8f, 0.17f}), {Fur},
                  FigureBuilder::rigid(feet[i]));
        const std::vector<glm::vec2> armProfile = {{0.19f, 0.0f}, {0.21f, 0.9f}};
        build.add(figureLathe(armProfile, 6),
                  figurePlace({side * 0.38f, -0.7f, g + 0.25f}, glm::vec3(1.0f),
                              figureTurn(0.2f, xAxis) * upright),
                  {Fur}, FigureBuilder::rigid(arms[i]));
        build.add(figureSphere(6, 4),
                  figurePlace({side * 0.38f, -0.78f, g + 0.17f}, {0.22f, 0.3f, 0.17f}), {Fluff},
                  FigureBuilder::rigid(arms[i]));
    }

    d.mesh = build.mesh();
    d.outline = build.outline(figureOutlinePalette().uv(0), figureRimWorld / figureRabbitSize,
                              figureRabbitOutlineScale);

    // Two hops per clip: crouch, push off with the hind legs while the body
    // pitches up, tuck the hind feet and reach forward with the front paws,
    // land and settle. The ears trail behind the motion and flop forward on
    // landing. While the front paws are on the ground they stay planted as
    // the body dips over them.
    const float hopHeight = 1.0f;
    d.animation = sampleSkinAnimation(
        s, "hop", figureClipSeconds, figureClipKeys, [&](float u, std::vector<glm::mat4>& m) {
            const float p = 2.0f * u - std::floor(2.0f * u);
            const float crouch = p < 0.14f ? std::sin(pi * p / 0.14f) : 0.0f;
            const float q = std::clamp((p - 0.14f) / 0.64f, 0.0f, 1.0f);
            const float air = std::sin(pi * q);
            const float land = p > 0.78f ? std::sin(pi * (p - 0.78f) / 0.22f) : 0.0f;
            const float pitch = air * 0.3f * std::cos(pi * q);
            const float kick = std::sin(2.0f * pi * q) * air;
            const float reach = air * figureSmooth(0.2f, 0.8f, q);
            const float trail = -0.45f * air * std::cos(0.5f * pi * q);
            const float flop = 0.35f * land;

            m[root] = s.posed(root, {0.0f, 0.0f, hopHeight * air}, still);
            m[body] = s.posed(body, {0.0f, 0.0f, -0.14f * crouch - 0.12f * land},
                              figureTurn(0.1f * crouch - pitch, xAxis));
            m[head] = s.posed(head, {}, figureTurn(0.6f * pitch - 0.08f * land, xAxis));
            m[tail] = s.posed(tail, {}, figureTurn(0.3f * air, xAxis));
            const bool planted = q <= 0.0f || q >= 1.0f;
            for (int i = 0; i < 2; ++i) {
                m[thighs[i]] = s.posed(thighs[i], {}, figureTurn(0.4f * kick, xAxis));
                m[feet[i]] = s.posed(feet[i], {}, figureTurn(0.3f * kick, xAxis));
                m[arms[i]] = planted
                                 ? glm::inverse(m[body]) * s.bindLocal(body) * s.bindLocal(arms[i])
                                 : s.posed(arms[i], {}, figureTurn(-0.7f * reach, xAxis));
                m[ears[i]] = s.posed(ears[i], {}, figureTurn(trail + flop, xAxis));
                m[earTips[i]] =
                    s.posed(earTips[i], {}, figureTurn(0.8f * trail + 1.4f * flop, xAxis));
            }
        });
    return d;
}

} // namespace assetgen
