#pragma once

#include <glm/vec3.hpp>

#include <cstdint>

namespace assetgen {

// Deterministic noise for the generated pictures: the same inputs give the
// same values on every run.

// White noise in 0..1 for an integer lattice point.
float latticeNoise(int x, int y, std::uint32_t seed);

// Octaves of gradient noise over the unit square that wrap at its edges, so a
// texture made from it tiles without seams. baseFrequency is the number of
// noise cells across the square in the first octave (a power of two); every
// further octave doubles it, up to 256. The result lies roughly in -1..1.
float tileableFbm(float u, float v, int baseFrequency, int octaves, int seed);

// Octaves of gradient noise in space, roughly in -1..1.
float spaceFbm(glm::vec3 point, int octaves, int seed);

} // namespace assetgen
