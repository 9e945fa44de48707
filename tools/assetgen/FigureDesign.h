#pragma once

#include "data/DataFiles.h"

#include "FigurePalette.h"
#include "SkinAnimation.h"
#include "SkinMesh.h"
#include "SkinSkeleton.h"

#include <glm/glm.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace assetgen {

// One river-crossing figure as authored: its palette, skinned mesh,
// skeleton, clip and outline shell, with the file names the game loads.
struct FigureDesign {
    std::string name;             // id prefix inside the files
    std::string_view modelFile;   // in the run-time tree, beside textureFile
    std::string_view outlineFile; // likewise, beside the outline's texture
    std::string textureFile;      // next to the model file
    std::vector<glm::vec3> colours;
    SkinSkeleton skeleton;
    SkinMesh mesh;
    SkinAnimation animation;
    SkinMesh outline;
};

// Clip length in file seconds: the game plays it at twice real time, so one
// clip spans a whole 0.5 s walk into or out of the boat.
inline constexpr float figureClipSeconds = 1.0f;
inline constexpr int figureClipKeys = 49;

// The game draws the outline shells scaled by these factors about the model
// origin, and scales the figures themselves by these sizes.
inline constexpr float figureBearOutlineScale = 1.05f;
inline constexpr float figureRabbitOutlineScale = 1.04f;
inline constexpr float figureCarrotOutlineScale = 1.08f;
inline constexpr float figureBearSize = 0.12f;
inline constexpr float figureRabbitSize = 0.07f;
inline constexpr float figureCarrotSize = 0.1f;

// Rim of the outline in world units, about a pixel and a half at the
// default camera distance.
inline constexpr float figureRimWorld = 0.011f;

// The model origin hovers this far above the grass.
inline constexpr float figureGroundClearance = 0.025f;

// The single black swatch every outline shell is painted with.
FigurePalette figureOutlinePalette();

// Authored Z up, facing -y.
FigureDesign makeBearFigure();
FigureDesign makeRabbitFigure();
// Authored Y up, facing +z.
FigureDesign makeCarrotFigure();

} // namespace assetgen
