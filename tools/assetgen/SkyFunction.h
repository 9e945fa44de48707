#pragma once

#include "ImageCanvas.h"

#include <glm/vec3.hpp>

#include <array>

namespace assetgen {

// Cube-map faces in OpenGL's order +X, -X, +Y, -Y, +Z, -Z.
inline constexpr int cubeFaceCount = 6;

// The view direction (not normalised) through face coordinates s, t in 0..1,
// t = 0 being the first stored row, as OpenGL's cube-map selection defines it.
glm::vec3 cubeFaceDirection(int face, float s, float t);

// Where the sun stands: the game's directional light shines along (0, -1, -1).
glm::vec3 sunDirection();

// The whole sky as one function of the view direction (any length but zero):
// a blue gradient with the sun, soft clouds, far hills and the sea below.
glm::vec3 skyColour(glm::vec3 direction);

// One face of size x size pixels, each pixel the sky at its centre.
ImageCanvas renderSkyFace(int face, int size);

} // namespace assetgen
