#include "render/ModelFile.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace zarn;
using zarn::test::captureStdout;
using zarn::test::TempDirectory;

namespace {

bool isIdentity(const glm::mat4& m) {
    for (int c = 0; c < 4; ++c)
        if (glm::length(m[c] - glm::mat4(1.0f)[c]) > 1e-4f)
            return false;
    return true;
}

ModelFile loadQuietly(const std::filesystem::path& file) {
    ModelFile model;
    EXPECT_EQ(captureStdout([&] { model = loadModelFile(file.string()); }), "") << file;
    return model;
}

} // namespace

// The generated bear: its clip's first key is the bind pose.
TEST(ModelFileTest, BearLoadsSkinnedAndItsFirstKeyIsTheBindPose) {
    ModelFile bear = loadQuietly("assets/models/animals/wolf.dae");
    ASSERT_EQ(bear.meshes.size(), 1u);
    Skeleton& skeleton = bear.skeleton;
    // Thirteen joints; the root holds no vertex, so the file makes no bone of it.
    EXPECT_EQ(skeleton.boneCount, 12u);
    EXPECT_TRUE(skeleton.hasBones);
    EXPECT_EQ(skeleton.ticksPerSecond() * skeleton.durationTicks(), 1000.0 * 1000.0);
    for (const VertexBoneData& vertex : bear.meshes[0].bones)
        ASSERT_TRUE(vertex.ids[0] < 12 && vertex.ids[1] < 12);

    skeleton.evaluateBones(250.0f); // mid-stride: some bone must have moved
    bool moved = false;
    for (std::uint32_t i = 0; i < skeleton.boneCount; ++i)
        moved = moved || !isIdentity(skeleton.boneMatrix(i));
    EXPECT_TRUE(moved);
    skeleton.evaluateBones(0.0f);
    for (std::uint32_t i = 0; i < skeleton.boneCount; ++i)
        EXPECT_TRUE(isIdentity(skeleton.boneMatrix(i))) << "bone " << i;
}

TEST(ModelFileTest, UnreadableFilesGiveTheMessageAndAnEmptyModel) {
    TempDirectory directory;
    directory.write("garbage.dae", "<COLLADA><unclosed");
    // Text the OBJ reader skips: it imports an empty scene without an error.
    directory.write("garbage.obj", "this is not a model\nnor is this line\n");
    for (const char* name : {"missing.obj", "garbage.dae", "garbage.obj"}) {
        ModelFile model;
        const std::string output =
            captureStdout([&] { model = loadModelFile((directory.path() / name).string()); });
        // One line with a reason after the prefix.
        EXPECT_TRUE(output.rfind("ERROR: ASSIMP: ", 0) == 0 && output.size() > 17 &&
                    output.find('\n') == output.size() - 1)
            << output;
        EXPECT_TRUE(model.meshes.empty() && !model.skeleton.hasBones && !model.skeleton.scene);
    }
}

// In the sanitized build allocations are traced through Assimp's own frames,
// so that the leak suppression for the library also covers what the frames
// skipped by an import that faulted leave behind.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}

// Assimp reads through a null pointer on the first file and fails an
// assertion, which aborts, on the second; each import fails, the handlers in
// place before come back, and the next file loads.
TEST(ModelFileTest, FilesThatFaultTheImporterGiveTheMessageAndAnEmptyModel) {
    for (const char* name :
         {"vertex-weights-without-count.dae", "bind-poses-stride-too-long.dae"}) {
        const std::string path = std::string(ZARN_FUZZ_CORPUS "/ModelFile/") + name;
        struct sigaction before {};
        sigaction(SIGSEGV, nullptr, &before);
        ModelFile model;
        EXPECT_EQ(captureStdout([&] { model = loadModelFile(path); }),
                  "ERROR: ASSIMP: Reading \"" + path + "\" failed.\n");
        EXPECT_TRUE(model.meshes.empty() && !model.skeleton.hasBones);
        struct sigaction after {};
        sigaction(SIGSEGV, nullptr, &after);
        EXPECT_EQ(after.sa_handler, before.sa_handler);
    }
    EXPECT_EQ(loadQuietly("assets/models/animals/bunny13.dae").meshes.size(), 1u);
}

TEST(ModelFileTest, OnlyTrianglesAreKeptAndMissingNormalsAreRepaired) {
    TempDirectory directory;
    const std::string corners = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n";
    // Lines and points only: the importer gives no normals at all.
    const ModelFile lines =
        loadQuietly(directory.write("lines.obj", corners + "l 1 2\nl 2 3 4\np 1\n"));
    ASSERT_EQ(lines.meshes.size(), 1u);
    EXPECT_TRUE(lines.meshes[0].indices.empty());
    for (const Vertex& vertex : lines.meshes[0].vertices)
        EXPECT_EQ(vertex.normal, glm::vec3(0.0f));

    // A quad among lines, normals given as zero, no texture coordinates.
    const ModelFile mixed = loadQuietly(
        directory.write("mixed.obj", corners + "vn 0 0 0\nl 1 4\nf 1//1 2//1 4//1 3//1\np 2\n"));
    ASSERT_EQ(mixed.meshes.size(), 1u);
    const MeshData& mesh = mixed.meshes[0];
    ASSERT_EQ(mesh.indices.size(), 6u);
    for (std::uint32_t index : mesh.indices) {
        ASSERT_LT(index, mesh.vertices.size());
        EXPECT_EQ(mesh.vertices[index].normal, glm::vec3(0, 0, 1));
        EXPECT_EQ(mesh.vertices[index].textureCoords, glm::vec2(0.0f));
    }
    EXPECT_FALSE(mixed.skeleton.hasBones);
    for (const VertexBoneData& vertex : mesh.bones)
        EXPECT_EQ(vertex.weights[0], 0.0f);
}
