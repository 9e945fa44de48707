#pragma once

#include "MeshBuilder.h"
#include "MeshPalette.h"

#include <glm/glm.hpp>

namespace assetgen {

// One static model: its faces and the palette texture they sample.
struct StaticModel {
    MeshBuilder mesh;
    MeshPalette palette;
};

// The cube's body; drawn with the identity.
StaticModel buildCubeFrame();
// Under the cube: the frame sits at (0, -1.625, 0), the button at (0, -1.75, 0).
StaticModel buildButtonFrame();
StaticModel buildRedButton();
// The back panel, authored facing +z. Pieces: 1 lock, 2 sliding tiles,
// 3 ball maze, 4 river crossing, 5 flow; any other number gives an empty model.
StaticModel buildPanelFrame();
StaticModel buildPanelPiece(int number);
// River scenery, authored with y up from the bank.
StaticModel buildRoundTree();
StaticModel buildPineTree();
StaticModel buildRiverArrow();
StaticModel buildRiverArrowOutline();
StaticModel buildBoat();

// The shared colours of the game's look.
inline const glm::vec3 coralRed(0.84f, 0.33f, 0.33f);
inline const glm::vec3 lilac(0.7f, 0.57f, 0.71f);
inline const glm::vec3 teal(0.16f, 0.63f, 0.63f);
inline const glm::vec3 deepBlue(0.08f, 0.32f, 0.53f);
inline const glm::vec3 cream(0.96f, 0.89f, 0.76f);

} // namespace assetgen
