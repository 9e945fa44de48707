#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

namespace {
namespace fs = std::filesystem;
const float halfPi = 1.5707964f;
const float grassX = -1.825f; // up is -x: the feet are at the largest x
struct Figure {
    const char *label, *model, *outline;
    glm::mat4 base; // the game's base matrix; bear and rabbit are authored Z up
    friend void PrintTo(const Figure& figure, std::ostream* out) { *out << figure.label; }
};
const glm::mat4 yUp = glm::rotate(glm::mat4(1.0f), halfPi, {0, 0, 1}),
                zUp = glm::rotate(yUp, -halfPi, {1, 0, 0});
const Figure figures[] = {
    {"bear", "wolf.dae", "outlines/wolf_outlines.dae", glm::scale(zUp, glm::vec3(0.12f))},
    {"rabbit", "bunny13.dae", "outlines/bunny_outlines.dae", glm::scale(zUp, glm::vec3(0.07f))},
    {"carrot", "carrot.dae", "outlines/carrot_outlines.dae", glm::scale(yUp, glm::vec3(0.1f))},
};

template <typename T> std::vector<T> items(const T* first, unsigned count) {
    return {first, first + count};
}
// Imports as the game does; each mesh's texture must lie next to the file and decode.
const aiScene* load(Assimp::Importer& importer, const fs::path& file) {
    const aiScene* scene =
        importer.ReadFile(file.string(), aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                             aiProcess_FlipUVs | aiProcess_JoinIdenticalVertices);
    EXPECT_TRUE(scene && !(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && scene->mNumMeshes > 0)
        << file << ": " << importer.GetErrorString();
    for (const aiMesh* mesh :
         items(scene ? scene->mMeshes : nullptr, scene ? scene->mNumMeshes : 0)) {
        aiString name;
        scene->mMaterials[mesh->mMaterialIndex]->GetTexture(aiTextureType_DIFFUSE, 0, &name);
        const fs::path texture = file.parent_path() / name.C_Str();
        int w = 0, h = 0, channels = 0;
        unsigned char* pixels = stbi_load(texture.string().c_str(), &w, &h, &channels, 3);
        EXPECT_TRUE(pixels && texture.parent_path() == file.parent_path()) << texture;
        stbi_image_free(pixels);
    }
    return scene;
}

template <typename Key> auto sample(const Key* keys, unsigned count, double ticks) {
    unsigned i = 0;
    while (i + 2 < count && keys[i + 1].mTime <= ticks)
        ++i;
    const Key &a = keys[i], &b = keys[std::min(i + 1, count - 1)];
    const float f = i + 1 < count ? float((ticks - a.mTime) / (b.mTime - a.mTime)) : 0.0f;
    auto value = a.mValue;
    if constexpr (std::is_same_v<Key, aiQuatKey>)
        aiQuaternion::Interpolate(value, a.mValue, b.mValue, f);
    else
        value += f * (b.mValue - a.mValue);
    return value;
}

// The game's bone evaluation: the first clip's channel by node name, local =
// T * R * S from the interpolated keys (the node's own matrix when `ticks` is
// negative), global = parent * local, final = inverse(root) * global * offset;
// the stack carries inverse(root) * parent. A bone naming no node gets no final.
std::map<std::string, aiMatrix4x4> finalBones(const aiScene* scene, double ticks) {
    std::map<std::string, aiMatrix4x4> offsets, finals;
    for (const aiMesh* mesh : items(scene->mMeshes, scene->mNumMeshes))
        for (const aiBone* bone : items(mesh->mBones, mesh->mNumBones))
            offsets[bone->mName.C_Str()] = bone->mOffsetMatrix;
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> stack = {
        {scene->mRootNode, aiMatrix4x4(scene->mRootNode->mTransformation).Inverse()}};
    while (!stack.empty()) {
        const auto [node, parent] = stack.back();
        stack.pop_back();
        aiMatrix4x4 local = node->mTransformation;
        for (const aiNodeAnim* ch : items(scene->mAnimations[0]->mChannels,
                                          ticks < 0 ? 0 : scene->mAnimations[0]->mNumChannels))
            if (ch->mNodeName == node->mName) // T * R * S
                local = aiMatrix4x4(sample(ch->mScalingKeys, ch->mNumScalingKeys, ticks),
                                    sample(ch->mRotationKeys, ch->mNumRotationKeys, ticks),
                                    sample(ch->mPositionKeys, ch->mNumPositionKeys, ticks));
        const aiMatrix4x4 global = parent * local;
        if (offsets.count(node->mName.C_Str()))
            finals[node->mName.C_Str()] = global * offsets[node->mName.C_Str()];
        for (const aiNode* child : items(node->mChildren, node->mNumChildren))
            stack.push_back({child, global});
    }
    return finals;
}

// Skinned vertices (sum of weight * final * v) placed by `place`; throws for a
// bone that names no node.
std::vector<glm::vec3> pose(const aiScene* scene, double ticks, const glm::mat4& place) {
    const auto finals = finalBones(scene, ticks);
    std::vector<glm::vec3> out;
    for (const aiMesh* mesh : items(scene->mMeshes, scene->mNumMeshes)) {
        std::vector<aiVector3D> skinned(mesh->mNumVertices);
        for (const aiBone* bone : items(mesh->mBones, mesh->mNumBones))
            for (const aiVertexWeight& vw : items(bone->mWeights, bone->mNumWeights))
                skinned[vw.mVertexId] +=
                    vw.mWeight * (finals.at(bone->mName.C_Str()) * mesh->mVertices[vw.mVertexId]);
        for (const aiVector3D& v : skinned)
            out.push_back(glm::vec3(place * glm::vec4(v.x, v.y, v.z, 1.0f)));
    }
    return out;
}

class FigureModels : public ::testing::TestWithParam<Figure> {};

// Weights sum to 1 over at most 4 bones; the first clip loops on existing nodes.
// The bind pose gives identity bones and stands on the grass; a 0.5 s walk
// moves parts clearly but boundedly.
TEST_P(FigureModels, SkinClipAndWalkAreSound) {
    Assimp::Importer importer, outline;
    const aiScene* scene = load(importer, fs::path("assets/models/animals") / GetParam().model);
    EXPECT_TRUE(load(outline, fs::path("assets/models/animals") / GetParam().outline));
    ASSERT_TRUE(scene && scene->mNumAnimations > 0);
    for (const aiMesh* mesh : items(scene->mMeshes, scene->mNumMeshes)) {
        std::vector<glm::vec2> tally(mesh->mNumVertices); // weight sum, influences
        for (const aiBone* bone : items(mesh->mBones, mesh->mNumBones))
            for (const aiVertexWeight& vw : items(bone->mWeights, bone->mNumWeights))
                tally.at(vw.mVertexId) += glm::vec2(vw.mWeight, 1.0f);
        for (const glm::vec2& t : tally)
            ASSERT_TRUE(std::abs(t.x - 1.0f) < 1e-4f && t.y <= 4.0f) << t.x << " over " << t.y;
    }
    const aiAnimation* clip = scene->mAnimations[0];
    EXPECT_NE(clip->mTicksPerSecond, 0.0);
    for (const aiNodeAnim* ch : items(clip->mChannels, clip->mNumChannels)) {
        EXPECT_TRUE(scene->mRootNode->FindNode(ch->mNodeName)) << ch->mNodeName.C_Str();
        EXPECT_EQ(ch->mPositionKeys[0].mValue, ch->mPositionKeys[ch->mNumPositionKeys - 1].mValue);
        EXPECT_EQ(ch->mRotationKeys[0].mValue, ch->mRotationKeys[ch->mNumRotationKeys - 1].mValue);
        EXPECT_EQ(ch->mScalingKeys[0].mValue, ch->mScalingKeys[ch->mNumScalingKeys - 1].mValue);
    }
    for (const auto& [bone, final] : finalBones(scene, -1.0))
        ASSERT_TRUE(final.Equal(aiMatrix4x4(), 1e-4f)) << bone;
    // Placed at translate(-1.85, lane / 1.5, place / 10) * base; lane and place shift y and z.
    const glm::mat4 place = glm::translate(glm::mat4(1.0f), {-1.85f, 0, -1}) * GetParam().base;
    const std::vector<glm::vec3> bind = pose(scene, -1.0, place);
    glm::vec3 low(1e9f), high(-1e9f);
    for (const glm::vec3& p : bind)
        low = glm::min(low, p), high = glm::max(high, p);
    EXPECT_NEAR(high.x, grassX, 0.004f) << "feet off the grass";
    float largestMove = 0.0f;
    for (int ms = 20; ms < 500; ms += 20) {
        const std::vector<glm::vec3> walk =
            pose(scene, std::fmod(ms / 500.0 * clip->mTicksPerSecond, clip->mDuration), place);
        for (std::size_t i = 0; i < walk.size(); ++i) {
            largestMove = std::max(largestMove, glm::distance(walk[i], bind[i]));
            ASSERT_TRUE(glm::distance(walk[i], bind[i]) < 0.3f * glm::length(high - low) &&
                        walk[i].x <= grassX + 0.006f)
                << "vertex " << i << " strays at " << ms << " ms";
        }
    }
    EXPECT_GT(largestMove, 0.04f) << "the walk hardly moves";
}

INSTANTIATE_TEST_SUITE_P(RiverFigures, FigureModels, ::testing::ValuesIn(figures),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
