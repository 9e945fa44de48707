#include "AssetWriters.h"
#include "MeshBuilder.h"
#include "MeshOutline.h"
#include "MeshPalette.h"
#include "ObjWriter.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using assetgen::MeshBuilder;
using glm::vec2;
using glm::vec3;

namespace {

const unsigned gameFlags = aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_FlipUVs |
                           aiProcess_JoinIdenticalVertices;

const char* const modelPaths[] = {
    "models/cubeBottom/redButton.obj",
    "models/cubeBottom/buttonFrame.obj",
    "models/pentagon/frame.obj",
    "models/pentagon/lock.obj",
    "models/pentagon/mt.obj",
    "models/pentagon/bg.obj",
    "models/pentagon/rcg.obj",
    "models/pentagon/fp.obj",
    "models/frame/frame.obj",
    "models/trees_export/trees_1.obj",
    "models/trees_export/trees_2.obj",
    "models/riverCrossing/arrow/arrow_V2.obj",
    "models/riverCrossing/arrow_outlines/arrow_V2.obj",
    "models/riverCrossing/boat/boat.obj",
};

struct Corner {
    vec3 position;
    vec3 normal;
    vec2 uv; // after FlipUVs: v = 0 is the first image row in memory
};
using Triangle = std::array<Corner, 3>;

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // The texel the game's sampler reads at a flipped texture coordinate.
    vec3 at(vec2 uv, int dx = 0, int dy = 0) const {
        const int x = std::clamp(int(uv.x * float(width)) + dx, 0, width - 1);
        const int y = std::clamp(int(uv.y * float(height)) + dy, 0, height - 1);
        const unsigned char* p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
        return vec3(p[0], p[1], p[2]) / 255.0f;
    }
};

struct ImportedModel {
    std::vector<Triangle> triangles;
    std::vector<std::string> textures;
    Image texture;
};

Image loadImage(const fs::path& path) {
    Image image;
    int channels = 0;
    unsigned char* data =
        stbi_load(path.string().c_str(), &image.width, &image.height, &channels, 3);
    if (data) {
        image.rgb.assign(data, data + std::size_t(image.width) * std::size_t(image.height) * 3);
        stbi_image_free(data);
    }
    return image;
}

// Imports as the game does; node transforms are ignored like the game ignores them.
ImportedModel load(const fs::path& path) {
    ImportedModel model;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path.string(), gameFlags);
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        ADD_FAILURE() << path << ": " << importer.GetErrorString();
        return model;
    }
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        EXPECT_TRUE(mesh->HasNormals() && mesh->HasTextureCoords(0)) << path;
        if (!mesh->HasNormals() || !mesh->HasTextureCoords(0))
            continue;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            EXPECT_EQ(mesh->mFaces[f].mNumIndices, 3u) << path;
            Triangle t;
            for (int c = 0; c < 3; ++c) {
                const unsigned i = mesh->mFaces[f].mIndices[c];
                const aiVector3D p = mesh->mVertices[i], n = mesh->mNormals[i],
                                 uv = mesh->mTextureCoords[0][i];
                t[c] = {vec3(p.x, p.y, p.z), vec3(n.x, n.y, n.z), vec2(uv.x, uv.y)};
            }
            model.triangles.push_back(t);
        }
        const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
        for (unsigned i = 0; i < material->GetTextureCount(aiTextureType_DIFFUSE); ++i) {
            aiString file;
            material->GetTexture(aiTextureType_DIFFUSE, i, &file);
            model.textures.push_back(file.C_Str());
        }
        EXPECT_GE(material->GetTextureCount(aiTextureType_DIFFUSE), 1u) << path;
    }
    if (!model.textures.empty())
        model.texture = loadImage(path.parent_path() / model.textures.front());
    return model;
}

const ImportedModel& asset(const std::string& relative) {
    static std::map<std::string, ImportedModel> cache;
    auto found = cache.find(relative);
    if (found == cache.end())
        found = cache.emplace(relative, load(fs::path("assets") / relative)).first;
    return found->second;
}

std::vector<vec3> placed(const ImportedModel& model, const glm::mat4& matrix) {
    std::vector<vec3> points;
    for (const Triangle& t : model.triangles)
        for (const Corner& c : t)
            points.push_back(vec3(matrix * glm::vec4(c.position, 1.0f)));
    return points;
}

struct Box {
    vec3 low{1e9f}, high{-1e9f};
};
Box bounds(const std::vector<vec3>& points) {
    Box box;
    for (const vec3& p : points) {
        box.low = glm::min(box.low, p);
        box.high = glm::max(box.high, p);
    }
    return box;
}

// Welds positions closer than 2e-5 (the files keep five decimals) so edges
// of neighbouring faces meet.
std::vector<int> weld(const std::vector<vec3>& points) {
    std::map<std::array<long, 3>, std::vector<int>> cells;
    std::vector<vec3> unique;
    std::vector<int> ids;
    for (const vec3& p : points) {
        const std::array<long, 3> cell{std::lround(p.x * 1e4f), std::lround(p.y * 1e4f),
                                       std::lround(p.z * 1e4f)};
        int id = -1;
        for (long dx = -1; dx <= 1 && id < 0; ++dx)
            for (long dy = -1; dy <= 1 && id < 0; ++dy)
                for (long dz = -1; dz <= 1 && id < 0; ++dz)
                    for (int other : cells[{cell[0] + dx, cell[1] + dy, cell[2] + dz}])
                        if (glm::distance(unique[std::size_t(other)], p) < 2e-5f)
                            id = other;
        if (id < 0) {
            id = int(unique.size());
            unique.push_back(p);
            cells[cell].push_back(id);
        }
        ids.push_back(id);
    }
    return ids;
}

// Checks that the triangles form closed shells that all wind outwards: every
// directed edge is matched by its reverse, and each edge-connected shell
// encloses a positive volume.
void expectClosedOutwards(const std::vector<vec3>& corners, const std::string& name) {
    const std::vector<int> ids = weld(corners);
    const std::size_t count = corners.size() / 3;
    std::map<std::pair<int, int>, std::vector<std::size_t>> edges;
    for (std::size_t t = 0; t < count; ++t)
        for (std::size_t c = 0; c < 3; ++c) {
            const int a = ids[3 * t + c], b = ids[3 * t + (c + 1) % 3];
            ASSERT_NE(a, b) << name << ": triangle " << t << " has two equal corners";
            edges[{a, b}].push_back(t);
        }
    std::vector<std::size_t> shell(count);
    std::iota(shell.begin(), shell.end(), 0);
    auto root = [&](std::size_t t) {
        while (shell[t] != t)
            t = shell[t] = shell[shell[t]];
        return t;
    };
    int unmatched = 0;
    for (const auto& [edge, users] : edges) {
        const auto reverse = edges.find({edge.second, edge.first});
        if (reverse == edges.end() || reverse->second.size() != users.size()) {
            ++unmatched;
            continue;
        }
        shell[root(users.front())] = root(reverse->second.front());
    }
    EXPECT_EQ(unmatched, 0) << name << ": open or inconsistently wound edges";
    std::map<std::size_t, double> volumes;
    for (std::size_t t = 0; t < count; ++t)
        volumes[root(t)] +=
            glm::dot(corners[3 * t], glm::cross(corners[3 * t + 1], corners[3 * t + 2])) / 6.0;
    for (const auto& [first, volume] : volumes)
        EXPECT_GT(volume, 0.0) << name << ": shell of triangle " << first << " winds inwards";
}

std::vector<vec3> cornersOf(const MeshBuilder& mesh) {
    std::vector<vec3> corners;
    for (const auto& v : mesh.vertices())
        corners.push_back(v.position);
    return corners;
}

std::vector<vec3> cornersOf(const ImportedModel& model) {
    return placed(model, glm::mat4(1.0f));
}

// Distance along the ray to the nearest triangle, or a negative number.
float castRay(const std::vector<vec3>& corners, vec3 origin, vec3 direction,
              vec3* normal = nullptr) {
    float best = -1.0f;
    for (std::size_t i = 0; i < corners.size(); i += 3) {
        const vec3 e1 = corners[i + 1] - corners[i], e2 = corners[i + 2] - corners[i];
        const vec3 p = glm::cross(direction, e2);
        const float det = glm::dot(e1, p);
        if (std::abs(det) < 1e-12f)
            continue;
        const vec3 s = origin - corners[i];
        const float u = glm::dot(s, p) / det;
        const vec3 q = glm::cross(s, e1);
        const float v = glm::dot(direction, q) / det;
        const float t = glm::dot(e2, q) / det;
        if (u < 0.0f || v < 0.0f || u + v > 1.0f || t <= 0.0f || (best >= 0.0f && t >= best))
            continue;
        best = t;
        if (normal)
            *normal = glm::normalize(glm::cross(e1, e2));
    }
    return best;
}

glm::mat4 translate(vec3 offset) {
    return glm::translate(glm::mat4(1.0f), offset);
}
glm::mat4 rotate(float angle, vec3 axis) {
    return glm::rotate(glm::mat4(1.0f), angle, axis);
}
const float halfTurn = 3.14159265f;
const float quarterTurn = 1.5707964f;

fs::path scratchDirectory(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("zarn_static_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

} // namespace

// The toolkit: primitives must be closed, wind outwards and hold the volume
// their parameters promise.
TEST(MeshBuilderTest, PrimitivesAreClosedWithTheirExpectedVolume) {
    using assetgen::MeshFrame;
    const float pi = 3.14159265f;
    struct Case {
        const char* name;
        std::function<void(MeshBuilder&)> build;
        float volume, tolerance;
    } cases[] = {
        {"box",
         [](MeshBuilder& m) {
             m.addBox({-1, 0, 2}, {1, 0.5f, 3}, {});
         },
         1.0f, 1e-5f},
        // A unit cube chamfered by b loses 12 edge prisms b^2/2 by (1 - 2b)
        // and, in each corner's b^3 cell, everything below the corner cut:
        // b^3 minus the b^3/6 that stays.
        {"bevelled box",
         [](MeshBuilder& m) {
             m.addBevelledBox({0, 0, 0}, {1, 1, 1}, 0.1f, {}, {});
         },
         1.0f - 12 * 0.005f * 0.8f - 8 * 5 * 0.001f / 6.0f, 1e-4f},
        {"concave extrusion",
         [](MeshBuilder& m) {
             m.addExtrusion(MeshFrame::facing({0, 0, 0}, {-1, 0, 0}, {0, 1, 0}),
                            {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, -0.5f, 0.5f, {}, {});
         },
         3.0f, 1e-5f},
        {"clockwise extrusion",
         [](MeshBuilder& m) {
             m.addExtrusion({}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, 0, 2, {}, {});
         },
         2.0f, 1e-5f},
        // The chamfered top 0.1 is a frustum from a 1 x 1 to a 0.8 x 0.8 square.
        {"bevelled extrusion",
         [](MeshBuilder& m) {
             m.addBevelledExtrusion({}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 0, 1, 0.1f, {}, {}, {});
         },
         0.9f + 0.1f / 3.0f * (1.0f + 0.64f + 0.8f), 1e-4f},
        {"cylinder", [](MeshBuilder& m) { m.addCylinder({}, 1.0f, 0, 2, 64, {}, {}); },
         2.0f * 32.0f * std::sin(2.0f * pi / 64.0f), 1e-4f},
        {"cone",
         [](MeshBuilder& m) {
             m.addFrustum(MeshFrame::facing({1, 2, 3}, {0, 1, 0}, {0, 0, 1}), 1, 0, 0, 3, 64, {},
                          {});
         },
         32.0f * std::sin(2.0f * pi / 64.0f), 1e-4f},
        {"sphere",
         [](MeshBuilder& m) {
             m.addEllipsoid({0, 5, 0}, {1, 2, 1}, 3, {});
         },
         4.0f / 3.0f * pi * 2.0f, 0.1f},
        // A square ring 0.5 wide and 1 high around a 2 x 2 hole.
        {"band",
         [](MeshBuilder& m) {
             m.addBand({}, {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}},
                       {{-1.5f, -1.5f}, {1.5f, -1.5f}, {1.5f, 1.5f}, {-1.5f, 1.5f}},
                       {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {});
         },
         5.0f, 1e-4f},
    };
    for (const Case& c : cases) {
        MeshBuilder mesh;
        c.build(mesh);
        expectClosedOutwards(cornersOf(mesh), c.name);
        EXPECT_NEAR(mesh.signedVolume(), c.volume, c.tolerance) << c.name;
        for (const auto& v : mesh.vertices())
            ASSERT_NEAR(glm::length(v.normal), 1.0f, 1e-4f) << c.name;
    }
}

TEST(MeshBuilderTest, LoftCapsAndMirroredAppendKeepOutwardWinding) {
    // Square rings following +z, counter-clockwise seen from ahead.
    std::vector<std::vector<vec3>> rings;
    for (float z : {0.0f, 1.0f, 3.0f})
        rings.push_back({{-1, -1, z}, {1, -1, z}, {1, 1, z}, {-1, 1, z}});
    MeshBuilder loft;
    loft.addLoft(rings, false, {}, {});
    expectClosedOutwards(cornersOf(loft), "loft");
    EXPECT_NEAR(loft.signedVolume(), 12.0f, 1e-4f);

    MeshBuilder mirrored;
    mirrored.append(loft, glm::scale(glm::mat4(1.0f), vec3(-1, 2, 1)));
    expectClosedOutwards(cornersOf(mirrored), "mirrored loft");
    EXPECT_NEAR(mirrored.signedVolume(), 24.0f, 1e-3f);
    for (std::size_t i = 0; i < mirrored.vertices().size(); i += 3) {
        const auto& v = mirrored.vertices();
        const vec3 face =
            glm::cross(v[i + 1].position - v[i].position, v[i + 2].position - v[i].position);
        ASSERT_GT(glm::dot(face, v[i].normal), 0.0f) << "normal turned against the winding";
    }
}

TEST(MeshOutlineTest, TriangulationCoversConcaveOutlinesAndRejectsBrokenOnes) {
    const assetgen::Outline l = {{0, 0}, {3, 0}, {3, 1}, {1, 1}, {1, 3}, {0, 3}};
    const assetgen::Outline u = {{0, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}};
    const assetgen::Outline arrow = {
        {0.45f, 0},  {0.2f, 0.19f},   {0.2f, 0.07f},   {-0.2f, 0.07f}, {-0.2f, 0.19f},
        {-0.45f, 0}, {-0.2f, -0.19f}, {-0.2f, -0.07f}, {0.2f, -0.07f}, {0.2f, -0.19f}};
    const assetgen::Outline straightRun = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {0, 1}};
    const assetgen::Outline shapes[] = {l, u, arrow, straightRun};
    for (const auto& shape : shapes)
        for (bool clockwise : {false, true}) {
            const auto outline = clockwise ? assetgen::reversedOutline(shape) : shape;
            const auto triangles = assetgen::triangulateOutline(outline);
            ASSERT_EQ(triangles.size(), outline.size() - 2);
            float area = 0.0f;
            for (const auto& t : triangles) {
                const float part =
                    assetgen::outlineArea({outline[t[0]], outline[t[1]], outline[t[2]]});
                EXPECT_EQ(part >= 0.0f, !clockwise) << "triangle turned the other way";
                area += part;
            }
            EXPECT_NEAR(area, assetgen::outlineArea(outline), 1e-5f);
        }
    EXPECT_TRUE(assetgen::triangulateOutline({{0, 0}, {1, 1}}).empty());
    EXPECT_TRUE(assetgen::triangulateOutline({{0, 0}, {1, 1}, {2, 2}}).empty());
    EXPECT_TRUE(assetgen::triangulateOutline({{0, 0}, {1, 1}, {1, 0}, {0, 1}}).empty()); // bow tie
    EXPECT_TRUE(assetgen::triangulateOutline({{0, 0}, {NAN, 1}, {1, 0}}).empty());
}

TEST(MeshOutlineTest, OffsetsAndStrokesHaveTheRightSize) {
    const assetgen::Outline square = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    EXPECT_NEAR(assetgen::outlineArea(assetgen::offsetOutline(square, 0.5f)), 9.0f, 1e-5f);
    EXPECT_NEAR(assetgen::outlineArea(assetgen::offsetOutline(square, -0.5f)), 1.0f, 1e-5f);
    // A clockwise outline still grows outwards.
    EXPECT_NEAR(
        assetgen::outlineArea(assetgen::offsetOutline(assetgen::reversedOutline(square), 0.5f)),
        -9.0f, 1e-5f);
    // An L-shaped path 0.5 wide with a square outer corner: 2.25 x 0.5 plus 0.5 x 1.75.
    const auto stroke = assetgen::strokePolyline({{0, 0}, {2, 0}, {2, 2}}, 0.25f);
    EXPECT_NEAR(assetgen::outlineArea(stroke), 2.25f * 0.5f + 0.5f * 1.75f, 1e-5f);
    EXPECT_TRUE(assetgen::outlineContains(stroke, {1.0f, 0.2f}));
    EXPECT_FALSE(assetgen::outlineContains(stroke, {1.0f, 0.3f}));
    EXPECT_TRUE(assetgen::strokePolyline({{1, 1}}, 0.25f).empty());
}

TEST(MeshPaletteTest, SwatchCoordinatesLandOnTheirColour) {
    assetgen::MeshPalette palette(2, 2, 4);
    const vec3 colours[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
    std::vector<vec2> uvs;
    for (const vec3& c : colours)
        uvs.push_back(palette.add(c));
    EXPECT_EQ(palette.add(colours[1]), uvs[1]) << "a known colour must reuse its swatch";
    EXPECT_FALSE(palette.full());
    const auto pixels = palette.pixels();
    for (std::size_t i = 0; i < 4; ++i) {
        // OBJ texture coordinates count v from the bottom row.
        const int x = int(uvs[i].x * 8.0f), y = int((1.0f - uvs[i].y) * 8.0f);
        const unsigned char* p = &pixels[(std::size_t(y) * 8 + std::size_t(x)) * 3];
        EXPECT_EQ(vec3(p[0], p[1], p[2]) / 255.0f, colours[i]) << "swatch " << i;
    }
    palette.add({0.5f, 0.5f, 0.5f});
    EXPECT_TRUE(palette.full());
    MeshBuilder mesh;
    mesh.addBox({0, 0, 0}, {1, 1, 1}, uvs[0]);
    const fs::path dir = scratchDirectory("full");
    EXPECT_FALSE(assetgen::writeObjModel(dir / "box.obj", mesh, palette));
    EXPECT_FALSE(fs::exists(dir / "box.obj")) << "nothing is written for a broken palette";
    fs::remove_all(dir);
}

TEST(ObjWriterTest, WrittenModelImportsWithTheGameFlags) {
    assetgen::MeshPalette palette;
    MeshBuilder mesh;
    mesh.addBevelledBox({-1, -1, -1}, {1, 2, 1}, 0.2f, palette.add({1, 0, 0}),
                        palette.add({0, 0, 1}));
    const fs::path dir = scratchDirectory("writer");
    ASSERT_TRUE(assetgen::writeObjModel(dir / "nested" / "cube.obj", mesh, palette));
    const ImportedModel model = load(dir / "nested" / "cube.obj");
    ASSERT_EQ(model.triangles.size(), mesh.triangleCount());
    ASSERT_EQ(model.textures, std::vector<std::string>{"cube.png"});
    ASSERT_EQ(model.texture.width, palette.width());
    for (std::size_t t = 0; t < mesh.triangleCount(); ++t)
        for (int c = 0; c < 3; ++c) {
            const auto& expected = mesh.vertices()[3 * t + std::size_t(c)];
            const Corner& got = model.triangles[t][std::size_t(c)];
            ASSERT_LT(glm::distance(got.position, expected.position), 1e-4f);
            ASSERT_LT(glm::distance(got.normal, expected.normal), 1e-4f);
        }
    // Faces keep their colours through FlipUVs and the top-row-first image:
    // the six flat sides are red, the chamfers blue.
    for (const Triangle& t : model.triangles) {
        const vec3 n = glm::abs(t[0].normal);
        const bool side = std::max({n.x, n.y, n.z}) > 0.999f;
        ASSERT_EQ(model.texture.at(t[0].uv), side ? vec3(1, 0, 0) : vec3(0, 0, 1));
    }

    // Bad targets fail cleanly: a directory that is a file, and an empty mesh.
    std::ofstream(dir / "plain") << "x";
    EXPECT_FALSE(assetgen::writeObjModel(dir / "plain" / "cube.obj", mesh, palette));
    EXPECT_FALSE(assetgen::writeObjModel(dir / "empty.obj", MeshBuilder(), palette));
    EXPECT_FALSE(assetgen::writeStaticModels(dir / "plain"));
    fs::remove_all(dir);
}

// The generated tree, as the game reads it.
TEST(StaticModelsTest, EveryModelImportsWithItsTexturesNextToIt) {
    for (const char* path : modelPaths) {
        SCOPED_TRACE(path);
        const fs::path file = fs::path("assets") / path;
        ASSERT_TRUE(fs::is_regular_file(file));
        ASSERT_TRUE(fs::is_regular_file(fs::path(file).replace_extension(".mtl")));
        const ImportedModel& model = asset(path);
        ASSERT_FALSE(model.triangles.empty());
        ASSERT_FALSE(model.textures.empty());
        for (const std::string& texture : model.textures) {
            EXPECT_EQ(fs::path(texture).filename().string(), texture) << "bare file name expected";
            EXPECT_EQ(fs::path(texture).extension(), ".png");
            EXPECT_GT(loadImage(file.parent_path() / texture).width, 0)
                << texture << " does not decode";
        }
        // Each face samples the middle of one flat swatch, so filtering
        // cannot blend in a neighbour's colour.
        int smeared = 0;
        for (const Triangle& t : model.triangles)
            for (const Corner& c : t) {
                const vec3 colour = model.texture.at(c.uv);
                for (int d = -2; d <= 2; d += 4)
                    if (model.texture.at(c.uv, d, 0) != colour ||
                        model.texture.at(c.uv, 0, d) != colour ||
                        model.texture.at(t[0].uv) != colour)
                        ++smeared;
            }
        EXPECT_EQ(smeared, 0);
    }
}

TEST(StaticModelsTest, EveryModelIsClosedAndLitOnItsOutside) {
    for (const char* path : modelPaths) {
        const ImportedModel& model = asset(path);
        expectClosedOutwards(cornersOf(model), path);
        int turned = 0;
        for (const Triangle& t : model.triangles) {
            const vec3 face =
                glm::cross(t[1].position - t[0].position, t[2].position - t[0].position);
            if (glm::length(face) < 1e-7f)
                continue;
            for (const Corner& c : t)
                turned += glm::dot(face, c.normal) <= 0.0f;
        }
        EXPECT_EQ(turned, 0) << path << ": normals facing into the solid";
    }
}

TEST(StaticModelsTest, CubeFrameClosesEveryFaceAndKeepsToTheBorder) {
    const std::vector<vec3> corners = cornersOf(asset("models/frame/frame.obj"));
    // Anything standing proud of a face must lie in one of its 0.1 border strips.
    for (std::size_t i = 0; i < corners.size(); i += 3)
        for (int axis = 0; axis < 3; ++axis)
            for (float sign : {-1.0f, 1.0f}) {
                bool proud = false;
                for (int c = 0; c < 3; ++c)
                    proud = proud || sign * corners[i + c][axis] > 1.5001f;
                if (!proud)
                    continue;
                bool inStrip = false;
                for (int other = 0; other < 3; ++other)
                    for (float side : {-1.0f, 1.0f}) {
                        bool all = other != axis;
                        for (int c = 0; c < 3; ++c)
                            all = all && side * corners[i + c][other] >= 1.3999f;
                        inStrip = inStrip || all;
                    }
                ASSERT_TRUE(inStrip) << "triangle " << i / 3 << " covers the inner face area";
            }
    // Looking straight at any face, the frame is met just under the puzzle
    // surface: no gap shows the inside.
    for (int axis = 0; axis < 3; ++axis)
        for (float sign : {-1.0f, 1.0f})
            for (float a = -1.45f; a <= 1.46f; a += 0.145f)
                for (float b = -1.45f; b <= 1.46f; b += 0.145f) {
                    vec3 origin(0.0f), direction(0.0f);
                    origin[axis] = 3.0f * sign;
                    origin[(axis + 1) % 3] = a;
                    origin[(axis + 2) % 3] = b;
                    direction[axis] = -sign;
                    const float distance = castRay(corners, origin, direction);
                    ASSERT_GT(distance, 0.0f)
                        << "hole at axis " << axis << " (" << a << ", " << b << ")";
                    EXPECT_LE(distance, 1.56f);
                    if (std::max(std::abs(a), std::abs(b)) < 1.39f) {
                        EXPECT_NEAR(3.0f - distance, 1.5f, 0.02f)
                            << "face not at the puzzle surface";
                    }
                }
}

TEST(StaticModelsTest, RedButtonFitsItsClickBoxAndSlidesIntoItsFrame) {
    const ImportedModel& button = asset("models/cubeBottom/redButton.obj");
    const ImportedModel& frame = asset("models/cubeBottom/buttonFrame.obj");
    const Box local = bounds(cornersOf(button));
    EXPECT_GE(local.low.x, -0.5f);
    EXPECT_LE(local.high.x, 0.5f);
    EXPECT_GE(local.low.y, -0.125f);
    EXPECT_LE(local.high.y, 0.125f);
    EXPECT_GE(local.low.z, -0.5f);
    EXPECT_LE(local.high.z, 0.5f);

    const std::vector<vec3> frameWorld = placed(frame, translate({0, -1.625f, 0}));
    const Box frameBox = bounds(frameWorld);
    EXPECT_NEAR(frameBox.high.y, -1.5f, 0.02f) << "the frame must sit against the bottom face";
    const Box rest = bounds(placed(button, translate({0, -1.75f, 0})));
    const Box pressed = bounds(placed(button, translate({0, -1.625f, 0})));
    EXPECT_LT(rest.low.y, frameBox.low.y - 0.05f) << "at rest the button stands out to be clicked";
    EXPECT_LE(pressed.high.y, -1.5f + 1e-4f) << "pressed, the button enters the cube";

    // The hole: the frame's closest approach to the button's axis, against the
    // button's widest point.
    float hole = 1e9f;
    for (std::size_t i = 0; i < frameWorld.size(); i += 3) {
        const vec2 p[3] = {{frameWorld[i].x, frameWorld[i].z},
                           {frameWorld[i + 1].x, frameWorld[i + 1].z},
                           {frameWorld[i + 2].x, frameWorld[i + 2].z}};
        for (int e = 0; e < 3; ++e) {
            const vec2 a = p[e], b = p[(e + 1) % 3];
            const float along = glm::clamp(
                glm::dot(-a, b - a) / std::max(glm::dot(b - a, b - a), 1e-12f), 0.0f, 1.0f);
            hole = std::min(hole, glm::length(a + along * (b - a)));
        }
    }
    float widest = 0.0f;
    for (const vec3& p : cornersOf(button))
        widest = std::max(widest, glm::length(vec2(p.x, p.z)));
    EXPECT_LT(widest, hole) << "the button does not fit the hole";
    EXPECT_GT(widest, hole - 0.08f) << "the button rattles in its hole";

    // Big and red: most of its surface samples a red texel.
    float red = 0.0f, total = 0.0f;
    for (const Triangle& t : button.triangles) {
        const float area =
            glm::length(glm::cross(t[1].position - t[0].position, t[2].position - t[0].position));
        const vec3 c = button.texture.at(t[0].uv);
        total += area;
        red += (c.r > 0.45f && c.r > 2.0f * c.g && c.r > 2.0f * c.b) ? area : 0.0f;
    }
    EXPECT_GT(red / total, 0.85f);
}

TEST(StaticModelsTest, PentagonPiecesRestFlushAndSlideHalfAUnitOut) {
    const glm::mat4 frameMatrix = translate({0, 0, -1.625f}) * rotate(halfTurn, {0, 1, 0});
    const glm::mat4 pieceMatrix = translate({0, 0, -1.25f}) * rotate(halfTurn, {0, 1, 0});
    const glm::mat4 pushedMatrix = glm::translate(pieceMatrix, vec3(0, 0, 0.5f));

    const Box frame = bounds(placed(asset("models/pentagon/frame.obj"), frameMatrix));
    EXPECT_LE(frame.high.z, -1.5f + 1e-4f) << "the frame reaches into the cube";
    EXPECT_GE(frame.high.z, -1.52f) << "the frame floats off the back face";
    for (float extent : {frame.low.x, frame.low.y, -frame.high.x, -frame.high.y})
        EXPECT_GE(extent, -1.4f) << "the panel runs into the edge bars";

    std::vector<std::vector<vec2>> hulls;
    for (const char* name : {"lock", "mt", "bg", "rcg", "fp"}) {
        SCOPED_TRACE(name);
        const ImportedModel& piece = asset(std::string("models/pentagon/") + name + ".obj");
        const std::vector<vec3> rest = placed(piece, pieceMatrix);
        const Box restBox = bounds(rest);
        EXPECT_NEAR(restBox.low.z, frame.low.z, 1e-3f) << "not flush with the frame's outer face";
        EXPECT_NEAR(bounds(placed(piece, pushedMatrix)).low.z, frame.low.z - 0.5f, 1e-3f);
        EXPECT_LE(restBox.high.z, -1.5f) << "the resting piece reaches into the cube";
        EXPECT_GE(restBox.low.x, frame.low.x);
        EXPECT_LE(restBox.high.x, frame.high.x);
        EXPECT_GE(restBox.low.y, frame.low.y);
        EXPECT_LE(restBox.high.y, frame.high.y);
        std::vector<vec2> hull;
        for (const vec3& p : rest)
            hull.push_back(vec2(p.x, p.y));
        hulls.push_back(hull);
    }
    // No two pieces overlap on the face: some direction separates every pair
    // (the pieces are convex wedges, so one of a fan of directions does).
    for (std::size_t a = 0; a < hulls.size(); ++a)
        for (std::size_t b = a + 1; b < hulls.size(); ++b) {
            bool separated = false;
            for (int step = 0; step < 360 && !separated; ++step) {
                const float angle = glm::radians(float(step) * 0.5f);
                const vec2 axis(std::cos(angle), std::sin(angle));
                vec2 spanA(1e9f, -1e9f), spanB(1e9f, -1e9f);
                for (const vec2& p : hulls[a])
                    spanA = vec2(std::min(spanA.x, glm::dot(p, axis)),
                                 std::max(spanA.y, glm::dot(p, axis)));
                for (const vec2& p : hulls[b])
                    spanB = vec2(std::min(spanB.x, glm::dot(p, axis)),
                                 std::max(spanB.y, glm::dot(p, axis)));
                separated = spanA.y < spanB.x || spanB.y < spanA.x;
            }
            EXPECT_TRUE(separated) << "pieces " << a + 1 << " and " << b + 1 << " overlap";
        }
}

TEST(StaticModelsTest, RiverModelsStandWhereTheGamePlacesThem) {
    const glm::mat4 upright =
        rotate(quarterTurn, {0, 0, 1}) * glm::scale(glm::mat4(1.0f), vec3(0.3f));
    const struct {
        const char* path;
        float y, z;
    } trees[] = {{"models/trees_export/trees_1.obj", 1.2f, -1.2f},
                 {"models/trees_export/trees_2.obj", -1.9f, -1.0f},
                 {"models/trees_export/trees_2.obj", 0.5f, 1.0f},
                 {"models/trees_export/trees_1.obj", -1.2f, 1.2f}};
    for (const auto& tree : trees) {
        SCOPED_TRACE(tree.path);
        const std::vector<vec3> world =
            placed(asset(tree.path), translate({-1.7f, tree.y, tree.z}) * upright);
        const Box box = bounds(world);
        EXPECT_GT(box.high.x, -1.825f) << "the trunk must start inside the bank";
        EXPECT_LT(box.high.x, -1.5f) << "the trunk pokes into the cube";
        EXPECT_LT(box.low.x, -2.4f) << "too short to read as a tree";
        EXPECT_GT(box.low.x, -2.8f);
        for (const vec3& p : world)
            ASSERT_LE(glm::length(vec2(p.y - tree.y, p.z - tree.z)), 0.155f) << "crown too wide";
    }
    EXPECT_NE(asset(trees[0].path).triangles.size(), asset(trees[1].path).triangles.size())
        << "the two tree files should be different kinds";

    // The arrow floats over the water inside its click box, pointing both ways.
    const ImportedModel& arrow = asset("models/riverCrossing/arrow/arrow_V2.obj");
    const Box arrowBox = bounds(placed(arrow, translate({-1.7f, 0.6f, 0})));
    const vec3 clickCentre(-1.625f, 0.6f, 0.0f), clickHalf(0.165f, 0.21f, 0.45f);
    EXPECT_TRUE(glm::all(glm::greaterThanEqual(arrowBox.low, clickCentre - clickHalf)));
    EXPECT_TRUE(glm::all(glm::lessThanEqual(arrowBox.high, clickCentre + clickHalf)));
    EXPECT_LT(arrowBox.high.x, -1.625f) << "the arrow dips into the water";
    EXPECT_GT(arrowBox.high.z - arrowBox.low.z, 0.8f);
    const std::vector<vec3> arrowCorners = cornersOf(arrow);
    for (const vec3& p : arrowCorners) {
        const vec3 mirrored(p.x, p.y, -p.z);
        float nearest = 1e9f;
        for (const vec3& q : arrowCorners)
            nearest = std::min(nearest, glm::distance(q, mirrored));
        ASSERT_LT(nearest, 1e-4f) << "the arrow is not double-headed";
    }
    const ImportedModel& outline = asset("models/riverCrossing/arrow_outlines/arrow_V2.obj");
    const Box outlineBox = bounds(cornersOf(outline));
    const Box arrowLocal = bounds(arrowCorners);
    EXPECT_TRUE(glm::all(glm::lessThanEqual(outlineBox.low, arrowLocal.low + 1e-4f)));
    EXPECT_TRUE(glm::all(glm::greaterThanEqual(outlineBox.high, arrowLocal.high - 1e-4f)));
    EXPECT_LT(glm::distance(outlineBox.low, arrowLocal.low), 0.05f) << "not the arrow's shape";
    for (const Triangle& t : outline.triangles)
        ASSERT_LT(glm::length(outline.texture.at(t[0].uv)), 0.05f) << "the outline must be black";

    // The boat: floor where a passenger's feet go, keel just under the water.
    const ImportedModel& boat = asset("models/riverCrossing/boat/boat.obj");
    for (float side : {-0.3f, 0.3f}) {
        const glm::mat4 matrix = translate({-1.8f, 0, side}) * rotate(quarterTurn, {1, 0, 0}) *
                                 rotate(quarterTurn, {0, 0, 1});
        const std::vector<vec3> world = placed(boat, matrix);
        const Box box = bounds(world);
        vec3 normal(0.0f);
        const float drop = castRay(world, {-2.5f, 0.0f, side}, {1, 0, 0}, &normal);
        ASSERT_GT(drop, 0.0f);
        EXPECT_NEAR(-2.5f + drop, -1.825f, 0.01f) << "floor height";
        EXPECT_GT(glm::dot(normal, vec3(-1, 0, 0)), 0.95f) << "the floor is not level";
        EXPECT_GT(box.high.x, -1.625f) << "the keel floats above the water";
        EXPECT_LT(box.high.x, -1.55f) << "the keel scrapes the river bed";
        EXPECT_LT(box.low.x, -1.88f) << "no sides above the floor";
        EXPECT_GT(box.low.x, -2.0f);
        EXPECT_NEAR(box.high.y - box.low.y, 0.66f, 0.03f) << "length along the river";
        EXPECT_NEAR(box.high.z - box.low.z, 0.32f, 0.03f) << "beam across the river";
        EXPECT_NEAR(0.5f * (box.low.z + box.high.z), side, 1e-3f);
        EXPECT_LT(std::max(std::abs(box.low.z), std::abs(box.high.z)), 0.5f)
            << "boat leaves the water";
    }
}
