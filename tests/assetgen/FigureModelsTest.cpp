#include "ColladaWriter.h"
#include "FigurePalette.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr unsigned gameImportFlags = aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                     aiProcess_FlipUVs | aiProcess_JoinIdenticalVertices;
constexpr float halfPi = 1.5707964f;
constexpr float grassX = -1.825f;

// How the river crossing places and sizes each figure.
struct FigureCase {
    const char* label;
    const char* model;
    const char* outline;
    float size;
    float outlineScale;
    int lane;
    bool zUp; // bear and rabbit are authored Z up, the carrot Y up
    float height;
    float minLength;
    float maxLength;
};

const FigureCase figureCases[] = {
    {"bear", "assets/models/animals/wolf.dae", "assets/models/animals/outlines/wolf_outlines.dae",
     0.12f, 1.05f, 1, true, 0.45f, 0.3f, 0.5f},
    {"rabbit", "assets/models/animals/bunny13.dae",
     "assets/models/animals/outlines/bunny_outlines.dae", 0.07f, 1.04f, 0, true, 0.35f, 0.2f,
     0.45f},
    {"carrot", "assets/models/animals/carrot.dae",
     "assets/models/animals/outlines/carrot_outlines.dae", 0.1f, 1.08f, -1, false, 0.35f, 0.1f,
     0.4f},
};

void PrintTo(const FigureCase& figure, std::ostream* out) {
    *out << figure.label;
}

glm::mat4 baseMatrix(const FigureCase& figure) {
    glm::mat4 m = glm::rotate(glm::mat4(1.0f), halfPi, glm::vec3(0.0f, 0.0f, 1.0f));
    if (figure.zUp) {
        m = glm::rotate(m, -halfPi, glm::vec3(1.0f, 0.0f, 0.0f));
    }
    return glm::scale(m, glm::vec3(figure.size));
}

// The figure's matrix at one of its places (-10, -3, 3, 10); lane 0 in the boat.
glm::mat4 placement(const FigureCase& figure, int place) {
    const int lane = (place == -10 || place == 10) ? figure.lane : 0;
    const glm::vec3 at(-1.85f, static_cast<float>(lane) / 1.5f, static_cast<float>(place) / 10.0f);
    return glm::translate(glm::mat4(1.0f), at) * baseMatrix(figure);
}

struct Box {
    glm::vec3 low{1e9f};
    glm::vec3 high{-1e9f};
    void add(const glm::vec3& p) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
    glm::vec3 size() const { return high - low; }
};

struct Imported {
    std::unique_ptr<Assimp::Importer> importer = std::make_unique<Assimp::Importer>();
    const aiScene* scene = nullptr;
    fs::path directory;
};

Imported import(const fs::path& file) {
    Imported result;
    result.scene = result.importer->ReadFile(file.string(), gameImportFlags);
    result.directory = file.parent_path();
    return result;
}

glm::vec3 toGlm(const aiVector3D& v) {
    return {v.x, v.y, v.z};
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    // The colour the game's sampler returns at imported (already flipped)
    // coordinates: v counts from the top row of the file.
    glm::vec3 at(const aiVector3D& uv) const {
        const int x = std::clamp(static_cast<int>(uv.x * static_cast<float>(width)), 0, width - 1);
        const int y =
            std::clamp(static_cast<int>(uv.y * static_cast<float>(height)), 0, height - 1);
        const unsigned char* p = &rgb[static_cast<std::size_t>((y * width + x) * 3)];
        return glm::vec3(p[0], p[1], p[2]) / 255.0f;
    }
};

Picture decode(const fs::path& file) {
    Picture picture;
    int channels = 0;
    unsigned char* pixels =
        stbi_load(file.string().c_str(), &picture.width, &picture.height, &channels, 3);
    if (pixels != nullptr) {
        picture.rgb.assign(pixels, pixels + picture.width * picture.height * 3);
        stbi_image_free(pixels);
    }
    return picture;
}

fs::path diffuseTexture(const Imported& model, const aiMesh* mesh) {
    aiString path;
    if (model.scene->mMaterials[mesh->mMaterialIndex]->GetTexture(aiTextureType_DIFFUSE, 0,
                                                                  &path) != AI_SUCCESS) {
        return {};
    }
    return model.directory / path.C_Str();
}

// The game's bone evaluation, step by step: channel by node name, local =
// T * R * S from the interpolated keys (or the node's own matrix), global =
// parent * local, final = globalInverse * global * offset.
class ReferenceSkin {
public:
    explicit ReferenceSkin(const aiScene* scene) : scene_(scene) {
        globalInverse_ = scene->mRootNode->mTransformation;
        globalInverse_.Inverse();
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            for (unsigned b = 0; b < scene->mMeshes[m]->mNumBones; ++b) {
                const aiBone* bone = scene->mMeshes[m]->mBones[b];
                if (mapping_.emplace(bone->mName.C_Str(), offsets_.size()).second) {
                    offsets_.push_back(bone->mOffsetMatrix);
                }
            }
        }
        finals_.resize(offsets_.size());
    }

    std::size_t boneCount() const { return offsets_.size(); }
    const aiMatrix4x4& final(std::size_t bone) const { return finals_[bone]; }

    // A negative time leaves every node at its own transformation.
    void evaluate(float ticks) { visit(ticks, scene_->mRootNode, aiMatrix4x4()); }

    std::vector<glm::vec3> skinned(const aiMesh* mesh) const {
        std::vector<glm::vec3> out(mesh->mNumVertices, glm::vec3(0.0f));
        for (unsigned b = 0; b < mesh->mNumBones; ++b) {
            const aiBone* bone = mesh->mBones[b];
            const aiMatrix4x4& f = finals_[mapping_.at(bone->mName.C_Str())];
            for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                const aiVertexWeight& vw = bone->mWeights[w];
                out[vw.mVertexId] += vw.mWeight * toGlm(f * mesh->mVertices[vw.mVertexId]);
            }
        }
        return out;
    }

private:
    template <typename Key> static unsigned keyIndex(const Key* keys, unsigned count, float t) {
        for (unsigned i = 0; i + 1 < count; ++i) {
            if (static_cast<float>(keys[i + 1].mTime) > t) {
                return i;
            }
        }
        return 0;
    }

    static aiVector3D interpolate(const aiVectorKey* keys, unsigned count, float t) {
        if (count == 1) {
            return keys[0].mValue;
        }
        const unsigned i = keyIndex(keys, count, t);
        const float f = (t - static_cast<float>(keys[i].mTime)) /
                        static_cast<float>(keys[i + 1].mTime - keys[i].mTime);
        return keys[i].mValue + f * (keys[i + 1].mValue - keys[i].mValue);
    }

    static aiQuaternion interpolate(const aiQuatKey* keys, unsigned count, float t) {
        if (count == 1) {
            return keys[0].mValue;
        }
        const unsigned i = keyIndex(keys, count, t);
        const float f = (t - static_cast<float>(keys[i].mTime)) /
                        static_cast<float>(keys[i + 1].mTime - keys[i].mTime);
        aiQuaternion q;
        aiQuaternion::Interpolate(q, keys[i].mValue, keys[i + 1].mValue, f);
        return q.Normalize();
    }

    void visit(float t, const aiNode* node, const aiMatrix4x4& parent) {
        aiMatrix4x4 local = node->mTransformation;
        const aiNodeAnim* channel = nullptr;
        if (t >= 0.0f && scene_->mNumAnimations > 0) {
            const aiAnimation* clip = scene_->mAnimations[0];
            for (unsigned c = 0; c < clip->mNumChannels && channel == nullptr; ++c) {
                if (clip->mChannels[c]->mNodeName == node->mName) {
                    channel = clip->mChannels[c];
                }
            }
        }
        if (channel != nullptr) {
            aiMatrix4x4 s, r, tr;
            aiMatrix4x4::Scaling(interpolate(channel->mScalingKeys, channel->mNumScalingKeys, t),
                                 s);
            aiMatrix4x4::Translation(
                interpolate(channel->mPositionKeys, channel->mNumPositionKeys, t), tr);
            r = aiMatrix4x4(
                interpolate(channel->mRotationKeys, channel->mNumRotationKeys, t).GetMatrix());
            local = tr * r * s;
        }
        const aiMatrix4x4 global = parent * local;
        const auto found = mapping_.find(node->mName.C_Str());
        if (found != mapping_.end()) {
            finals_[found->second] = globalInverse_ * global * offsets_[found->second];
        }
        for (unsigned c = 0; c < node->mNumChildren; ++c) {
            visit(t, node->mChildren[c], global);
        }
    }

    const aiScene* scene_;
    aiMatrix4x4 globalInverse_;
    std::map<std::string, std::size_t> mapping_;
    std::vector<aiMatrix4x4> offsets_;
    std::vector<aiMatrix4x4> finals_;
};

// Vertices of every mesh, skinned by the reference evaluation at `ticks`
// (bind pose when negative) and placed in the world at the start bank.
std::vector<glm::vec3> worldVertices(const FigureCase& figure, const aiScene* scene, float ticks) {
    ReferenceSkin skin(scene);
    skin.evaluate(ticks);
    const glm::mat4 place = placement(figure, -10);
    std::vector<glm::vec3> out;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        std::vector<glm::vec3> local;
        if (ticks >= 0.0f && mesh->mNumBones > 0) {
            local = skin.skinned(mesh);
        } else {
            for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
                local.push_back(toGlm(mesh->mVertices[v]));
            }
        }
        for (const glm::vec3& p : local) {
            out.push_back(glm::vec3(place * glm::vec4(p, 1.0f)));
        }
    }
    return out;
}

// Animation time in ticks the way the game computes it `ms` after a walk starts.
float walkTicks(const aiAnimation* clip, int ms) {
    const double tps = clip->mTicksPerSecond != 0.0 ? clip->mTicksPerSecond : 25.0;
    return static_cast<float>(std::fmod(ms / 500.0 * tps, clip->mDuration));
}

class FigureModels : public ::testing::TestWithParam<FigureCase> {
protected:
    void SetUp() override {
        figure_ = import(GetParam().model);
        outline_ = import(GetParam().outline);
        ASSERT_NE(figure_.scene, nullptr) << figure_.importer->GetErrorString();
        ASSERT_NE(outline_.scene, nullptr) << outline_.importer->GetErrorString();
    }

    Imported figure_;
    Imported outline_;
};

TEST_P(FigureModels, ImportWithTheGameFlagsAndCarryDecodableTextures) {
    for (const Imported* model : {&figure_, &outline_}) {
        const aiScene* scene = model->scene;
        EXPECT_EQ(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE, 0u);
        ASSERT_NE(scene->mRootNode, nullptr);
        ASSERT_GE(scene->mNumMeshes, 1u);
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh* mesh = scene->mMeshes[m];
            EXPECT_GT(mesh->mNumFaces, 20u);
            EXPECT_TRUE(mesh->HasTextureCoords(0));
            const fs::path texture = diffuseTexture(*model, mesh);
            ASSERT_FALSE(texture.empty()) << "mesh " << m << " names no diffuse texture";
            EXPECT_EQ(texture.parent_path(), model->directory) << texture;
            const Picture picture = decode(texture);
            EXPECT_GT(picture.width, 0) << texture;
            EXPECT_GT(picture.height, 0) << texture;
        }
    }
}

// Every part is a closed solid wound counter-clockwise from outside: each
// edge is used once in each direction, each part encloses positive volume,
// and the stored facet normals agree with the winding.
TEST_P(FigureModels, PartsAreClosedOutwardSolidsWithMatchingNormals) {
    for (const Imported* model : {&figure_, &outline_}) {
        for (unsigned m = 0; m < model->scene->mNumMeshes; ++m) {
            const aiMesh* mesh = model->scene->mMeshes[m];
            std::map<std::array<float, 3>, int> ids;
            std::vector<int> idOf(mesh->mNumVertices);
            for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
                const aiVector3D& p = mesh->mVertices[v];
                idOf[v] =
                    ids.emplace(std::array<float, 3>{p.x, p.y, p.z}, static_cast<int>(ids.size()))
                        .first->second;
            }
            std::vector<int> group(ids.size());
            for (std::size_t i = 0; i < group.size(); ++i) {
                group[i] = static_cast<int>(i);
            }
            const auto findGroup = [&](int i) {
                while (group[i] != i) {
                    i = group[i] = group[group[i]];
                }
                return i;
            };
            std::map<std::pair<int, int>, int> edges;
            int misaligned = 0;
            for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                const aiFace& face = mesh->mFaces[f];
                ASSERT_EQ(face.mNumIndices, 3u);
                for (int k = 0; k < 3; ++k) {
                    const int a = idOf[face.mIndices[k]], b = idOf[face.mIndices[(k + 1) % 3]];
                    ++edges[{a, b}];
                    group[findGroup(a)] = findGroup(b);
                }
                const glm::vec3 p0 = toGlm(mesh->mVertices[face.mIndices[0]]);
                const glm::vec3 cross = glm::cross(toGlm(mesh->mVertices[face.mIndices[1]]) - p0,
                                                   toGlm(mesh->mVertices[face.mIndices[2]]) - p0);
                if (glm::length(cross) > 1e-6f) {
                    const glm::vec3 n = glm::normalize(cross);
                    for (int k = 0; k < 3; ++k) {
                        misaligned += glm::dot(n, toGlm(mesh->mNormals[face.mIndices[k]])) < 0.99f;
                    }
                }
            }
            EXPECT_EQ(misaligned, 0);
            int unmatched = 0;
            for (const auto& [edge, uses] : edges) {
                const auto reverse = edges.find({edge.second, edge.first});
                unmatched += uses != 1 || reverse == edges.end() || reverse->second != 1;
            }
            EXPECT_EQ(unmatched, 0) << "open or doubled edges";

            std::map<int, double> volume;
            for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                const aiFace& face = mesh->mFaces[f];
                const glm::dvec3 a(toGlm(mesh->mVertices[face.mIndices[0]]));
                const glm::dvec3 b(toGlm(mesh->mVertices[face.mIndices[1]]));
                const glm::dvec3 c(toGlm(mesh->mVertices[face.mIndices[2]]));
                volume[findGroup(idOf[face.mIndices[0]])] += glm::dot(a, glm::cross(b, c)) / 6.0;
            }
            EXPECT_GE(volume.size(), 3u);
            for (const auto& [part, v] : volume) {
                EXPECT_GT(v, 0.0) << "part " << part << " is inside out";
            }
        }
    }
}

TEST_P(FigureModels, BonesMatchNodesAndWeightsAreComplete) {
    const aiScene* scene = figure_.scene;
    const ReferenceSkin skin(scene);
    EXPECT_GE(skin.boneCount(), 6u);
    EXPECT_LE(skin.boneCount(), 32u);
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        ASSERT_GT(mesh->mNumBones, 0u) << "mesh " << m << " has no skin";
        std::vector<float> sum(mesh->mNumVertices, 0.0f);
        std::vector<int> influences(mesh->mNumVertices, 0);
        for (unsigned b = 0; b < mesh->mNumBones; ++b) {
            const aiBone* bone = mesh->mBones[b];
            EXPECT_NE(scene->mRootNode->FindNode(bone->mName), nullptr)
                << "bone " << bone->mName.C_Str() << " has no node";
            for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                ASSERT_LT(bone->mWeights[w].mVertexId, mesh->mNumVertices);
                EXPECT_GT(bone->mWeights[w].mWeight, 0.0f);
                sum[bone->mWeights[w].mVertexId] += bone->mWeights[w].mWeight;
                ++influences[bone->mWeights[w].mVertexId];
            }
        }
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            ASSERT_NEAR(sum[v], 1.0f, 1e-4f) << "vertex " << v;
            ASSERT_GE(influences[v], 1);
            ASSERT_LE(influences[v], 4);
        }
    }
}

TEST_P(FigureModels, FirstClipLoopsOverAboutOneSecondOnExistingNodes) {
    const aiScene* scene = figure_.scene;
    ASSERT_GE(scene->mNumAnimations, 1u);
    const aiAnimation* clip = scene->mAnimations[0];
    ASSERT_GT(clip->mTicksPerSecond, 0.0);
    ASSERT_GT(clip->mDuration, 0.0);
    // One clip per 0.5 s walk at the game's double speed.
    EXPECT_NEAR(clip->mDuration / clip->mTicksPerSecond, 1.0, 0.1);
    ASSERT_GE(clip->mNumChannels, 4u);
    for (unsigned c = 0; c < clip->mNumChannels; ++c) {
        const aiNodeAnim* channel = clip->mChannels[c];
        SCOPED_TRACE(channel->mNodeName.C_Str());
        EXPECT_NE(scene->mRootNode->FindNode(channel->mNodeName), nullptr);
        ASSERT_GE(channel->mNumPositionKeys, 2u);
        ASSERT_GE(channel->mNumRotationKeys, 2u);
        ASSERT_GE(channel->mNumScalingKeys, 2u);
        const aiVectorKey* t = channel->mPositionKeys;
        const aiQuatKey* r = channel->mRotationKeys;
        const aiVectorKey* s = channel->mScalingKeys;
        const unsigned nt = channel->mNumPositionKeys, nr = channel->mNumRotationKeys,
                       ns = channel->mNumScalingKeys;
        EXPECT_EQ(t[0].mTime, 0.0);
        EXPECT_NEAR(t[nt - 1].mTime, clip->mDuration, 1e-3);
        for (unsigned k = 1; k < nt; ++k) {
            EXPECT_GT(t[k].mTime, t[k - 1].mTime);
        }
        EXPECT_LT((t[0].mValue - t[nt - 1].mValue).Length(), 1e-5f);
        EXPECT_LT((s[0].mValue - s[ns - 1].mValue).Length(), 1e-5f);
        const aiQuaternion& a = r[0].mValue;
        const aiQuaternion& b = r[nr - 1].mValue;
        EXPECT_GT(std::fabs(a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z), 1.0f - 1e-5f);
    }
}

// With every node at its own transformation the skin must reproduce the
// vertex data exactly; wrong inverse bind matrices show up here.
TEST_P(FigureModels, BindPoseEvaluatesToIdentity) {
    ReferenceSkin skin(figure_.scene);
    skin.evaluate(-1.0f);
    for (std::size_t b = 0; b < skin.boneCount(); ++b) {
        const aiMatrix4x4& f = skin.final(b);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                EXPECT_NEAR(f[row][column], row == column ? 1.0f : 0.0f, 1e-4f)
                    << "bone " << b << " element " << row << "," << column;
            }
        }
    }
}

// Played the way the game plays it during a 0.5 s walk, the clip starts on
// the standing pose, moves parts of the figure by a clear amount, keeps it
// near its standing box and never pushes it through the grass.
TEST_P(FigureModels, WalkMovesTheFigureWithinBounds) {
    const FigureCase& figure = GetParam();
    ASSERT_GE(figure_.scene->mNumAnimations, 1u);
    const aiAnimation* clip = figure_.scene->mAnimations[0];
    const std::vector<glm::vec3> bind = worldVertices(figure, figure_.scene, -1.0f);
    Box box;
    for (const glm::vec3& p : bind) {
        box.add(p);
    }
    const float margin = 0.3f * std::max({box.size().x, box.size().y, box.size().z});

    const std::vector<glm::vec3> start = worldVertices(figure, figure_.scene, 0.0f);
    ASSERT_EQ(start.size(), bind.size());
    for (std::size_t i = 0; i < bind.size(); ++i) {
        ASSERT_LT(glm::length(start[i] - bind[i]), 1e-4f) << "the clip does not start standing";
    }

    float largestMove = 0.0f;
    float sumOfMoves = 0.0f;
    for (int ms = 20; ms < 500; ms += 20) {
        const std::vector<glm::vec3> posed =
            worldVertices(figure, figure_.scene, walkTicks(clip, ms));
        for (std::size_t i = 0; i < posed.size(); ++i) {
            const glm::vec3& p = posed[i];
            const float move = glm::length(p - bind[i]);
            largestMove = std::max(largestMove, move);
            sumOfMoves += move;
            ASSERT_TRUE(glm::all(glm::greaterThanEqual(p, box.low - margin)) &&
                        glm::all(glm::lessThanEqual(p, box.high + margin)))
                << "vertex " << i << " leaves the box at " << ms << " ms";
            ASSERT_LE(p.x, grassX + 0.006f) << "vertex " << i << " sinks at " << ms << " ms";
        }
    }
    EXPECT_GT(largestMove, 0.04f);
    EXPECT_GT(sumOfMoves / static_cast<float>(bind.size() * 24), 0.008f);
}

TEST_P(FigureModels, StandsOnTheGrassWithinItsSizeBudgetFacingTheFarBank) {
    const FigureCase& figure = GetParam();
    for (int place : {-10, -3, 3, 10}) {
        SCOPED_TRACE(place);
        const glm::mat4 m = placement(figure, place);
        const glm::vec3 origin(m[3]);
        Box box;
        glm::vec3 centroid(0.0f);
        glm::vec3 eyes(0.0f);
        int eyeCorners = 0;
        std::size_t count = 0;
        for (unsigned i = 0; i < figure_.scene->mNumMeshes; ++i) {
            const aiMesh* mesh = figure_.scene->mMeshes[i];
            const Picture picture = decode(diffuseTexture(figure_, mesh));
            ASSERT_GT(picture.width, 0);
            for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                const glm::vec3 colour =
                    picture.at(mesh->mTextureCoords[0][mesh->mFaces[f].mIndices[0]]);
                for (int k = 0; k < 3; ++k) {
                    const unsigned v = mesh->mFaces[f].mIndices[k];
                    const glm::vec3 p = glm::vec3(m * glm::vec4(toGlm(mesh->mVertices[v]), 1.0f));
                    box.add(p);
                    centroid += p;
                    ++count;
                    if (colour.r + colour.g + colour.b < 0.6f) {
                        eyes += p;
                        ++eyeCorners;
                    }
                }
            }
        }
        centroid /= static_cast<float>(count);
        EXPECT_NEAR(box.high.x, grassX, 0.004f) << "feet off the grass";
        EXPECT_NEAR(box.high.x - box.low.x, figure.height, 0.05f) << "height";
        EXPECT_LE(std::max(box.high.y - origin.y, origin.y - box.low.y), 0.2f) << "width";
        EXPECT_GE(box.size().z, figure.minLength);
        EXPECT_LE(box.size().z, figure.maxLength);
        EXPECT_NEAR(0.5f * (box.low.z + box.high.z), origin.z, 0.12f);
        ASSERT_GT(eyeCorners, 0) << "no dark eyes found";
        EXPECT_GT(eyes.z / static_cast<float>(eyeCorners), centroid.z + 0.03f)
            << "the face looks away from the far bank";
    }
}

// The outline, as the game scales it, stands out of the figure all round by a
// thin rim, and its texture is black.
TEST_P(FigureModels, OutlineIsAThinBlackRimAroundTheFigure) {
    const FigureCase& figure = GetParam();
    const glm::mat4 m = placement(figure, -10);
    const glm::mat4 enlarged = m * glm::scale(glm::mat4(1.0f), glm::vec3(figure.outlineScale));
    Box body;
    Box rim;
    for (unsigned i = 0; i < figure_.scene->mNumMeshes; ++i) {
        const aiMesh* mesh = figure_.scene->mMeshes[i];
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            body.add(glm::vec3(m * glm::vec4(toGlm(mesh->mVertices[v]), 1.0f)));
        }
    }
    for (unsigned i = 0; i < outline_.scene->mNumMeshes; ++i) {
        const aiMesh* mesh = outline_.scene->mMeshes[i];
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            rim.add(glm::vec3(enlarged * glm::vec4(toGlm(mesh->mVertices[v]), 1.0f)));
        }
        const Picture picture = decode(diffuseTexture(outline_, mesh));
        ASSERT_GT(picture.width, 0);
        for (unsigned char c : picture.rgb) {
            ASSERT_LT(c, 16) << "outline texture is not black";
        }
    }
    for (int axis = 0; axis < 3; ++axis) {
        // Above the grass only: the outline may dip into it under the feet.
        if (axis != 0) {
            EXPECT_GT(rim.high[axis] - body.high[axis], 0.004f) << "axis " << axis;
        }
        EXPECT_GT(body.low[axis] - rim.low[axis], 0.004f) << "axis " << axis;
        EXPECT_LT(rim.high[axis] - body.high[axis], 0.035f) << "axis " << axis;
        EXPECT_LT(body.low[axis] - rim.low[axis], 0.035f) << "axis " << axis;
    }
}

// The colour covering most of the surface tells the figure at a glance.
TEST_P(FigureModels, MostOfTheSurfaceHasTheFiguresColour) {
    std::map<std::array<int, 3>, double> areaByColour;
    for (unsigned i = 0; i < figure_.scene->mNumMeshes; ++i) {
        const aiMesh* mesh = figure_.scene->mMeshes[i];
        const Picture picture = decode(diffuseTexture(figure_, mesh));
        ASSERT_GT(picture.width, 0);
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const unsigned* idx = mesh->mFaces[f].mIndices;
            const glm::vec3 a = toGlm(mesh->mVertices[idx[0]]);
            const double area = 0.5 * glm::length(glm::cross(toGlm(mesh->mVertices[idx[1]]) - a,
                                                             toGlm(mesh->mVertices[idx[2]]) - a));
            const glm::vec3 c = picture.at(mesh->mTextureCoords[0][idx[0]]) * 255.0f;
            areaByColour[{int(c.r), int(c.g), int(c.b)}] += area;
        }
    }
    const auto top =
        std::max_element(areaByColour.begin(), areaByColour.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    const glm::vec3 c = glm::vec3(top->first[0], top->first[1], top->first[2]) / 255.0f;
    const std::string label = GetParam().label;
    SCOPED_TRACE(testing::Message() << c.r << " " << c.g << " " << c.b);
    if (label == "bear") {
        EXPECT_TRUE(c.r > c.g && c.g > c.b && c.r < 0.8f && c.r > 0.4f) << "not brown";
    } else if (label == "rabbit") {
        EXPECT_GT(std::min({c.r, c.g, c.b}), 0.8f) << "not pale";
    } else {
        EXPECT_TRUE(c.r > 0.85f && c.g > 0.35f && c.g < 0.7f && c.b < 0.35f) << "not orange";
    }
}

INSTANTIATE_TEST_SUITE_P(RiverFigures, FigureModels, ::testing::ValuesIn(figureCases),
                         [](const auto& info) { return std::string(info.param.label); });

// The writer on its own: a two-joint skin with a known pose round-trips
// through the importer with its raw vertices, inverse binds, weights, key
// values, seconds-to-ticks timing and texture name.
TEST(ColladaWriter, SkinAndClipSurviveTheImporter) {
    using namespace assetgen;
    ColladaDocument doc;
    doc.name = "probe";
    doc.textureFile = "probe_colours.png";
    const int base = doc.skeleton.add("Base", -1, {0.0f, 1.0f, 0.0f});
    const int arm = doc.skeleton.add("Arm", base, {0.5f, 2.0f, 0.0f});
    // A tetrahedron: the foot corners follow Base, the apex Arm, and one
    // corner is shared half and half.
    doc.mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0.25f, 3, -0.25f}};
    doc.mesh.influences = {{{base, 1}}, {{base, 1}}, {{base, 0.5f}, {arm, 0.5f}}, {{arm, 1}}};
    doc.mesh.uvs = {{0.25f, 0.75f}};
    const std::array<std::array<std::uint32_t, 3>, 4> faces = {
        {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {2, 0, 3}}};
    for (const auto& face : faces) {
        const glm::vec3& a = doc.mesh.positions[face[0]];
        doc.mesh.normals.push_back(glm::normalize(
            glm::cross(doc.mesh.positions[face[1]] - a, doc.mesh.positions[face[2]] - a)));
        for (std::uint32_t p : face) {
            doc.mesh.corners.push_back(
                {p, static_cast<std::uint32_t>(doc.mesh.normals.size() - 1), 0});
        }
    }
    const glm::quat quarter = glm::angleAxis(halfPi, glm::vec3(0.0f, 0.0f, 1.0f));
    doc.animation.name = "swing";
    doc.animation.times = {0.0f, 0.25f, 0.5f};
    doc.animation.keys = {{},
                          {doc.skeleton.bindLocal(arm),
                           doc.skeleton.posed(arm, {0.0f, 0.5f, 0.0f}, quarter, glm::vec3(2.0f)),
                           doc.skeleton.bindLocal(arm)}};

    const fs::path dir = fs::temp_directory_path() / "zarn_collada_probe";
    fs::create_directories(dir);
    ASSERT_TRUE(FigurePalette({{1.0f, 0.0f, 0.0f}}).writePng(dir / doc.textureFile));
    ASSERT_TRUE(writeColladaFile(dir / "probe.dae", doc));

    const Imported model = import(dir / "probe.dae");
    ASSERT_NE(model.scene, nullptr) << model.importer->GetErrorString();
    ASSERT_EQ(model.scene->mNumMeshes, 1u);
    const aiMesh* mesh = model.scene->mMeshes[0];
    EXPECT_EQ(diffuseTexture(model, mesh), dir / doc.textureFile);
    EXPECT_EQ(mesh->mNumFaces, 4u);
    Box box;
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
        box.add(toGlm(mesh->mVertices[v]));
    }
    EXPECT_EQ(box.low, glm::vec3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(box.high, glm::vec3(1.0f, 3.0f, 0.0f));

    ASSERT_EQ(mesh->mNumBones, 2u);
    for (unsigned b = 0; b < 2; ++b) {
        const aiBone* bone = mesh->mBones[b];
        const glm::vec3 origin =
            bone->mName == aiString("Base") ? glm::vec3(0, 1, 0) : glm::vec3(0.5f, 2, 0);
        const aiMatrix4x4& o = bone->mOffsetMatrix;
        EXPECT_NEAR(o.a4, -origin.x, 1e-6f);
        EXPECT_NEAR(o.b4, -origin.y, 1e-6f);
        EXPECT_NEAR(o.c4, -origin.z, 1e-6f);
        EXPECT_FLOAT_EQ(o.a1 + o.b2 + o.c3 + o.d4, 4.0f);
        EXPECT_EQ(bone->mNumWeights, bone->mName == aiString("Base") ? 9u : 6u)
            << bone->mName.C_Str();
    }

    ASSERT_EQ(model.scene->mNumAnimations, 1u);
    const aiAnimation* clip = model.scene->mAnimations[0];
    ASSERT_EQ(clip->mNumChannels, 1u);
    const aiNodeAnim* channel = clip->mChannels[0];
    EXPECT_STREQ(channel->mNodeName.C_Str(), "Arm");
    ASSERT_EQ(channel->mNumPositionKeys, 3u);
    EXPECT_NEAR(channel->mPositionKeys[1].mTime / clip->mTicksPerSecond, 0.25, 1e-6);
    EXPECT_NEAR(clip->mDuration / clip->mTicksPerSecond, 0.5, 1e-6);
    const aiVector3D& moved = channel->mPositionKeys[1].mValue;
    EXPECT_NEAR(moved.x, 0.5f, 1e-5f);
    EXPECT_NEAR(moved.y, 1.5f, 1e-5f);
    EXPECT_NEAR(channel->mScalingKeys[1].mValue.y, 2.0f, 1e-5f);
    const aiQuaternion& q = channel->mRotationKeys[1].mValue;
    EXPECT_NEAR(std::fabs(q.w), std::cos(halfPi / 2.0f), 1e-5f);
    EXPECT_NEAR(q.z / q.w, 1.0f, 1e-4f) << "rotation about +z";
    fs::remove_all(dir);
}

} // namespace
