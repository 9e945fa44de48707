#include "render/Shader.h"
#include "render/ShaderPrograms.h"

#include "support/GLTestContext.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

using zarn::Shader;
using zarn::test::readPixel;
using zarn::test::Rgba;

namespace {

// A single-sampled window, for exact reads, and a camera in its pixels.
constexpr int size = 64;
const glm::mat4 camera = glm::ortho(0.0f, float(size), 0.0f, float(size));

// A square of half size h facing +z; each vertex is x, y, z, normal, u, v.
std::vector<float> quad(float h) {
    std::vector<float> vertices;
    for (int corner : {0, 1, 2, 2, 3, 0}) {
        const float u = corner == 1 || corner == 2 ? 1.0f : 0.0f, v = corner >= 2 ? 1.0f : 0.0f;
        vertices.insert(vertices.end(), {(2 * u - 1) * h, (2 * v - 1) * h, 0, 0, 0, 1, u, v});
    }
    return vertices;
}

// Clears and draws eight floats a vertex as attributes 0 (vec4), 1 and 2, once
// per instance matrix (attributes 3 to 6) or once, 3 and up left constant.
void draw(const std::vector<float>& vertices, const std::vector<glm::mat4>& instances = {}) {
    glClear(GL_COLOR_BUFFER_BIT);
    GLuint vao = 0, buffers[2] = {0, 0};
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(2, buffers);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(float)), vertices.data(),
                 GL_STATIC_DRAW);
    const int components[3] = {4, 3, 2}, offsets[3] = {0, 3, 6};
    for (GLuint i = 0; i < 3; ++i) {
        glVertexAttribPointer(i, components[i], GL_FLOAT, GL_FALSE, 8 * sizeof(float),
                              reinterpret_cast<const void*>(offsets[i] * sizeof(float)));
        glEnableVertexAttribArray(i);
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffers[1]);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(instances.size() * sizeof(glm::mat4)),
                 instances.data(), GL_STATIC_DRAW);
    for (GLuint column = 0; column < 4 && !instances.empty(); ++column) {
        glVertexAttribPointer(3 + column, 4, GL_FLOAT, GL_FALSE, sizeof(glm::mat4),
                              reinterpret_cast<const void*>(column * sizeof(glm::vec4)));
        glVertexAttribDivisor(3 + column, 1);
        glEnableVertexAttribArray(3 + column);
    }
    glDrawArraysInstanced(GL_TRIANGLES, 0, GLsizei(vertices.size() / 8),
                          std::max(GLsizei(1), GLsizei(instances.size())));
    glDeleteVertexArrays(1, &vao);
    glDeleteBuffers(2, buffers);
}

// Active uniforms or vertex inputs of a program by name: (location, type).
std::map<std::string, std::pair<GLint, GLenum>> resources(GLuint program, GLenum interface) {
    std::map<std::string, std::pair<GLint, GLenum>> result;
    GLint count = 0;
    glGetProgramInterfaceiv(program, interface, GL_ACTIVE_RESOURCES, &count);
    for (GLuint i = 0; i < GLuint(count); ++i) {
        char name[128];
        const GLenum properties[2] = {GL_LOCATION, GL_TYPE};
        GLint values[2] = {-1, 0};
        glGetProgramResourceName(program, interface, i, sizeof name, nullptr, name);
        glGetProgramResourceiv(program, interface, i, 2, properties, 2, nullptr, values);
        result[name] = {values[0], GLenum(values[1])};
    }
    return result;
}

// A context with the eleven programs; any debug error, from linking on, fails.
class ShaderProgramsGLTest : public testing::Test {
protected:
    ShaderProgramsGLTest() {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const std::string name(zarn::shaderProgramNames[i]);
            programs[i] = std::make_unique<Shader>(name + ".vert", name + ".frag");
        }
    }
    void TearDown() override {
        for (const std::string& message : context.debugMessages())
            EXPECT_EQ(message.find("Type = Error"), std::string::npos) << message;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    Shader& use(int number) {
        glUseProgram(programs[std::size_t(number - 1)]->programId);
        return *programs[std::size_t(number - 1)];
    }

    zarn::test::GLTestContext context{size, size, 0};
    std::array<std::unique_ptr<Shader>, 11> programs; // released before the context
};

// Draw paths find the attributes they feed (and no others) and the uniforms
// they set; sampler types never share a unit, which makes drivers refuse draws.
TEST_F(ShaderProgramsGLTest, ProgramsHaveTheInputsTheDrawPathsFeed) {
    using Types = std::map<GLint, GLenum>;
    constexpr GLenum vec3 = GL_FLOAT_VEC3, mat4 = GL_FLOAT_MAT4, tex = GL_SAMPLER_2D;
    const Types mesh = {{0, vec3}, {1, vec3}, {2, GL_FLOAT_VEC2}};
    Types instanced = mesh, skinned = mesh;
    instanced[3] = mat4;
    skinned.insert({{3, GL_INT_VEC4}, {4, GL_FLOAT_VEC4}});
    const struct {
        int program;
        Types attributes;
        std::map<std::string, GLenum> uniforms;
    } table[] = {
        {1, skinned, {{"gBones[0]", mat4}, {"hasBones", GL_INT}, {"texture_diffuse1", tex}}},
        {1, skinned, {{"Lights[0].posDir", vec3}, {"viewProjMatrix", mat4}}},
        {2, {{0, GL_FLOAT_VEC4}}, {{"projMatrix", mat4}, {"textColor", vec3}}},
        {3, {{0, vec3}}, {{"cubeMap", GL_SAMPLER_CUBE}, {"viewProjMatrix", mat4}}},
        {4, mesh, {{"cubeMap", GL_SAMPLER_CUBE}, {"texture_diffuse1", tex}}},
        {5, instanced, {{"Lights[0].lightColor", vec3}, {"diffuseColor", vec3}}},
        {6, {{0, vec3}, {1, vec3}}, {{"time", GL_FLOAT}}},
        {7, {{0, vec3}, {1, vec3}, {2, GL_FLOAT}}, {{"viewProjMatrix", mat4}}},
        {8, mesh, {{"modelMatrix", mat4}, {"Lights[0].isLocal", GL_FLOAT}}},
        {9, instanced, {{"textureSampler", tex}, {"viewPosition", vec3}}},
        {10, {{0, vec3}, {3, mat4}}, {{"depthVP", mat4}}},
        {11, instanced, {{"shadowSampler", GL_SAMPLER_2D_SHADOW}, {"depthBiasVP", mat4}}},
    };
    for (const auto& expected : table) {
        const GLuint program = use(expected.program).programId;
        SCOPED_TRACE(zarn::shaderProgramNames[std::size_t(expected.program - 1)]);
        Types attributes, samplerTypeByUnit;
        for (const auto& [name, input] : resources(program, GL_PROGRAM_INPUT))
            attributes[input.first] = input.second;
        EXPECT_EQ(attributes, expected.attributes);
        const auto uniforms = resources(program, GL_UNIFORM);
        for (const auto& [name, type] : expected.uniforms)
            EXPECT_TRUE(uniforms.count(name) && uniforms.at(name).second == type) << name;
        for (const auto& [name, uniform] : uniforms) {
            const auto [location, type] = uniform;
            GLint unit = -1;
            if (type != tex && type != GL_SAMPLER_CUBE && type != GL_SAMPLER_2D_SHADOW)
                continue;
            glGetUniformiv(program, location, &unit);
            EXPECT_EQ(samplerTypeByUnit.emplace(unit, type).first->second, type) << name;
        }
    }
}

TEST_F(ShaderProgramsGLTest, InstancedPhongLightsFacesTowardsTheSunAtTheirInstanceMatrix) {
    Shader& shader = use(5);
    shader.setUniform("viewProjMatrix", camera);
    shader.setUniform("modelMatrix", glm::translate(glm::mat4(1), {0, -16, 0})); // not applied
    shader.setUniformArrayMember("Lights", 0, "posDir", glm::vec3(0, -1, -1));
    shader.setUniformArrayMember("Lights", 0, "lightColor", glm::vec3(0.8f));
    shader.setUniform("diffuseColor", glm::vec3(0.6f));
    shader.setUniform("ambientCoeff", 0.3f);
    shader.setUniform("diffuseCoeff", 0.8f);
    const glm::mat4 away = glm::translate(glm::mat4(1), {48, 24, 0});
    draw(quad(8), {glm::translate(glm::mat4(1), {16, 40, 0}),
                   glm::rotate(away, glm::radians(180.0f), glm::vec3(0, 1, 0))});

    const Rgba lit = readPixel(16, 40), unlit = readPixel(48, 24);
    EXPECT_GT(lit[0] + lit[1] + lit[2], unlit[0] + unlit[1] + unlit[2] + 90)
        << zarn::test::toString(lit) << " vs " << zarn::test::toString(unlit);
    EXPECT_GT(unlit[0], 20) << "the ambient term keeps the far side visible";
}

TEST_F(ShaderProgramsGLTest, ModelProgramMovesVerticesByTheirBonesOnlyWhenSkinned) {
    Shader& shader = use(1);
    shader.setUniform("viewProjMatrix", camera);
    shader.setUniform("modelMatrix", glm::translate(glm::mat4(1), {16, 16, 0}));
    shader.setUniform("gBones[31]", glm::translate(glm::mat4(1), {32, 0, 0}));
    shader.setUniform("gBones[2]", glm::translate(glm::mat4(1), {0, 32, 0}));
    glVertexAttribI4i(3, 31, 2, 0, 0); // the same bones and weights for every vertex
    glVertexAttrib4f(4, 0.75f, 0.25f, 0, 0);

    shader.setUniform("hasBones", 0);
    draw(quad(6));
    EXPECT_EQ(readPixel(16, 16)[3], 255);
    EXPECT_EQ(readPixel(40, 24)[3], 0);

    shader.setUniform("hasBones", 1);
    draw(quad(6));
    EXPECT_EQ(readPixel(16, 16)[3], 0);
    EXPECT_EQ(readPixel(40, 24)[3], 255) << "three quarters of bone 31, a quarter of bone 2";
}

} // namespace
