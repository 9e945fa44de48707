#pragma once

#include "MeshBuilder.h"
#include "MeshPalette.h"

#include <filesystem>
#include <string>

namespace assetgen {

// Wavefront OBJ text for the mesh as one object with one material, with
// shared positions, texture coordinates and normals in order of first use.
// Numbers have fixed precision, so equal meshes give equal bytes.
std::string objText(const MeshBuilder& mesh, const std::string& objectName,
                    const std::string& mtlFile, const std::string& materialName);

std::string mtlText(const std::string& materialName, const std::string& textureFile);

// Writes <stem>.obj, <stem>.mtl and the palette as <stem>.png next to each
// other, creating the directory. Returns false after printing the reason.
bool writeObjModel(const std::filesystem::path& objPath, const MeshBuilder& mesh,
                   const MeshPalette& palette);

} // namespace assetgen
