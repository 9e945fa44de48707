#pragma once

#include "ImageCanvas.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <vector>

namespace assetgen {

// Signed distances are negative inside a shape. Painters measure them in
// pixels and turn them into coverage, which anti-aliases every edge.

// 1 well inside, 0 well outside, a one-pixel ramp across the edge.
float coverage(float signedDistance);
// Like coverage but with a ramp of the given width, for soft edges.
float softCoverage(float signedDistance, float width);

float circleDistance(glm::vec2 point, glm::vec2 centre, float radius);
float ellipseDistance(glm::vec2 point, glm::vec2 centre, glm::vec2 radii);
float roundedBoxDistance(glm::vec2 point, glm::vec2 centre, glm::vec2 halfSize, float radius);
// Unsigned distance to the segment from a to b; minus a radius it is a capsule.
float segmentDistance(glm::vec2 point, glm::vec2 a, glm::vec2 b);
// A closed polygon given by its corners in order, convex or not.
float polygonDistance(glm::vec2 point, const std::vector<glm::vec2>& corners);

// Straight-alpha "over": top laid on under.
glm::vec4 over(glm::vec4 under, glm::vec4 top);

// Shapes in flat colour laid over the canvas; colour.a scales their coverage
// and softness widens the edge ramp (in pixels, at least 1).
void fillCircle(ImageCanvas& canvas, glm::vec2 centre, float radius, glm::vec4 colour,
                float softness = 1.0f);
void fillEllipse(ImageCanvas& canvas, glm::vec2 centre, glm::vec2 radii, glm::vec4 colour,
                 float softness = 1.0f);
void fillCapsule(ImageCanvas& canvas, glm::vec2 a, glm::vec2 b, float radius, glm::vec4 colour,
                 float softness = 1.0f);
void fillRoundedBox(ImageCanvas& canvas, glm::vec2 centre, glm::vec2 halfSize, float radius,
                    glm::vec4 colour, float softness = 1.0f);

} // namespace assetgen
