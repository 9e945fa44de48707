#pragma once

#include "SkinAnimation.h"
#include "SkinMesh.h"
#include "SkinSkeleton.h"

#include <filesystem>
#include <string>

namespace assetgen {

// Everything one hand-written COLLADA file holds: one textured mesh, and for
// a figure its skeleton, skin and one clip. Without joints the mesh is
// written as plain geometry.
struct ColladaDocument {
    std::string name;        // prefix of every id in the file
    std::string textureFile; // PNG next to the model file
    SkinMesh mesh;
    SkinSkeleton skeleton;
    SkinAnimation animation;
};

// The document as COLLADA 1.4.1 text, Y up, with an identity bind shape.
// Joint ids, sids and names are the joint names, so the importer's bone
// names match its node names.
std::string colladaText(const ColladaDocument& document);

bool writeColladaFile(const std::filesystem::path& file, const ColladaDocument& document);

} // namespace assetgen
