#include "AssetWriters.h"

#include "ObjWriter.h"
#include "StaticModels.h"

#include <iostream>

namespace assetgen {

bool writeStaticModels(const std::filesystem::path& assetRoot) {
    const struct {
        const char* path;
        StaticModel (*build)();
    } files[] = {
        {"models/cubeBottom/redButton.obj", buildRedButton},
        {"models/cubeBottom/buttonFrame.obj", buildButtonFrame},
        {"models/pentagon/frame.obj", buildPanelFrame},
        {"models/pentagon/lock.obj",
         [] {
             return buildPanelPiece(1);
         }},
        {"models/pentagon/mt.obj",
         [] {
             return buildPanelPiece(2);
         }},
        {"models/pentagon/bg.obj",
         [] {
             return buildPanelPiece(3);
         }},
        {"models/pentagon/rcg.obj",
         [] {
             return buildPanelPiece(4);
         }},
        {"models/pentagon/fp.obj",
         [] {
             return buildPanelPiece(5);
         }},
        {"models/frame/frame.obj", buildCubeFrame},
        {"models/trees_export/trees_1.obj", buildRoundTree},
        {"models/trees_export/trees_2.obj", buildPineTree},
        {"models/riverCrossing/arrow/arrow_V2.obj", buildRiverArrow},
        {"models/riverCrossing/arrow_outlines/arrow_V2.obj", buildRiverArrowOutline},
        {"models/riverCrossing/boat/boat.obj", buildBoat},
    };
    bool ok = true;
    for (const auto& file : files) {
        const StaticModel model = file.build();
        ok = writeObjModel(assetRoot / file.path, model.mesh, model.palette) && ok;
    }
    if (!ok)
        std::cout << "assetgen: some static models were not written" << std::endl;
    return ok;
}

} // namespace assetgen
