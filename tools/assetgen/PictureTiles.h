#pragma once

#include "ImageCanvas.h"

#include <vector>

namespace assetgen {

// The picture of the sliding tiles: a friendly globe on a soft, festive
// background, for the game's message "You saved the world".
ImageCanvas paintSavedWorld(int size);

// Cuts a square picture into 3 x 3 tiles, tile k being slot k (row k / 3 from
// the top, column k % 3 from the left), each with a bevelled border that
// takes bevelFraction of its edge.
std::vector<ImageCanvas> cutTiles(const ImageCanvas& picture, float bevelFraction);

} // namespace assetgen
