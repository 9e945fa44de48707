#include "AssetWriters.h"

#include "ColladaWriter.h"
#include "FigureDesign.h"

#include <iostream>
#include <system_error>

namespace assetgen {

FigurePalette figureOutlinePalette() {
    return FigurePalette({glm::vec3(0.0f)});
}

namespace {

const char* const outlineTexture = "outline_black.png";

bool writeFigure(const std::filesystem::path& assetRoot, const std::filesystem::path& animals,
                 const FigureDesign& design) {
    ColladaDocument figure;
    figure.name = design.name;
    figure.textureFile = design.textureFile;
    figure.mesh = design.mesh;
    figure.skeleton = design.skeleton;
    figure.animation = design.animation;

    ColladaDocument outline;
    outline.name = design.name + "_outline";
    outline.textureFile = outlineTexture;
    outline.mesh = design.outline;

    return FigurePalette(design.colours).writePng(animals / design.textureFile) &&
           writeColladaFile(assetRoot / design.modelFile, figure) &&
           writeColladaFile(assetRoot / design.outlineFile, outline);
}

} // namespace

bool writeFigureModels(const std::filesystem::path& assetRoot) {
    const std::filesystem::path animals = assetRoot / "models" / "animals";
    std::error_code error;
    std::filesystem::create_directories(animals / "outlines", error);
    if (error) {
        std::cout << "assetgen: cannot create " << (animals / "outlines").string() << ": "
                  << error.message() << std::endl;
        return false;
    }
    if (!figureOutlinePalette().writePng(animals / "outlines" / outlineTexture)) {
        return false;
    }
    bool ok = true;
    for (const FigureDesign& design : {makeBearFigure(), makeRabbitFigure(), makeCarrotFigure()}) {
        ok = writeFigure(assetRoot, animals, design) && ok;
    }
    return ok;
}

} // namespace assetgen
