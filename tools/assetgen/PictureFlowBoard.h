#pragma once

#include "ImageCanvas.h"

#include "puzzles/FlowLevel.h"

namespace assetgen {

// The flow puzzle's level (end cells, solution and palette) is the game's
// own table; the pictures paint it.
using zarn::flowBoardCells;
using zarn::flowPalette;
using zarn::flowSolution;
using zarn::flowStartCells;

// The board texture of size x size pixels, with only the end dots or, when
// finished, with the solved paths as well. The board box maps it onto the
// cube's +x face with u along +z and v along +y, which a viewer on that side
// sees turned by half a turn; the picture is stored turned accordingly.
ImageCanvas paintFlowBoard(int size, bool finished);
// The end cells' marks on a transparent picture laid out and turned like the
// board's, for a layer drawn over the board and its particles: each colour's
// two ends carry the same shape, and no two colours share one.
ImageCanvas paintFlowMarks(int size);

} // namespace assetgen
