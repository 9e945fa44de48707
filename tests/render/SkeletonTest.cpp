#include "render/Skeleton.h"

#include "render/ModelFile.h"
#include "support/TempDirectory.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;

namespace {

// Replaces every "$key" in text.
std::string fill(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [key, value] : values)
        for (std::size_t at; (at = text.find(key)) != std::string::npos;)
            text.replace(at, key.size(), value);
    return text;
}

// A list of count times (stride 1) or row-major matrices (stride 16).
std::string source(const std::string& id, const std::string& values, int count, int stride) {
    return fill(R"(<source id="$id"><float_array id="$id-a" count="$total">$values</float_array>
<technique_common><accessor source="#$id-a" count="$count" stride="$stride"><param name="V"
type="$type"/></accessor></technique_common></source>)",
                {{"$id", id},
                 {"$total", std::to_string(count * stride)},
                 {"$values", values},
                 {"$count", std::to_string(count)},
                 {"$stride", std::to_string(stride)},
                 {"$type", stride == 16 ? "float4x4" : "float"}});
}

struct Joint {
    std::string name;
    std::string matrix;      // bind pose
    std::string inverseBind; // empty: not a bone
    int keyCount;
    std::string times, keys; // seconds, row-major matrices
};

// One triangle whose corners every bone holds, below a chain of joints
// (each the child of the one before) with their animation channels.
std::string skinnedCollada(const std::vector<Joint>& chain) {
    int bones = 0;
    std::string names, inverseBinds, influences, animations, nodes, closing;
    for (const Joint& j : chain) {
        if (!j.inverseBind.empty()) {
            influences += std::to_string(bones++) + " 0 ";
            inverseBinds += j.inverseBind + " ";
            names += j.name + " ";
        }
        if (j.keyCount > 0)
            animations += source(j.name + "-t", j.times, j.keyCount, 1) +
                          source(j.name + "-o", j.keys, j.keyCount, 16) +
                          fill(R"(<sampler id="$n-s"><input semantic="INPUT" source="#$n-t"/>
<input semantic="OUTPUT" source="#$n-o"/></sampler><channel source="#$n-s" target="$n/transform"/>)",
                               {{"$n", j.name}});
        nodes += fill(R"(<node id="$n" name="$n" sid="$n" type="JOINT"><matrix sid="transform">)",
                      {{"$n", j.name}}) +
                 j.matrix + "</matrix>";
        closing += "</node>";
    }
    return fill(R"(<?xml version="1.0"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
<asset><up_axis>Y_UP</up_axis></asset><library_geometries><geometry id="m"><mesh>
<source id="p"><float_array id="pa" count="9">0 0 0 1 0 0 0 1 0</float_array><technique_common>
<accessor source="#pa" count="3" stride="3"><param name="X" type="float"/><param name="Y"
type="float"/><param name="Z" type="float"/></accessor></technique_common></source>
<vertices id="v"><input semantic="POSITION" source="#p"/></vertices><triangles count="1">
<input semantic="VERTEX" source="#v" offset="0"/><p>0 1 2</p></triangles></mesh></geometry>
</library_geometries><library_controllers><controller id="s"><skin source="#m">
<bind_shape_matrix>1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1</bind_shape_matrix>
<source id="j"><Name_array id="ja" count="$bones">$names</Name_array><technique_common>
<accessor source="#ja" count="$bones"><param name="JOINT" type="name"/></accessor>
</technique_common></source>$inverseBinds<source id="w"><float_array id="wa" count="1">1
</float_array><technique_common><accessor source="#wa" count="1"><param name="WEIGHT"
type="float"/></accessor></technique_common></source><joints><input semantic="JOINT"
source="#j"/><input semantic="INV_BIND_MATRIX" source="#ib"/></joints><vertex_weights count="3">
<input semantic="JOINT" source="#j" offset="0"/><input semantic="WEIGHT" source="#w" offset="1"/>
<vcount>$bones $bones $bones</vcount><v>$v $v $v</v></vertex_weights></skin></controller>
</library_controllers><library_animations><animation id="clip">$animations</animation>
</library_animations><library_visual_scenes><visual_scene id="Scene"><node id="body">
<instance_controller url="#s"/></node>$nodes</visual_scene></library_visual_scenes>
<scene><instance_visual_scene url="#Scene"/></scene></COLLADA>)",
                {{"$bones", std::to_string(bones)},
                 {"$names", names},
                 {"$inverseBinds", source("ib", inverseBinds, bones, 16)},
                 {"$v", influences},
                 {"$animations", animations},
                 {"$nodes", nodes + closing}});
}

const std::string identity = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";
std::string shift(int x, int y, int z) {
    return fill(" 1 0 0 x 0 1 0 y 0 0 1 z 0 0 0 1 ",
                {{"x", std::to_string(x)}, {"y", std::to_string(y)}, {"z", std::to_string(z)}});
}

// translate(t) x rotate(degrees about z) x scale(s)
glm::mat4 TRS(glm::vec3 t, float degrees = 0, float s = 1) {
    return glm::scale(
        glm::rotate(glm::translate(glm::mat4(1.0f), t), glm::radians(degrees), {0, 0, 1}),
        glm::vec3(s));
}

void expectNear(const glm::mat4& actual, const glm::mat4& expected, const char* bone, float t) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-4f)
                << bone << " at " << t << " ticks, column " << c << " row " << r;
}

} // namespace

// Armature has a single key; Upper runs for 1 s from its bind pose to
// T(4, 1, 0) Rz(90); Lower scales from 1 to 3 and ends at 0.5 s.
TEST(SkeletonTest, BonesFollowTheirKeysAndHoldAfterTheirLast) {
    test::TempDirectory directory;
    const std::string turned = "0 -1 0 4 1 0 0 1 0 0 1 0 0 0 0 1",
                      grown = "3 0 0 0 0 3 0 2 0 0 3 0 0 0 0 1";
    const auto file = directory.write(
        "arm.dae",
        skinnedCollada(
            {{"Armature", identity, "", 1, "0", shift(0, 0, 5)},
             {"Upper", shift(0, 1, 0), shift(0, -1, 0), 2, "0 1", shift(0, 1, 0) + turned},
             {"Lower", shift(0, 2, 0), shift(0, -3, 0), 2, "0 0.5", shift(0, 2, 0) + grown}}));
    ModelFile model = loadModelFile(file.string());
    Skeleton& skeleton = model.skeleton;
    ASSERT_EQ(skeleton.boneCount, 2u);
    EXPECT_TRUE(skeleton.hasBones);
    EXPECT_FLOAT_EQ(skeleton.animationTime(1.25), 250.0f); // 1000 ticks a second, 1 s clip

    const struct {
        float ticks;
        glm::mat4 upperLocal, lowerLocal;
    } cases[] = {
        {-100, TRS({0, 1, 0}), TRS({0, 2, 0})}, // before every key
        {0, TRS({0, 1, 0}), TRS({0, 2, 0})},
        {250, TRS({1, 1, 0}, 22.5f), TRS({0, 2, 0}, 0, 2)},
        {750, TRS({3, 1, 0}, 67.5f), TRS({0, 2, 0}, 0, 3)}, // Lower's keys are over
        {1500, TRS({4, 1, 0}, 90), TRS({0, 2, 0}, 0, 3)},   // past every key
    };
    for (const auto& c : cases) {
        skeleton.evaluateBones(c.ticks);
        const glm::mat4 upper = TRS({0, 0, 5}) * c.upperLocal;
        expectNear(skeleton.boneMatrix(skeleton.boneMapping.at("Upper")), upper * TRS({0, -1, 0}),
                   "Upper", c.ticks);
        expectNear(skeleton.boneMatrix(skeleton.boneMapping.at("Lower")),
                   upper * c.lowerLocal * TRS({0, -3, 0}), "Lower", c.ticks);
    }
}

// gBones holds 32 matrices: a 33rd bone would index past it.
TEST(SkeletonTest, ModelsWithMoreBonesThanTheProgramTakesLoadUnskinned) {
    test::TempDirectory directory;
    std::vector<Joint> chain;
    for (int i = 0; i < 33; ++i)
        chain.push_back(
            {std::string("b").append(std::to_string(i)), identity, identity, 0, "", ""});
    const auto fits = directory.write("fits.dae", skinnedCollada({chain.begin(), chain.end() - 1}));
    EXPECT_EQ(loadModelFile(fits.string()).skeleton.boneCount, 32u);

    const auto file = directory.write("chain.dae", skinnedCollada(chain));
    ModelFile model;
    EXPECT_EQ(test::captureStdout([&] { model = loadModelFile(file.string()); }),
              "Model " + file.string() +
                  " has 33 bones, more than the 32 the model program takes; it is drawn "
                  "unskinned\n");
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_FALSE(model.skeleton.hasBones);
    EXPECT_EQ(model.skeleton.boneCount, 0u);
    EXPECT_TRUE(model.skeleton.boneInfo.empty());
    for (const VertexBoneData& vertex : model.meshes[0].bones)
        for (int slot = 0; slot < VertexBoneData::slots; ++slot)
            ASSERT_TRUE(vertex.ids[slot] == 0 && vertex.weights[slot] == 0.0f);
}
