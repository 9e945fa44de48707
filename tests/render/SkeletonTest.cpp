#include "render/Skeleton.h"

#include "render/ModelFile.h"
#include "support/TempDirectory.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using namespace zarn;

namespace {

aiMatrix4x4 translation(float x, float y, float z) {
    aiMatrix4x4 matrix;
    return aiMatrix4x4::Translation({x, y, z}, matrix);
}

// translate(t) x rotate(degrees about z) x scale(s)
glm::mat4 TRS(glm::vec3 t, float degrees = 0, float s = 1) {
    return glm::scale(
        glm::rotate(glm::translate(glm::mat4(1.0f), t), glm::radians(degrees), {0, 0, 1}),
        glm::vec3(s));
}

void expectNear(const glm::mat4& actual, const glm::mat4& expected, const std::string& what) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-4f) << what << ", column " << c;
}

// One triangle held by every bone of a chain of joints, each the child of the
// one before and all at the origin, in a Z-up file: the importer turns its
// root node to Y-up.
std::string boneChain(int bones) {
    const std::string identity = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 ";
    std::string text = R"(<?xml version="1.0"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
<asset><up_axis>Z_UP</up_axis></asset><library_geometries><geometry id="m"><mesh>
<source id="p"><float_array id="pa" count="9">0 0 0 1 0 0 0 1 0</float_array><technique_common>
<accessor source="#pa" count="3" stride="3"><param name="X" type="float"/><param name="Y"
type="float"/><param name="Z" type="float"/></accessor></technique_common></source>
<vertices id="v"><input semantic="POSITION" source="#p"/></vertices><triangles count="1">
<input semantic="VERTEX" source="#v" offset="0"/><p>0 1 2</p></triangles></mesh></geometry>
</library_geometries><library_controllers><controller id="s"><skin source="#m">
<bind_shape_matrix>1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1</bind_shape_matrix><source id="j">
<Name_array id="ja" count="$count">$names</Name_array><technique_common><accessor
source="#ja" count="$count"><param name="JOINT" type="name"/></accessor></technique_common>
</source><source id="ib"><float_array id="iba" count="$floats">$matrices</float_array>
<technique_common><accessor source="#iba" count="$count" stride="16"><param name="M"
type="float4x4"/></accessor></technique_common></source><source id="w"><float_array id="wa"
count="1">1</float_array><technique_common><accessor source="#wa" count="1"><param
name="WEIGHT" type="float"/></accessor></technique_common></source><joints><input
semantic="JOINT" source="#j"/><input semantic="INV_BIND_MATRIX" source="#ib"/></joints>
<vertex_weights count="3"><input semantic="JOINT" source="#j" offset="0"/><input
semantic="WEIGHT" source="#w" offset="1"/><vcount>$count $count $count</vcount>
<v>$influences $influences $influences</v></vertex_weights></skin></controller>
</library_controllers><library_visual_scenes><visual_scene id="Scene"><node id="body">
<instance_controller url="#s"/></node>$joints</visual_scene></library_visual_scenes>
<scene><instance_visual_scene url="#Scene"/></scene></COLLADA>)";
    std::string names, matrices, influences, nodes, closing;
    for (int i = 0; i < bones; ++i) {
        const std::string name = std::string("b").append(std::to_string(i));
        names += name + " ";
        matrices += identity;
        influences += std::to_string(i) + " 0 ";
        nodes += "<node id=\"" + name + "\" sid=\"" + name + "\" type=\"JOINT\"><matrix>";
        nodes += identity + "</matrix>";
        closing += "</node>";
    }
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"$names", names},
                                     {"$floats", std::to_string(16 * bones)},
                                     {"$count", std::to_string(bones)},
                                     {"$matrices", matrices},
                                     {"$influences", influences},
                                     {"$joints", nodes + closing}})
        for (std::size_t at; (at = text.find(key)) != std::string::npos;)
            text.replace(at, key.size(), value);
    return text;
}

} // namespace

// Root turns a quarter about z. Its child Bone keeps its own scale of 2, its
// scale having no keys, and moves from the origin to (4, 0, 0) while turning
// a quarter about z over 1000 ticks.
TEST(SkeletonTest, BonesFollowTheirKeysAndHoldBeforeTheFirstAndAfterTheLast) {
    aiScene scene;
    scene.mRootNode = new aiNode("Root");
    aiMatrix4x4::RotationZ(glm::half_pi<float>(), scene.mRootNode->mTransformation);
    aiNode* bone = new aiNode("Bone");
    aiMatrix4x4::Scaling({2, 2, 2}, bone->mTransformation);
    scene.mRootNode->addChildren(1, &bone);
    auto* keys = new aiNodeAnim;
    keys->mNodeName = "Bone";
    keys->mNumPositionKeys = keys->mNumRotationKeys = 2;
    keys->mPositionKeys = new aiVectorKey[2]{{0, {0, 0, 0}}, {1000, {4, 0, 0}}};
    keys->mRotationKeys = new aiQuatKey[2]{{0, aiQuaternion()},
                                           {1000, aiQuaternion({0, 0, 1}, glm::half_pi<float>())}};
    auto* clip = new aiAnimation;
    clip->mTicksPerSecond = clip->mDuration = 1000;
    clip->mNumChannels = 1;
    clip->mChannels = new aiNodeAnim* [1] {
        keys
    };
    scene.mNumAnimations = 1;
    scene.mAnimations = new aiAnimation* [1] {
        clip
    };

    Skeleton skeleton;
    skeleton.scene = &scene;
    ASSERT_EQ(skeleton.addBone("Bone", translation(0, -1, 0)), 0u);
    EXPECT_EQ(skeleton.addBone("Bone", aiMatrix4x4()), 0u);
    EXPECT_FLOAT_EQ(skeleton.animationTime(1.25), 250.0f); // looping, 1000 ticks a second
    for (const auto& [ticks, x, degrees] :
         {std::tuple{-100.0f, 0.0f, 0.0f}, {250.0f, 1.0f, 22.5f}, {1500.0f, 4.0f, 90.0f}}) {
        skeleton.evaluateBones(ticks);
        expectNear(skeleton.boneMatrix(0),
                   TRS({}, 90) * TRS({x, 0, 0}, degrees, 2) * TRS({0, -1, 0}),
                   "at " + std::to_string(ticks) + " ticks");
    }
}

// gBones holds 32 matrices: a 33rd bone would index past it.
TEST(SkeletonTest, ModelFilesKeepEightInfluencesAndLoadUnskinnedPastThirtyTwoBones) {
    test::TempDirectory directory;
    ModelFile fits = loadModelFile(directory.write("fits.dae", boneChain(32)).string());
    ASSERT_EQ(fits.meshes.size(), 1u);
    ASSERT_EQ(fits.skeleton.boneCount, 32u);
    EXPECT_TRUE(fits.skeleton.hasBones);
    for (const VertexBoneData& vertex : fits.meshes[0].bones)
        for (std::uint32_t slot = 0; slot < VertexBoneData::slots; ++slot)
            EXPECT_TRUE(vertex.ids[slot] == slot && vertex.weights[slot] == 1.0f) << slot;
    // The root's turn and its inverse cancel: the bind pose leaves every bone
    // where it is (each set apart from the identity first, so that a bone the
    // evaluation misses shows).
    for (BoneInfo& bone : fits.skeleton.boneInfo)
        bone.finalTransformation = aiMatrix4x4() * 2.0f;
    fits.skeleton.evaluateBones(0.0f);
    for (std::uint32_t i = 0; i < 32; ++i)
        expectNear(fits.skeleton.boneMatrix(i), glm::mat4(1.0f), "bone " + std::to_string(i));

    const auto file = directory.write("chain.dae", boneChain(33));
    ModelFile model;
    EXPECT_EQ(test::captureStdout([&] { model = loadModelFile(file.string()); }),
              "Model " + file.string() +
                  " has 33 bones, more than the 32 the model program takes; it is drawn "
                  "unskinned\n");
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_TRUE(!model.skeleton.hasBones && model.skeleton.boneCount == 0 &&
                model.skeleton.boneInfo.empty());
    for (const VertexBoneData& vertex : model.meshes[0].bones)
        for (int slot = 0; slot < VertexBoneData::slots; ++slot)
            ASSERT_TRUE(vertex.ids[slot] == 0 && vertex.weights[slot] == 0.0f);
}
