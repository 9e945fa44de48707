#include "render/ModelFile.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace zarn;
using zarn::test::captureStdout;

// In the sanitized build allocations are traced through Assimp's own frames,
// so that the leak suppression for the library also covers what the frames
// skipped by an import that faulted leave behind.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}

// Assimp reads through a null pointer on the first corpus file and fails an
// assertion, which aborts, on the second; each import fails, the handlers in
// place before come back, and the next file loads.
TEST(ModelFileTest, UnreadableFilesGiveTheMessageAndAnEmptyModel) {
    test::TempDirectory directory;
    directory.write("garbage.dae", "<COLLADA><unclosed");
    // Text the OBJ reader skips: it imports an empty scene without an error.
    directory.write("garbage.obj", "this is not a model\nnor is this line\n");
    const std::string own = directory.path().string() + "/",
                      corpus = ZARN_FUZZ_CORPUS "/ModelFile/";
    for (const std::string& path :
         {own + "missing.obj", own + "garbage.dae", own + "garbage.obj",
          corpus + "vertex-weights-without-count.dae", corpus + "bind-poses-stride-too-long.dae"}) {
        struct sigaction before, after;
        sigaction(SIGSEGV, nullptr, &before);
        ModelFile model;
        const std::string output = captureStdout([&] { model = loadModelFile(path); });
        sigaction(SIGSEGV, nullptr, &after);
        // One line with a reason after the prefix.
        EXPECT_TRUE(output.rfind("ERROR: ASSIMP: ", 0) == 0 && output.size() > 17 &&
                    output.find('\n') == output.size() - 1)
            << output;
        EXPECT_TRUE(model.meshes.empty() && !model.skeleton.hasBones && !model.skeleton.scene);
        EXPECT_EQ(after.sa_handler, before.sa_handler);
    }
    EXPECT_EQ(loadModelFile("assets/models/animals/bunny13.dae").meshes.size(), 1u);
}

TEST(ModelFileTest, OnlyTrianglesAreKeptAndMissingNormalsAreRepaired) {
    test::TempDirectory directory;
    const std::string corners = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n";
    // Lines and points only: the importer gives no normals at all.
    const ModelFile lines =
        loadModelFile(directory.write("lines.obj", corners + "l 1 2\nl 2 3 4\np 1\n").string());
    ASSERT_EQ(lines.meshes.size(), 1u);
    EXPECT_TRUE(lines.meshes[0].indices.empty());
    for (const Vertex& vertex : lines.meshes[0].vertices)
        EXPECT_EQ(vertex.normal, glm::vec3(0.0f));

    // A quad among lines, normals given as zero, no texture coordinates.
    const ModelFile mixed = loadModelFile(
        directory.write("mixed.obj", corners + "vn 0 0 0\nl 1 4\nf 1//1 2//1 4//1 3//1\np 2\n")
            .string());
    ASSERT_EQ(mixed.meshes.size(), 1u);
    const MeshData& mesh = mixed.meshes[0];
    ASSERT_EQ(mesh.indices.size(), 6u);
    for (std::uint32_t index : mesh.indices) {
        ASSERT_LT(index, mesh.vertices.size());
        EXPECT_EQ(mesh.vertices[index].normal, glm::vec3(0, 0, 1));
        EXPECT_EQ(mesh.vertices[index].textureCoords, glm::vec2(0.0f));
    }
}

// Imports made ahead on the worker give what a direct import gives, faults in
// them included, and each is taken once: asking again imports again.
TEST(ModelFileTest, PrefetchedImportsMatchDirectOnesAndAreTakenOnce) {
    test::TempDirectory directory;
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    directory.write("models/a/triangle.obj", triangle);
    directory.write("models/b/garbage.dae", "<COLLADA><unclosed");
    directory.write("models/b/notes.txt", triangle);
    std::filesystem::copy(ZARN_FUZZ_CORPUS "/ModelFile/vertex-weights-without-count.dae",
                          directory.path() / "models/c.dae");
    const std::string models = directory.path().string() + "/models";
    const std::vector<std::string> paths = modelFilesUnder(models);
    EXPECT_EQ(paths, (std::vector<std::string>{models + "/a/triangle.obj",
                                               models + "/b/garbage.dae", models + "/c.dae"}));
    EXPECT_TRUE(modelFilesUnder(models + "/missing").empty());

    struct sigaction before, after;
    sigaction(SIGSEGV, nullptr, &before);
    std::size_t meshes[2] = {};
    const std::string output = captureStdout([&] {
        ModelFilePrefetch prefetch(paths);
        meshes[0] = loadModelFile(paths[0]).meshes.size();
        meshes[1] = loadModelFile(paths[0]).meshes.size();
        EXPECT_TRUE(loadModelFile(paths[2]).meshes.empty());
    });
    sigaction(SIGSEGV, nullptr, &after);
    EXPECT_EQ(meshes[0], 1u);
    EXPECT_EQ(meshes[1], 1u);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    // The garbage file nobody took still said why it failed, and so did the fault.
    EXPECT_NE(output.find("ERROR: ASSIMP: Unable to read file"), std::string::npos) << output;
    EXPECT_NE(output.find("c.dae\" failed"), std::string::npos) << output;
}
