#include "ImageShapes.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

namespace assetgen {

float coverage(float signedDistance) {
    return glm::clamp(0.5f - signedDistance, 0.0f, 1.0f);
}

float softCoverage(float signedDistance, float width) {
    return glm::clamp(0.5f - signedDistance / width, 0.0f, 1.0f);
}

float circleDistance(glm::vec2 point, glm::vec2 centre, float radius) {
    return glm::length(point - centre) - radius;
}

float ellipseDistance(glm::vec2 point, glm::vec2 centre, glm::vec2 radii) {
    // Scaled-circle distance: exact on the axes and close enough elsewhere for
    // the gently elongated ellipses painted here.
    const glm::vec2 scaled = (point - centre) / radii;
    const float length = glm::length(scaled);
    if (length == 0.0f)
        return -glm::min(radii.x, radii.y);
    const glm::vec2 gradient = scaled / (radii * length);
    return (length - 1.0f) / glm::length(gradient);
}

float roundedBoxDistance(glm::vec2 point, glm::vec2 centre, glm::vec2 halfSize, float radius) {
    const glm::vec2 q = glm::abs(point - centre) - halfSize + radius;
    return glm::length(glm::max(q, 0.0f)) + glm::min(glm::max(q.x, q.y), 0.0f) - radius;
}

float segmentDistance(glm::vec2 point, glm::vec2 a, glm::vec2 b) {
    const glm::vec2 ab = b - a;
    const float lengthSquared = glm::dot(ab, ab);
    const float t = lengthSquared > 0.0f
                        ? glm::clamp(glm::dot(point - a, ab) / lengthSquared, 0.0f, 1.0f)
                        : 0.0f;
    return glm::length(point - (a + t * ab));
}

float polygonDistance(glm::vec2 point, const std::vector<glm::vec2>& corners) {
    float distance = 1e30f;
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const glm::vec2 a = corners[j];
        const glm::vec2 b = corners[i];
        distance = glm::min(distance, segmentDistance(point, a, b));
        // Even-odd rule: a ray from the point towards +x crosses the outline
        // an odd number of times from inside.
        if ((a.y > point.y) != (b.y > point.y) &&
            point.x < a.x + (point.y - a.y) * (b.x - a.x) / (b.y - a.y))
            inside = !inside;
    }
    return inside ? -distance : distance;
}

glm::vec4 over(glm::vec4 under, glm::vec4 top) {
    const float alpha = top.a + under.a * (1.0f - top.a);
    if (alpha <= 0.0f)
        return glm::vec4(0.0f);
    const glm::vec3 colour =
        (glm::vec3(top) * top.a + glm::vec3(under) * under.a * (1.0f - top.a)) / alpha;
    return glm::vec4(colour, alpha);
}

glm::vec4 withAlpha(glm::vec3 colour, float alpha) {
    return glm::vec4(colour, alpha);
}

namespace {

void fillShape(ImageCanvas& canvas, glm::vec2 from, glm::vec2 to, glm::vec4 colour, float softness,
               const std::function<float(glm::vec2)>& distance) {
    const float ramp = glm::max(softness, 1.0f);
    canvas.paint(
        [&](glm::vec2 pixel) {
            return glm::vec4(glm::vec3(colour), colour.a * softCoverage(distance(pixel), ramp));
        },
        from - ramp, to + ramp);
}

} // namespace

void fillCircle(ImageCanvas& canvas, glm::vec2 centre, float radius, glm::vec4 colour,
                float softness) {
    fillShape(canvas, centre - radius, centre + radius, colour, softness,
              [&](glm::vec2 p) { return circleDistance(p, centre, radius); });
}

void fillEllipse(ImageCanvas& canvas, glm::vec2 centre, glm::vec2 radii, glm::vec4 colour,
                 float softness) {
    fillShape(canvas, centre - radii, centre + radii, colour, softness,
              [&](glm::vec2 p) { return ellipseDistance(p, centre, radii); });
}

void fillCapsule(ImageCanvas& canvas, glm::vec2 a, glm::vec2 b, float radius, glm::vec4 colour,
                 float softness) {
    fillShape(canvas, glm::min(a, b) - radius, glm::max(a, b) + radius, colour, softness,
              [&](glm::vec2 p) { return segmentDistance(p, a, b) - radius; });
}

void fillRoundedBox(ImageCanvas& canvas, glm::vec2 centre, glm::vec2 halfSize, float radius,
                    glm::vec4 colour, float softness) {
    fillShape(canvas, centre - halfSize, centre + halfSize, colour, softness,
              [&](glm::vec2 p) { return roundedBoxDistance(p, centre, halfSize, radius); });
}

} // namespace assetgen
