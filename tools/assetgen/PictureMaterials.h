#pragma once

#include "ImageCanvas.h"

#include <glm/vec3.hpp>

namespace assetgen {

// Textures of the textured materials. The box generator maps a whole texture
// onto every face, so each picture is one face's worth; the ground ones tile
// seamlessly because the river's faces are three times longer than wide.

ImageCanvas paintWater(int size);
ImageCanvas paintSand(int size);
ImageCanvas paintGrass(int size);

// One block of the ball maze: a flat colour with a faint grain and a
// bevelled rim so neighbouring blocks read apart.
ImageCanvas paintBlock(int size, glm::vec3 colour);
// A pit: a coral block sinking to a darker hollow in the middle.
ImageCanvas paintPit(int size);
// The ball, a glass marble with a swirl, laid out for the sphere generator:
// u once around the equator, v from pole to pole.
ImageCanvas paintMarble(int width, int height);

} // namespace assetgen
