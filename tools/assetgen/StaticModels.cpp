#include "AssetWriters.h"

#include "ObjWriter.h"
#include "StaticModels.h"

#include "data/DataFiles.h"

#include <iostream>

namespace assetgen {

bool writeStaticModels(const std::filesystem::path& assetRoot) {
    const struct {
        std::string_view path;
        StaticModel (*build)();
    } files[] = {
        {zarn::data::redButton, buildRedButton},
        {zarn::data::buttonFrame, buildButtonFrame},
        {zarn::data::panelFrame, buildPanelFrame},
        {zarn::data::panelPieces[0],
         [] {
             return buildPanelPiece(1);
         }},
        {zarn::data::panelPieces[1],
         [] {
             return buildPanelPiece(2);
         }},
        {zarn::data::panelPieces[2],
         [] {
             return buildPanelPiece(3);
         }},
        {zarn::data::panelPieces[3],
         [] {
             return buildPanelPiece(4);
         }},
        {zarn::data::panelPieces[4],
         [] {
             return buildPanelPiece(5);
         }},
        {zarn::data::frameModel, buildCubeFrame},
        {zarn::data::roundTree, buildRoundTree},
        {zarn::data::pineTree, buildPineTree},
        {zarn::data::riverArrow, buildRiverArrow},
        {zarn::data::riverArrowOutline, buildRiverArrowOutline},
        {zarn::data::boat, buildBoat},
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
