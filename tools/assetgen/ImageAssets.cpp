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

#include "data/DataFiles.h"

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

    bool ok = writePng(assetRoot / zarn::data::helpImage, help, 3);

    const std::vector<ImageCanvas> tiles = cutTiles(paintSavedWorld(3 * tileSize), tileBevel);
    for (std::size_t k = 0; k < tiles.size(); ++k)
        ok = writeDxt1Dds(assetRoot / zarn::data::tileTexture(k), tiles[k]) && ok;

    ok =
        writeDxt1Dds(assetRoot / zarn::data::flowBoard, paintFlowBoard(flowBoardSize, false)) && ok;
    ok = writeDxt1Dds(assetRoot / zarn::data::flowBoardFinished,
                      paintFlowBoard(flowBoardSize, true)) &&
         ok;
    ok = writeDxt5Dds(assetRoot / zarn::data::flowMarks, paintFlowMarks(flowBoardSize)) && ok;

    ok = writeDxt1Dds(assetRoot / zarn::data::riverWater, paintWater(groundSize)) && ok;
    ok = writeDxt1Dds(assetRoot / zarn::data::riverSand, paintSand(groundSize)) && ok;
    ok = writeDxt1Dds(assetRoot / zarn::data::riverGrass, paintGrass(groundSize)) && ok;

    ok = writeDxt1Dds(assetRoot / zarn::data::mazeBall, paintMarble(256, 128)) && ok;
    ok = writeDxt1Dds(assetRoot / zarn::data::mazePit, paintPit(blockSize)) && ok;
    ok = writeDxt1Dds(assetRoot / zarn::data::mazeFloor,
                      paintBlock(blockSize, glm::vec3(0.98f, 0.86f, 0.55f))) &&
         ok;
    ok = writeDxt1Dds(assetRoot / zarn::data::mazeRaised,
                      paintBlock(blockSize, glm::vec3(0.36f, 0.62f, 0.84f))) &&
         ok;
    ok = writeDxt1Dds(assetRoot / zarn::data::mazeWall,
                      paintBlock(blockSize, glm::vec3(0.7f, 0.57f, 0.71f))) &&
         ok;
    ok = writeDxt1Dds(assetRoot / zarn::data::black,
                      ImageCanvas(8, 8, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f))) &&
         ok;
    // Only worn in the depth pass, where its colour is never seen.
    ok = writeDxt1Dds(assetRoot / zarn::data::shadowTexture,
                      ImageCanvas(8, 8, glm::vec4(0.5f, 0.5f, 0.5f, 1.0f))) &&
         ok;

    for (int face = 0; face < cubeFaceCount; ++face)
        ok = writeJpeg(assetRoot / zarn::data::skyFaces[std::size_t(face)],
                       renderSkyFace(face, skyFaceSize), skyJpegQuality) &&
             ok;

    ok = writePng(assetRoot / zarn::data::particleDisc, paintParticleDisc(spriteSize), 4) && ok;
    ok = writePng(assetRoot / zarn::data::particleGlow, paintParticleGlow(spriteSize), 4) && ok;
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
