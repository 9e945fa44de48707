#pragma once

#include "puzzles/TileGrid.h"

#include <array>
#include <memory>

namespace zarn {

class InstancedGeometry;
struct Sight;
class MovingTiles;
class Shader;

// Draws the sliding tiles on the front face: one textured box per tile, each
// at the pose the game holds for it.
class TilesView {
public:
    // `shader` is the instanced Phong program.
    explicit TilesView(const std::shared_ptr<Shader>& shader);
    ~TilesView();

    // The tiles in slot order. The sunk blank lies inside the cube, but its
    // outer edge reaches past the faces beside the board and would show
    // there: it is drawn only once it rises.
    void draw(const MovingTiles& tiles, const Sight& sight);

private:
    std::array<std::unique_ptr<InstancedGeometry>, tileCount> tiles; // by tile number
};

} // namespace zarn
