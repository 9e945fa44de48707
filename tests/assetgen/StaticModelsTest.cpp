#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#define GLM_ENABLE_EXPERIMENTAL
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtx/intersect.hpp>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using glm::vec3;

namespace {

// Imports a model as the game does (no node transforms), checks that each
// material's texture is a bare file name next to it that decodes, and returns
// the triangle corners placed by `matrix`.
std::vector<vec3> load(const fs::path& path, const glm::mat4& matrix = glm::mat4(1.0f)) {
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFile(path.string(), aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                             aiProcess_FlipUVs | aiProcess_JoinIdenticalVertices);
    std::vector<vec3> corners;
    for (unsigned m = 0; scene && m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f)
            for (unsigned c = 0; c < 3 && mesh->mFaces[f].mNumIndices == 3; ++c) {
                const aiVector3D& p = mesh->mVertices[mesh->mFaces[f].mIndices[c]];
                corners.push_back(vec3(matrix * glm::vec4(p.x, p.y, p.z, 1.0f)));
            }
        const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
        aiString name;
        EXPECT_EQ(material->GetTexture(aiTextureType_DIFFUSE, 0, &name), AI_SUCCESS) << path;
        EXPECT_EQ(fs::path(name.C_Str()).filename(), fs::path(name.C_Str())) << path;
        int w = 0, h = 0, channels = 0;
        unsigned char* pixels =
            stbi_load((path.parent_path() / name.C_Str()).string().c_str(), &w, &h, &channels, 3);
        EXPECT_NE(pixels, nullptr) << path << ": " << name.C_Str() << " does not decode";
        stbi_image_free(pixels);
    }
    EXPECT_TRUE(scene && !(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && !corners.empty())
        << path << ": " << importer.GetErrorString();
    return corners;
}

using Box = std::pair<vec3, vec3>; // lowest and highest corner
Box bounds(const std::vector<vec3>& corners) {
    Box box{vec3(1e9f), vec3(-1e9f)};
    for (const vec3& p : corners)
        box = {glm::min(box.first, p), glm::max(box.second, p)};
    return box;
}

} // namespace

// Every model imports, and each connected shell encloses a positive volume:
// its faces wind outwards, so back-face culling keeps them.
TEST(StaticModelsTest, EveryModelImportsWithTexturesAndWindsOutwards) {
    int models = 0;
    for (const auto& entry : fs::recursive_directory_iterator("assets/models")) {
        if (entry.path().extension() != ".obj")
            continue;
        SCOPED_TRACE(entry.path().string());
        ++models;
        const std::vector<vec3> corners = load(entry.path());
        std::map<std::array<float, 3>, std::size_t> ids; // the files repeat exact positions
        std::vector<std::size_t> group, idOf;
        auto root = [&](std::size_t i) {
            while (group[i] != i)
                i = group[i] = group[group[i]];
            return i;
        };
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const vec3& p = corners[i];
            group.push_back(i); // corner i is only ever an id from here on
            idOf.push_back(ids.emplace(std::array<float, 3>{p.x, p.y, p.z}, i).first->second);
            group[root(idOf[i])] = root(idOf[i - i % 3]);
        }
        std::map<std::size_t, double> volumes;
        for (std::size_t i = 0; i < corners.size(); i += 3)
            volumes[root(idOf[i])] +=
                glm::dot(corners[i], glm::cross(corners[i + 1], corners[i + 2])) / 6.0;
        for (const auto& [shell, volume] : volumes)
            EXPECT_GT(volume, 1e-9) << "shell of corner " << shell << " winds inwards";
    }
    EXPECT_GT(models, 0);
}

TEST(StaticModelsTest, ModelsSitWhereTheGamePlacesThem) {
    const glm::mat4 one(1.0f);
    const float pi = 3.14159265f;
    const Box button = bounds(
        load("assets/models/cubeBottom/redButton.obj", glm::translate(one, vec3(0, -1.75f, 0))));
    EXPECT_TRUE(glm::all(glm::greaterThanEqual(button.first, vec3(-0.5f, -1.875f, -0.5f))));
    EXPECT_TRUE(glm::all(glm::lessThanEqual(button.second, vec3(0.5f, -1.625f, 0.5f))));
    EXPECT_GT(button.second.x - button.first.x, 0.6f) << "too small for its click box";

    // Resting pentagon pieces are flush with the frame, so slid out 0.5 they stand 0.5 proud.
    const glm::mat4 turn = glm::rotate(one, pi, vec3(0, 1, 0));
    const Box frame = bounds(
        load("assets/models/pentagon/frame.obj", glm::translate(one, vec3(0, 0, -1.625f)) * turn));
    EXPECT_NEAR(frame.second.z, -1.5f, 0.02f) << "the frame must sit on the back face";
    for (const std::string name : {"lock", "mt", "bg", "rcg", "fp"}) {
        const Box piece = bounds(load("assets/models/pentagon/" + name + ".obj",
                                      glm::translate(one, vec3(0, 0, -1.25f)) * turn));
        EXPECT_NEAR(piece.first.z, frame.first.z, 1e-3f) << name;
        EXPECT_LE(piece.second.z, -1.5f + 1e-4f) << name << " reaches into the cube";
    }

    // Looking down (+x) on the boat's middle, its floor is at the grass height.
    const glm::mat4 boatMatrix = glm::translate(one, vec3(-1.8f, 0, 0.3f)) *
                                 glm::rotate(one, pi / 2, vec3(1, 0, 0)) *
                                 glm::rotate(one, pi / 2, vec3(0, 0, 1));
    const std::vector<vec3> boat = load("assets/models/riverCrossing/boat/boat.obj", boatMatrix);
    auto nearestHit = [&](vec3 origin, vec3 direction) {
        float nearest = 1e9f, distance = 0.0f;
        for (std::size_t i = 0; i < boat.size(); i += 3) {
            glm::vec2 weights;
            if (glm::intersectRayTriangle(origin, direction, boat[i], boat[i + 1], boat[i + 2],
                                          weights, distance))
                nearest = std::min(nearest, distance);
        }
        return nearest;
    };
    EXPECT_NEAR(nearestHit(vec3(-2.5f, 0, 0.3f), vec3(1, 0, 0)) - 2.5f, -1.825f, 0.01f);
    // Along the centre line, between floor and gunwale, bow and stern are closed
    // (the boat runs along y, 0.66 long).
    EXPECT_NEAR(nearestHit(vec3(-1.88f, 1.0f, 0.3f), vec3(0, -1, 0)), 0.67f, 0.01f);
    EXPECT_NEAR(nearestHit(vec3(-1.88f, -1.0f, 0.3f), vec3(0, 1, 0)), 0.67f, 0.01f);
}
