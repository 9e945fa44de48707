#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Every file of the run-time tree that the game opens, as a path below the
// tree's root. The asset generator writes its files under these same names,
// so a renamed file cannot split the two; AssetTreeTest finds each one in a
// generated tree.
namespace zarn::data {

inline constexpr std::string_view settings = "settings.ini";
inline constexpr std::string_view shaders = "shader"; // "<program>.vert" and ".frag"
inline constexpr std::string_view models = "models";  // every model, read ahead at start-up
inline constexpr std::string_view sounds = "sounds";  // "<name>.wav"
inline constexpr std::string_view font = "fonts/arial.ttf";
inline constexpr std::string_view helpImage = "textures/hud_controls.png";

// The sky box, in OpenGL's face order: +x, -x, +y, -y, +z, -z.
inline constexpr std::array<std::string_view, 6> skyFaces = {
    "textures/cubemapNew/right.jpg", "textures/cubemapNew/left.jpg",
    "textures/cubemapNew/top.jpg",   "textures/cubemapNew/bottom.jpg",
    "textures/cubemapNew/front.jpg", "textures/cubemapNew/back.jpg"};
inline constexpr std::string_view particleDisc = "textures/particleSystem/particle_full.png";
inline constexpr std::string_view particleGlow = "textures/particleSystem/particle.png";
inline constexpr std::string_view shadowTexture = "textures/shadow_pseudo_texture.dds";
inline constexpr std::string_view frameModel = "models/frame/frame.obj";

// The sliding tiles' pictures, by tile.
inline std::string tileTexture(int tile) {
    return "textures/movingTiles/movingTiles_" + std::to_string(tile) + ".dds";
}

inline constexpr std::string_view flowBoard = "textures/flowPuzzle/flow_playground.dds";
inline constexpr std::string_view flowBoardFinished =
    "textures/flowPuzzle/flow_playground_finished.dds";
inline constexpr std::string_view flowMarks = "textures/flowPuzzle/flow_marks.dds";

inline constexpr std::string_view riverWater = "textures/riverCrossingGame/bluish.dds";
inline constexpr std::string_view riverSand = "textures/riverCrossingGame/yellow.dds";
inline constexpr std::string_view riverGrass = "textures/riverCrossingGame/green.dds";
inline constexpr std::string_view roundTree = "models/trees_export/trees_1.obj";
inline constexpr std::string_view pineTree = "models/trees_export/trees_2.obj";
inline constexpr std::string_view riverArrow = "models/riverCrossing/arrow/arrow_V2.obj";
inline constexpr std::string_view riverArrowOutline =
    "models/riverCrossing/arrow_outlines/arrow_V2.obj";
inline constexpr std::string_view boat = "models/riverCrossing/boat/boat.obj";
// The three figures and their outlines: bear, rabbit, carrot.
inline constexpr std::array<std::string_view, 3> figures = {
    "models/animals/wolf.dae", "models/animals/bunny13.dae", "models/animals/carrot.dae"};
inline constexpr std::array<std::string_view, 3> figureOutlines = {
    "models/animals/outlines/wolf_outlines.dae", "models/animals/outlines/bunny_outlines.dae",
    "models/animals/outlines/carrot_outlines.dae"};

inline constexpr std::string_view mazeBall = "textures/texture_gauss6.dds";
inline constexpr std::string_view mazePit = "textures/ballGame_red.dds";
inline constexpr std::string_view mazeFloor = "textures/ballGame_yellow.dds";
inline constexpr std::string_view mazeRaised = "textures/ballGame_bluish.dds";
inline constexpr std::string_view mazeWall = "textures/ballGame_flieder.dds";
inline constexpr std::string_view black = "textures/black.dds";

inline constexpr std::string_view redButton = "models/cubeBottom/redButton.obj";
inline constexpr std::string_view buttonFrame = "models/cubeBottom/buttonFrame.obj";

// The progress panel: its frame, and the lock and the four puzzles' pieces
// in the order the lock leads.
inline constexpr std::string_view panelFrame = "models/pentagon/frame.obj";
inline constexpr std::array<std::string_view, 5> panelPieces = {
    "models/pentagon/lock.obj", "models/pentagon/mt.obj", "models/pentagon/bg.obj",
    "models/pentagon/rcg.obj", "models/pentagon/fp.obj"};

// Every single file named above, the sounds aside (SoundNames.h names them).
inline std::vector<std::string> everyFile() {
    std::vector<std::string> files;
    for (const std::string_view file : {settings,          font,          helpImage,  particleDisc,
                                        particleGlow,      shadowTexture, frameModel, flowBoard,
                                        flowBoardFinished, flowMarks,     riverWater, riverSand,
                                        riverGrass,        roundTree,     pineTree,   riverArrow,
                                        riverArrowOutline, boat,          mazeBall,   mazePit,
                                        mazeFloor,         mazeRaised,    mazeWall,   black,
                                        redButton,         buttonFrame,   panelFrame})
        files.emplace_back(file);
    for (const std::string_view file : skyFaces)
        files.emplace_back(file);
    for (const std::string_view file : figures)
        files.emplace_back(file);
    for (const std::string_view file : figureOutlines)
        files.emplace_back(file);
    for (const std::string_view file : panelPieces)
        files.emplace_back(file);
    for (int tile = 0; tile < 9; ++tile)
        files.push_back(tileTexture(tile));
    return files;
}

} // namespace zarn::data
