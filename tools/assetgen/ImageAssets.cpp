#include "AssetWriters.h"

#include "DdsWriter.h"
#include "HelpImage.h"
#include "ImageCanvas.h"
#include "PictureFlowBoard.h"
#include "PictureIcon.h"
#include "PictureMaterials.h"
#include "PictureSprites.h"
#include "PictureTiles.h"
#include "SkyFunction.h"

#include <iostream>
#include <string>
#include <system_error>

namespace assetgen {

namespace {

constexpr int tileSize = 256;
constexpr float tileBevel = 0.035f;
constexpr int flowBoardSize = 512;
constexpr int groundSize = 256;
constexpr int blockSize = 128;
constexpr int skyFaceSize = 512;
constexpr int skyJpegQuality = 95; // above 90 stb keeps full-resolution colour
constexpr int spriteSize = 64;

} // namespace

bool writeImageAssets(const std::filesystem::path& assetRoot,
                      const std::filesystem::path& fontFile) {
    // The font is the one input that can be missing; check it before writing.
    ImageCanvas help;
    if (!renderHelpImage(fontFile, help))
        return false;

    const std::filesystem::path textures = assetRoot / "textures";
    for (const char* folder :
         {"movingTiles", "flowPuzzle", "riverCrossingGame", "cubemapNew", "particleSystem"}) {
        std::error_code error;
        std::filesystem::create_directories(textures / folder, error);
        if (error) {
            std::cout << "assetgen: could not create " << (textures / folder).string() << ": "
                      << error.message() << std::endl;
            return false;
        }
    }

    bool ok = writePng(textures / "hud_controls.png", help, 3);

    const std::vector<ImageCanvas> tiles = cutTiles(paintSavedWorld(3 * tileSize), tileBevel);
    for (std::size_t k = 0; k < tiles.size(); ++k)
        ok = writeDxt1Dds(textures / "movingTiles" / ("movingTiles_" + std::to_string(k) + ".dds"),
                          tiles[k]) &&
             ok;

    const std::filesystem::path flow = textures / "flowPuzzle";
    ok = writeDxt1Dds(flow / "flow_playground.dds", paintFlowBoard(flowBoardSize, false)) && ok;
    ok = writeDxt1Dds(flow / "flow_playground_finished.dds", paintFlowBoard(flowBoardSize, true)) &&
         ok;
    ok = writeDxt5Dds(flow / "flow_marks.dds", paintFlowMarks(flowBoardSize)) && ok;

    const std::filesystem::path river = textures / "riverCrossingGame";
    ok = writeDxt1Dds(river / "bluish.dds", paintWater(groundSize)) && ok;
    ok = writeDxt1Dds(river / "yellow.dds", paintSand(groundSize)) && ok;
    ok = writeDxt1Dds(river / "green.dds", paintGrass(groundSize)) && ok;

    ok = writeDxt1Dds(textures / "texture_gauss6.dds", paintMarble(256, 128)) && ok;
    ok = writeDxt1Dds(textures / "ballGame_red.dds", paintPit(blockSize)) && ok;
    ok = writeDxt1Dds(textures / "ballGame_yellow.dds",
                      paintBlock(blockSize, glm::vec3(0.98f, 0.86f, 0.55f))) &&
         ok;
    ok = writeDxt1Dds(textures / "ballGame_bluish.dds",
                      paintBlock(blockSize, glm::vec3(0.36f, 0.62f, 0.84f))) &&
         ok;
    ok = writeDxt1Dds(textures / "ballGame_flieder.dds",
                      paintBlock(blockSize, glm::vec3(0.7f, 0.57f, 0.71f))) &&
         ok;
    ok = writeDxt1Dds(textures / "black.dds",
                      ImageCanvas(8, 8, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f))) &&
         ok;
    // Only worn in the depth pass, where its colour is never seen.
    ok = writeDxt1Dds(textures / "shadow_pseudo_texture.dds",
                      ImageCanvas(8, 8, glm::vec4(0.5f, 0.5f, 0.5f, 1.0f))) &&
         ok;

    for (int face = 0; face < cubeFaceCount; ++face)
        ok = writeJpeg(textures / "cubemapNew" / cubeFaceFiles[face],
                       renderSkyFace(face, skyFaceSize), skyJpegQuality) &&
             ok;

    const std::filesystem::path particles = textures / "particleSystem";
    ok = writePng(particles / "particle_full.png", paintParticleDisc(spriteSize), 4) && ok;
    ok = writePng(particles / "particle.png", paintParticleGlow(spriteSize), 4) && ok;
    return ok;
}

bool writeIcons(const std::filesystem::path& themeRoot, const std::string& name) {
    bool ok = true;
    for (int size : iconSizes) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path apps = themeRoot / "hicolor" / folder / "apps";
        std::error_code error;
        std::filesystem::create_directories(apps, error);
        if (error) {
            std::cout << "assetgen: could not create " << apps.string() << ": " << error.message()
                      << std::endl;
            return false;
        }
        ok = writePng(apps / (name + ".png"), paintIcon(size), 4) && ok;
    }
    return ok;
}

} // namespace assetgen
