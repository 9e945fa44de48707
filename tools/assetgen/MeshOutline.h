#pragma once

#include <glm/glm.hpp>

#include <array>
#include <vector>

namespace assetgen {

// A closed simple polygon in a plane, without a repeated last point.
// Counter-clockwise outlines face the viewer.
using Outline = std::vector<glm::vec2>;

// Positive for counter-clockwise outlines.
float outlineArea(const Outline& outline);

Outline regularPolygon(int sides, float radius, float startAngle,
                       glm::vec2 centre = glm::vec2(0.0f));

Outline roundedRectangle(glm::vec2 centre, glm::vec2 halfSize, float cornerRadius,
                         int cornerSegments);

// The part of a ring between two angles (radians, counter-clockwise).
Outline arcBand(glm::vec2 centre, float innerRadius, float outerRadius, float startAngle,
                float endAngle, int segments);

// A band of the given half width along an open path, with square ends and
// mitred joints.
Outline strokePolyline(const std::vector<glm::vec2>& path, float halfWidth);

// Moves every edge outwards by distance (inwards when negative), keeping the
// corners mitred. Meant for small distances: sharp corners move furthest.
Outline offsetOutline(const Outline& outline, float distance);

Outline moveOutline(const Outline& outline, glm::vec2 offset, float scale = 1.0f);

Outline reversedOutline(const Outline& outline);

bool outlineContains(const Outline& outline, glm::vec2 point);

// Ear clipping. The triangles keep the outline's turning sense; an outline
// that cannot be cut up (fewer than three points, self-intersecting) gives
// an empty list.
std::vector<std::array<int, 3>> triangulateOutline(const Outline& outline);

} // namespace assetgen
