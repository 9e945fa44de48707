#pragma once

#include "ImageCanvas.h"

#include <array>

namespace assetgen {

// The sizes of the desktop icon, in pixels, as the icon theme's folders name them.
inline constexpr std::array<int, 7> iconSizes = {16, 24, 32, 48, 64, 128, 256};

// The game's icon: the cube seen from a corner, the sliding picture on the
// left face, the flow board on the right and the ball maze on top, on a
// transparent ground. Below 64 pixels the faces are painted in fewer, bolder
// shapes so that each still reads.
ImageCanvas paintIcon(int size);

} // namespace assetgen
