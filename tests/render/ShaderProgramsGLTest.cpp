#include "render/Shader.h"
#include "render/ShaderPrograms.h"

#include "support/GLTestContext.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

using zarn::Shader;
using zarn::test::GLTestContext;
using zarn::test::readPixel;
using zarn::test::Rgba;
using zarn::test::toString;

namespace {

constexpr float pi = 3.14159265f;

// The game's one light and its shadow pass.
const glm::vec3 sunDirection(0.0f, -1.0f, -1.0f);
const glm::vec3 sunColour(0.8f);

glm::mat4 lightViewProjection() {
    return glm::ortho(-10.0f, 10.0f, -10.0f, 10.0f, -10.0f, 20.0f) *
           glm::lookAt(-sunDirection, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
}

glm::mat4 shadowBias() {
    return glm::mat4(glm::vec4(0.5f, 0.0f, 0.0f, 0.0f), glm::vec4(0.0f, 0.5f, 0.0f, 0.0f),
                     glm::vec4(0.0f, 0.0f, 0.5f, 0.0f), glm::vec4(0.5f, 0.5f, 0.5f, 1.0f));
}

int brightness(const Rgba& pixel) {
    return pixel[0] + pixel[1] + pixel[2];
}

// Triangle soup with the mesh attributes 0 to 2.
struct Mesh {
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> uvs;
    int vertexCount() const { return int(positions.size() / 3); }

    void addVertex(const glm::vec3& position, const glm::vec3& normal, const glm::vec2& uv) {
        positions.insert(positions.end(), {position.x, position.y, position.z});
        normals.insert(normals.end(), {normal.x, normal.y, normal.z});
        uvs.insert(uvs.end(), {uv.x, uv.y});
    }

    // One counter-clockwise face seen from the side its normal points to
    // (u x v = normal).
    void addFace(const glm::vec3& centre, const glm::vec3& u, const glm::vec3& v) {
        const glm::vec3 normal = glm::normalize(glm::cross(u, v));
        const glm::vec3 corners[4] = {centre - u - v, centre + u - v, centre + u + v,
                                      centre - u + v};
        const glm::vec2 uvs[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i : {0, 1, 2, 2, 3, 0})
            addVertex(corners[i], normal, uvs[i]);
    }
};

// A square in the xy plane facing +z.
Mesh quad(float halfSize) {
    Mesh mesh;
    mesh.addFace(glm::vec3(0.0f), {halfSize, 0, 0}, {0, halfSize, 0});
    return mesh;
}

Mesh box(const glm::vec3& half) {
    Mesh mesh;
    const glm::vec3 x(half.x, 0, 0), y(0, half.y, 0), z(0, 0, half.z);
    mesh.addFace(x, y, z);
    mesh.addFace(-x, z, y);
    mesh.addFace(y, z, x);
    mesh.addFace(-y, x, z);
    mesh.addFace(z, x, y);
    mesh.addFace(-z, y, x);
    return mesh;
}

// A vertex array that owns its buffers, laid out as the engine's draw paths
// lay theirs out.
class VertexArray {
public:
    VertexArray() { glGenVertexArrays(1, &vao_); }
    ~VertexArray() {
        glDeleteVertexArrays(1, &vao_);
        glDeleteBuffers(GLsizei(buffers_.size()), buffers_.data());
    }
    VertexArray(const VertexArray&) = delete;
    VertexArray& operator=(const VertexArray&) = delete;

    explicit VertexArray(const Mesh& mesh) : VertexArray() {
        floats(0, 3, mesh.positions);
        floats(1, 3, mesh.normals);
        floats(2, 2, mesh.uvs);
        count = mesh.vertexCount();
    }

    void floats(GLuint location, int components, const std::vector<float>& data) {
        upload(data.data(), data.size() * sizeof(float));
        glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(location);
    }

    void ints(GLuint location, const std::vector<int>& data) {
        upload(data.data(), data.size() * sizeof(int));
        glVertexAttribIPointer(location, 4, GL_INT, 0, nullptr);
        glEnableVertexAttribArray(location);
    }

    void instances(const std::vector<glm::mat4>& matrices) {
        upload(matrices.data(), matrices.size() * sizeof(glm::mat4));
        for (GLuint column = 0; column < 4; ++column) {
            glVertexAttribPointer(3 + column, 4, GL_FLOAT, GL_FALSE, sizeof(glm::mat4),
                                  reinterpret_cast<const void*>(column * sizeof(glm::vec4)));
            glVertexAttribDivisor(3 + column, 1);
            glEnableVertexAttribArray(3 + column);
        }
        instanceCount = GLsizei(matrices.size());
    }

    void draw(GLenum mode = GL_TRIANGLES) const {
        glBindVertexArray(vao_);
        glDrawArraysInstanced(mode, 0, count, instanceCount);
        glBindVertexArray(0);
    }

    GLsizei count = 0;
    GLsizei instanceCount = 1;

private:
    void upload(const void* data, std::size_t bytes) {
        glBindVertexArray(vao_);
        GLuint buffer = 0;
        glGenBuffers(1, &buffer);
        buffers_.push_back(buffer);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(bytes), data, GL_STATIC_DRAW);
    }

    GLuint vao_ = 0;
    std::vector<GLuint> buffers_;
};

class Texture {
public:
    explicit Texture(GLenum target) : target_(target) { glGenTextures(1, &name); }
    ~Texture() { glDeleteTextures(1, &name); }
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    void bind(int unit) const {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(target_, name);
    }

    GLuint name = 0;

private:
    GLenum target_;
};

// An RGBA picture, rows top first as the image loaders deliver them.
std::unique_ptr<Texture> rgbaTexture(int width, int height, const std::vector<Rgba>& texels) {
    auto texture = std::make_unique<Texture>(GL_TEXTURE_2D);
    texture->bind(0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

std::unique_ptr<Texture> solidTexture(const Rgba& colour) {
    return rgbaTexture(1, 1, {colour});
}

// Faces in the order +X, -X, +Y, -Y, +Z, -Z, one texel each.
std::unique_ptr<Texture> cubeMap(const std::array<Rgba, 6>& faces) {
    auto texture = std::make_unique<Texture>(GL_TEXTURE_CUBE_MAP);
    texture->bind(0);
    for (int face = 0; face < 6; ++face)
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA8, 1, 1, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, faces[face].data());
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return texture;
}

// The shadow pass's depth texture and framebuffer, set up as the engine does.
class ShadowMap {
public:
    static constexpr int size = 1024;

    ShadowMap() : texture(GL_TEXTURE_2D) {
        texture.bind(1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT16, size, size, 0, GL_DEPTH_COMPONENT,
                     GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LESS);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, texture.name, 0);
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
        complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    ~ShadowMap() { glDeleteFramebuffers(1, &framebuffer); }

    // Binds the map's framebuffer and clears it to the far plane.
    void beginPass() const {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glViewport(0, 0, size, size);
        glClear(GL_DEPTH_BUFFER_BIT);
    }

    Texture texture;
    GLuint framebuffer = 0;
    bool complete = false;
};

// A small single-sampled colour and depth target, so pixel reads are exact.
class RenderTarget {
public:
    explicit RenderTarget(int size = 64) : size(size) {
        glGenRenderbuffers(2, renderbuffers_);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size, size);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size, size);
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  renderbuffers_[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  renderbuffers_[1]);
        complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        bind();
    }
    ~RenderTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(2, renderbuffers_);
    }
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    void bind() const {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glViewport(0, 0, size, size);
    }

    void clear(const glm::vec4& colour = glm::vec4(0.0f)) const {
        bind();
        glClearColor(colour.r, colour.g, colour.b, colour.a);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // The pixel under a world point for the orthographic front camera below.
    Rgba at(float x, float y) const {
        return readPixel(int((x + 2.0f) / 4.0f * size), int((y + 2.0f) / 4.0f * size));
    }

    const int size;
    bool complete = false;

private:
    GLuint framebuffer_ = 0;
    GLuint renderbuffers_[2] = {0, 0};
};

// Looks at the xy plane from +z; the view spans -2..2 in x and y.
const glm::vec3 frontEye(0.0f, 0.0f, 5.0f);
glm::mat4 frontCamera() {
    return glm::ortho(-2.0f, 2.0f, -2.0f, 2.0f, 0.1f, 20.0f) *
           glm::lookAt(frontEye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
}

struct LightSetting {
    bool local = false;
    bool spot = false;
    glm::vec3 posDir = sunDirection;
    glm::vec3 colour = sunColour;
    glm::vec3 attenuation{0.0f};
    glm::vec3 coneDirection{0.0f};
    float spotCosCutOff = 0.0f;
    float spotExponent = 0.0f;
};

// Writes slot 0 in the order and with the types the engine's Light uses.
void setLight(Shader& shader, const LightSetting& light) {
    glUseProgram(shader.programId);
    shader.setUniformArrayMember("Lights", 0, "isLocal", light.local ? 1.0f : 0.0f);
    shader.setUniformArrayMember("Lights", 0, "isSpot", light.spot ? 1.0f : 0.0f);
    shader.setUniformArrayMember("Lights", 0, "posDir", light.posDir);
    shader.setUniformArrayMember("Lights", 0, "lightColor", light.colour);
    shader.setUniformArrayMember("Lights", 0, "attenuation", light.attenuation);
    shader.setUniformArrayMember("Lights", 0, "coneDirection", light.coneDirection);
    shader.setUniformArrayMember("Lights", 0, "spotCosCutOff", light.spotCosCutOff);
    shader.setUniformArrayMember("Lights", 0, "spotExponent", light.spotExponent);
}

void setMaterial(Shader& shader, const glm::vec3& diffuseColor, float ambient, float diffuse,
                 float specular, float shininess) {
    glUseProgram(shader.programId);
    shader.setUniform("textureSampler", 0);
    shader.setUniform("diffuseColor", diffuseColor);
    shader.setUniform("ambientCoeff", ambient);
    shader.setUniform("diffuseCoeff", diffuse);
    shader.setUniform("specularCoeff", specular);
    shader.setUniform("alpha", shininess);
}

void setCamera(Shader& shader, const glm::mat4& viewProjection, const glm::vec3& eye) {
    glUseProgram(shader.programId);
    shader.setUniform("viewProjMatrix", viewProjection);
    shader.setUniform("viewPosition", eye);
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct ActiveVariable {
    GLenum type = 0;
    GLint size = 0;
};

std::map<std::string, ActiveVariable> activeUniforms(GLuint program) {
    std::map<std::string, ActiveVariable> result;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256];
        ActiveVariable variable;
        glGetActiveUniform(program, GLuint(i), sizeof name, nullptr, &variable.size, &variable.type,
                           name);
        result[name] = variable;
    }
    return result;
}

std::map<GLint, GLenum> activeAttributeTypesByLocation(GLuint program) {
    std::map<GLint, GLenum> result;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, GLuint(i), sizeof name, nullptr, &size, &type, name);
        result[glGetAttribLocation(program, name)] = type;
    }
    return result;
}

// One context and the eleven programs, built once as the game builds them.
class ShaderProgramsGLTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        context = new GLTestContext();
        for (std::size_t i = 0; i < zarn::shaderProgramNames.size(); ++i) {
            const std::string name(zarn::shaderProgramNames[i]);
            programs[i] = std::make_unique<Shader>(name + ".vert", name + ".frag");
        }
        linkMessages = context->debugMessages();
    }

    static void TearDownTestSuite() {
        for (auto& program : programs)
            program.reset();
        delete context;
        context = nullptr;
    }

    void SetUp() override {
        context->clearDebugMessages();
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
    }

    void TearDown() override {
        for (const std::string& message : context->debugMessages())
            EXPECT_EQ(message.find("Type = Error"), std::string::npos) << message;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    static Shader& program(int number) { return *programs[std::size_t(number - 1)]; }

    static GLTestContext* context;
    static std::array<std::unique_ptr<Shader>, 11> programs;
    static std::vector<std::string> linkMessages;
};

GLTestContext* ShaderProgramsGLTest::context = nullptr;
std::array<std::unique_ptr<Shader>, 11> ShaderProgramsGLTest::programs;
std::vector<std::string> ShaderProgramsGLTest::linkMessages;

bool isSampler(GLenum type) {
    return type == GL_SAMPLER_2D || type == GL_SAMPLER_CUBE || type == GL_SAMPLER_2D_SHADOW;
}

// Units that samplers of different types share; drivers refuse to draw then,
// though some only notice when the texture targets differ as well.
std::vector<GLint> sharedSamplerUnits(GLuint program) {
    std::map<GLint, GLenum> typeByUnit;
    std::vector<GLint> shared;
    for (const auto& [name, variable] : activeUniforms(program)) {
        if (!isSampler(variable.type))
            continue;
        GLint unit = -1;
        glGetUniformiv(program, glGetUniformLocation(program, name.c_str()), &unit);
        const auto [entry, inserted] = typeByUnit.emplace(unit, variable.type);
        if (!inserted && entry->second != variable.type)
            shared.push_back(unit);
    }
    return shared;
}

TEST_F(ShaderProgramsGLTest, EveryProgramLinksAndKeepsItsSamplerTypesOnSeparateUnits) {
    for (const std::string& message : linkMessages)
        EXPECT_EQ(message.find("Type = Error"), std::string::npos) << message;
    for (int number = 1; number <= 11; ++number) {
        SCOPED_TRACE(std::string(zarn::shaderProgramNames[std::size_t(number - 1)]));
        Shader& shader = program(number);
        GLint status = GL_FALSE;
        glGetProgramiv(shader.programId, GL_LINK_STATUS, &status);
        EXPECT_EQ(status, GL_TRUE);

        // As linked: without a shadow pass the ball board is drawn with the
        // shadow-receiving program and nobody sets shadowSampler.
        EXPECT_TRUE(sharedSamplerUnits(shader.programId).empty());
        // As the draw paths leave them.
        glUseProgram(shader.programId);
        shader.setUniform("textureSampler", 0);
        shader.setUniform("texture_diffuse1", 0);
        shader.setUniform("shadowSampler", 1);
        shader.setUniform("cubeMap", number == 4 ? 2 : 0);
        EXPECT_TRUE(sharedSamplerUnits(shader.programId).empty());
        glValidateProgram(shader.programId);
        glGetProgramiv(shader.programId, GL_VALIDATE_STATUS, &status);
        EXPECT_EQ(status, GL_TRUE);
    }
}

TEST_F(ShaderProgramsGLTest, ActiveAttributesSitAtTheSharedLocationsWithTheirTypes) {
    struct Expectation {
        int program;
        std::map<GLint, GLenum> attributes; // all must be active
    };
    const std::map<GLint, GLenum> mesh = {
        {0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}, {2, GL_FLOAT_VEC2}};
    auto withInstances = [&](std::map<GLint, GLenum> attributes) {
        attributes[3] = GL_FLOAT_MAT4;
        return attributes;
    };
    auto model = mesh;
    model[3] = GL_INT_VEC4;
    model[4] = GL_FLOAT_VEC4;
    const std::vector<Expectation> expectations = {
        {1, model},
        {2, {{0, GL_FLOAT_VEC4}}},
        {3, {{0, GL_FLOAT_VEC3}}},
        {4, mesh},
        {5, withInstances(mesh)},
        {6, {{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}}},
        {7, {{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}, {2, GL_FLOAT}}},
        {8, mesh},
        {9, withInstances(mesh)},
        {10, {{0, GL_FLOAT_VEC3}, {3, GL_FLOAT_MAT4}}},
        {11, withInstances(mesh)},
    };
    for (const Expectation& expected : expectations) {
        SCOPED_TRACE(std::string(zarn::shaderProgramNames[std::size_t(expected.program - 1)]));
        const auto active = activeAttributeTypesByLocation(program(expected.program).programId);
        for (const auto& [location, type] : expected.attributes) {
            ASSERT_TRUE(active.count(location)) << "nothing active at location " << location;
            EXPECT_EQ(active.at(location), type) << "location " << location;
        }
        for (const auto& entry : active)
            EXPECT_TRUE(expected.attributes.count(entry.first))
                << "unexpected attribute at location " << entry.first;
    }
}

TEST_F(ShaderProgramsGLTest, ActiveUniformsAreTheOnesTheDrawPathsSet) {
    const std::map<std::string, GLenum> camera = {{"viewProjMatrix", GL_FLOAT_MAT4},
                                                  {"viewPosition", GL_FLOAT_VEC3}};
    const std::map<std::string, GLenum> material = {
        {"textureSampler", GL_SAMPLER_2D}, {"diffuseColor", GL_FLOAT_VEC3},
        {"ambientCoeff", GL_FLOAT},        {"diffuseCoeff", GL_FLOAT},
        {"specularCoeff", GL_FLOAT},       {"alpha", GL_FLOAT}};
    // Every member of every slot, so a misspelt member cannot go unnoticed.
    std::map<std::string, GLenum> lights;
    for (int slot = 0; slot < 4; ++slot) {
        const std::string prefix = "Lights[" + std::to_string(slot) + "].";
        for (const char* member : {"isLocal", "isSpot", "spotCosCutOff", "spotExponent"})
            lights[prefix + member] = GL_FLOAT;
        for (const char* member : {"posDir", "lightColor", "attenuation", "coneDirection"})
            lights[prefix + member] = GL_FLOAT_VEC3;
    }
    auto join = [](std::initializer_list<std::map<std::string, GLenum>> parts) {
        std::map<std::string, GLenum> all;
        for (const auto& part : parts)
            all.insert(part.begin(), part.end());
        return all;
    };

    const std::map<int, std::map<std::string, GLenum>> expected = {
        {1, join({camera,
                  lights,
                  {{"modelMatrix", GL_FLOAT_MAT4},
                   {"texture_diffuse1", GL_SAMPLER_2D},
                   {"hasBones", GL_INT},
                   {"gBones[0]", GL_FLOAT_MAT4}}})},
        {2, {{"projMatrix", GL_FLOAT_MAT4}, {"textColor", GL_FLOAT_VEC3}}},
        {3,
         {{"viewProjMatrix", GL_FLOAT_MAT4},
          {"modelMatrix", GL_FLOAT_MAT4},
          {"cubeMap", GL_SAMPLER_CUBE}}},
        {4, join({camera,
                  {{"modelMatrix", GL_FLOAT_MAT4},
                   {"cubeMap", GL_SAMPLER_CUBE},
                   {"texture_diffuse1", GL_SAMPLER_2D},
                   {"ambientCoeff", GL_FLOAT},
                   {"diffuseCoeff", GL_FLOAT},
                   {"specularCoeff", GL_FLOAT}}})},
        {5, join({camera, material, lights})},
        {6, {{"viewProjMatrix", GL_FLOAT_MAT4}, {"time", GL_FLOAT}}},
        {7, {{"viewProjMatrix", GL_FLOAT_MAT4}}},
        {8, join({camera, material, lights, {{"modelMatrix", GL_FLOAT_MAT4}}})},
        {9, join({camera, material})},
        {10, {{"depthVP", GL_FLOAT_MAT4}}},
        {11, join({camera,
                   material,
                   lights,
                   {{"depthBiasVP", GL_FLOAT_MAT4}, {"shadowSampler", GL_SAMPLER_2D_SHADOW}}})},
    };
    for (const auto& [number, uniforms] : expected) {
        SCOPED_TRACE(std::string(zarn::shaderProgramNames[std::size_t(number - 1)]));
        const auto active = activeUniforms(program(number).programId);
        for (const auto& [name, type] : uniforms) {
            ASSERT_TRUE(active.count(name)) << name << " is not active";
            EXPECT_EQ(active.at(name).type, type) << name;
        }
    }

    // The skinning path uploads one matrix per bone of the figures.
    EXPECT_EQ(activeUniforms(program(1).programId).at("gBones[0]").size, 32);
    // The particle programs sample their sprite from unit 0.
    for (int number : {2, 6, 7}) {
        int samplers = 0;
        for (const auto& entry : activeUniforms(program(number).programId))
            samplers += entry.second.type == GL_SAMPLER_2D ? 1 : 0;
        EXPECT_EQ(samplers, 1) << zarn::shaderProgramNames[std::size_t(number - 1)];
    }
    // The depth pass works in light space only, and the shadow receiver must
    // leave unit 1 to the shadow map.
    EXPECT_EQ(program(10).uniformLocation("viewProjMatrix"), -1);
    EXPECT_EQ(program(11).uniformLocation("specularSampler"), -1);
}

// Draws two quads with a lit program: one facing the light travelling along
// (0, -1, -1) at x = -1 and one turned away at x = 1. Returns the pixels at
// their centres and, for the first, a point 0.25 off its centre.
struct TwoQuads {
    Rgba towards, away, towardsOffCentre;
};

class LitQuadScene {
public:
    LitQuadScene(Shader& shader, int number) : shader_(shader), number_(number) {
        grey_ = solidTexture({153, 153, 153, 255});
        // The receiver's map holds the far plane everywhere: nothing is shadowed.
        shadowMap_.beginPass();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    TwoQuads draw() {
        const glm::mat4 towards = glm::translate(glm::mat4(1.0f), {-1.0f, 0.0f, 0.0f});
        const glm::mat4 away = glm::rotate(glm::translate(glm::mat4(1.0f), {1.0f, 0.0f, 0.0f}), pi,
                                           glm::vec3(0.0f, 1.0f, 0.0f));
        target_.clear();
        setCamera(shader_, frontCamera(), frontEye);
        setMaterial(shader_, glm::vec3(0.0f), 0.3f, 0.8f, 0.0f, 8.0f);
        grey_->bind(0);
        shader_.setUniform("texture_diffuse1", 0);
        shader_.setUniform("hasBones", 0);
        if (number_ == 11) {
            shader_.setUniform("shadowSampler", 1);
            shader_.setUniform("depthVP", lightViewProjection());
            shader_.setUniform("depthBiasVP", shadowBias() * lightViewProjection());
            shadowMap_.texture.bind(1);
        }
        const Mesh mesh = quad(0.4f);
        if (number_ == 5 || number_ == 11) {
            VertexArray quads(mesh);
            quads.instances({towards, away});
            quads.draw();
        } else {
            VertexArray single(mesh);
            glVertexAttribI4i(3, 0, 0, 0, 0);
            glVertexAttrib4f(4, 0.0f, 0.0f, 0.0f, 0.0f);
            for (const glm::mat4& matrix : {towards, away}) {
                shader_.setUniform("modelMatrix", matrix);
                single.draw();
            }
        }
        return {target_.at(-1.0f, 0.0f), target_.at(1.0f, 0.0f), target_.at(-0.75f, 0.0f)};
    }

private:
    Shader& shader_;
    int number_;
    RenderTarget target_;
    ShadowMap shadowMap_;
    std::unique_ptr<Texture> grey_;
};

TEST_F(ShaderProgramsGLTest, LitProgramsFollowTheLightArray) {
    for (int number : zarn::litProgramNumbers) {
        SCOPED_TRACE(std::string(zarn::shaderProgramNames[std::size_t(number - 1)]));
        Shader& shader = program(number);
        LitQuadScene scene(shader, number);

        setLight(shader, LightSetting{});
        const TwoQuads sun = scene.draw();
        EXPECT_GT(brightness(sun.towards), brightness(sun.away) + 60)
            << toString(sun.towards) << " vs " << toString(sun.away);
        EXPECT_GT(brightness(sun.away), 30) << "the ambient term keeps unlit faces visible";

        LightSetting dark;
        dark.colour = glm::vec3(0.0f);
        setLight(shader, dark);
        const TwoQuads none = scene.draw();
        EXPECT_LE(std::abs(brightness(none.towards) - brightness(sun.away)), 6)
            << "without light both faces get the ambient term only";
        EXPECT_LE(std::abs(brightness(none.away) - brightness(sun.away)), 6);

        // A local light one unit in front of the first quad.
        LightSetting lamp;
        lamp.local = true;
        lamp.posDir = glm::vec3(-1.0f, 0.0f, 1.0f);
        lamp.attenuation = glm::vec3(1.0f, 0.0f, 0.0f);
        setLight(shader, lamp);
        const TwoQuads near = scene.draw();
        lamp.attenuation = glm::vec3(1.0f, 0.0f, 3.0f);
        setLight(shader, lamp);
        const TwoQuads faded = scene.draw();
        EXPECT_GT(brightness(near.towards), brightness(faded.towards) + 30)
            << "quadratic attenuation dims the light at distance 1";
        EXPECT_GT(brightness(faded.towards), brightness(none.towards) + 10);

        // The same lamp as a spot whose 10 degree cone misses the point 0.25
        // off the quad's centre (about 14 degrees off its axis).
        lamp.attenuation = glm::vec3(1.0f, 0.0f, 0.0f);
        lamp.spot = true;
        lamp.coneDirection = glm::vec3(0.0f, 0.0f, -1.0f);
        lamp.spotCosCutOff = std::cos(10.0f * pi / 180.0f);
        lamp.spotExponent = 2.0f;
        setLight(shader, lamp);
        const TwoQuads spot = scene.draw();
        EXPECT_GT(brightness(spot.towards), brightness(spot.towardsOffCentre) + 60)
            << toString(spot.towards) << " vs " << toString(spot.towardsOffCentre);
        EXPECT_LE(std::abs(brightness(spot.towardsOffCentre) - brightness(none.towards)), 6)
            << "outside the cone only the ambient term is left";
        EXPECT_LE(std::abs(brightness(near.towards) - brightness(near.towardsOffCentre)), 40)
            << "without the cone the two points are lit alike";
    }
}

TEST_F(ShaderProgramsGLTest, InstancedPhongPlacesEachInstanceByItsOwnMatrixOnly) {
    Shader& shader = program(5);
    RenderTarget target;
    target.clear();
    setCamera(shader, frontCamera(), frontEye);
    setLight(shader, LightSetting{});
    // A plain material: no texture on unit 0, the colour comes from diffuseColor.
    setMaterial(shader, glm::vec3(0.9f, 0.4f, 0.1f), 0.5f, 0.7f, 0.1f, 2.0f);
    // The engine also sets modelMatrix; it must not move the instances again.
    shader.setUniform("modelMatrix", glm::translate(glm::mat4(1.0f), {0.0f, -1.0f, 0.0f}));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);

    VertexArray quads(quad(0.2f));
    quads.instances({glm::translate(glm::mat4(1.0f), {-1.0f, 0.5f, 0.0f}),
                     glm::translate(glm::mat4(1.0f), {1.0f, -0.5f, 0.0f})});
    quads.draw();

    for (const Rgba& pixel : {target.at(-1.0f, 0.5f), target.at(1.0f, -0.5f)}) {
        EXPECT_GT(pixel[0], 100) << toString(pixel);
        EXPECT_GT(pixel[0], pixel[1] + 40) << "plain colour " << toString(pixel);
        EXPECT_GT(pixel[1], pixel[2]) << toString(pixel);
    }
    for (const Rgba& pixel : {target.at(-1.0f, -0.5f), target.at(1.0f, -1.5f),
                              target.at(0.0f, -1.0f), target.at(0.0f, 0.0f)})
        EXPECT_EQ(brightness(pixel), 0) << toString(pixel);

    // A textured material has a black diffuseColor and its colour in the texture.
    const auto blue = solidTexture({40, 90, 220, 255});
    setMaterial(shader, glm::vec3(0.0f), 0.5f, 0.7f, 0.1f, 2.0f);
    blue->bind(0);
    target.clear();
    quads.draw();
    const Rgba textured = target.at(-1.0f, 0.5f);
    EXPECT_GT(textured[2], textured[1] + 40) << toString(textured);
    EXPECT_GT(textured[1], textured[0]) << toString(textured);
}

TEST_F(ShaderProgramsGLTest, CelShadedInstancesUseTheBuiltInSunInFlatBands) {
    Shader& shader = program(9);
    RenderTarget target;
    target.clear();
    setCamera(shader, frontCamera(), frontEye);
    // No ambient and no highlight: what is left is the banded diffuse term.
    setMaterial(shader, glm::vec3(0.9f), 0.0f, 1.0f, 0.0f, 2.0f);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);

    // Turning a quad about x by phi gives it cos(phi + 45 degrees) towards the sun.
    const std::vector<float> lamberts = {0.95f, 0.7f, 0.55f, 0.3f};
    std::vector<glm::mat4> instances;
    for (std::size_t i = 0; i < lamberts.size(); ++i) {
        const float phi = std::acos(lamberts[i]) - pi / 4.0f;
        instances.push_back(glm::rotate(
            glm::translate(glm::mat4(1.0f), {-1.5f + float(i), 0.0f, 0.0f}), phi, {1, 0, 0}));
    }
    instances.push_back(glm::rotate(glm::translate(glm::mat4(1.0f), {0.0f, 1.2f, 0.0f}), pi,
                                    glm::vec3(0.0f, 1.0f, 0.0f)));
    VertexArray quads(quad(0.3f));
    quads.instances(instances);
    quads.draw();

    const int strong = brightness(target.at(-1.5f, 0.0f));
    const int upper = brightness(target.at(-0.5f, 0.0f));
    const int lower = brightness(target.at(0.5f, 0.0f));
    const int weak = brightness(target.at(1.5f, 0.0f));
    const int away = brightness(target.at(0.0f, 1.2f));
    EXPECT_GT(strong, upper + 30);
    EXPECT_LE(std::abs(upper - lower), 3) << "0.7 and 0.55 share a band";
    EXPECT_GT(lower, weak + 30);
    EXPECT_GT(weak, away + 30);
    EXPECT_EQ(away, 0);
}

TEST_F(ShaderProgramsGLTest, TextShowsPicturesInTheirOwnColoursAndGlyphsInTheTextColour) {
    Shader& shader = program(2);
    RenderTarget target;
    glUseProgram(shader.programId);
    shader.setUniform("projMatrix", glm::ortho(0.0f, 64.0f, 0.0f, 64.0f));
    // The text renderer's quad: texture row 0 at the top.
    const float l = 0, r = 64, b = 0, t = 64;
    VertexArray quadVertices;
    quadVertices.floats(0, 4,
                        {l, t, 0, 0, l, b, 0, 1, r, b, 1, 1, l, t, 0, 0, r, b, 1, 1, r, t, 1, 0});
    quadVertices.count = 6;
    glDisable(GL_DEPTH_TEST);

    const auto picture = rgbaTexture(
        2, 2, {{220, 40, 30, 255}, {30, 200, 60, 255}, {20, 40, 210, 255}, {250, 240, 10, 128}});
    picture->bind(0);
    shader.setUniform("textColor", glm::vec3(-1.0f));
    target.clear();
    quadVertices.draw();
    EXPECT_EQ(readPixel(16, 48), (Rgba{220, 40, 30, 255}));
    EXPECT_EQ(readPixel(48, 48), (Rgba{30, 200, 60, 255}));
    EXPECT_EQ(readPixel(16, 16), (Rgba{20, 40, 210, 255}));
    EXPECT_EQ(readPixel(48, 16), (Rgba{250, 240, 10, 128}));

    // A glyph: coverage in the red channel, left texel inked, right one empty.
    Texture glyph(GL_TEXTURE_2D);
    glyph.bind(0);
    const std::uint8_t coverage[2] = {255, 0};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, 2, 1, 0, GL_RED, GL_UNSIGNED_BYTE, coverage);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    for (const glm::vec3& colour : {glm::vec3(0.2f, 0.6f, 0.9f), glm::vec3(0.0f)}) {
        SCOPED_TRACE(colour.r);
        shader.setUniform("textColor", colour);
        target.clear();
        quadVertices.draw();
        const Rgba ink{std::uint8_t(std::lround(colour.r * 255)),
                       std::uint8_t(std::lround(colour.g * 255)),
                       std::uint8_t(std::lround(colour.b * 255)), 255};
        EXPECT_TRUE(zarn::test::near(readPixel(16, 32), ink, 1)) << toString(readPixel(16, 32));
        EXPECT_EQ(readPixel(48, 32)[3], 0);
    }

    // Blended as the text renderer blends, the empty part leaves the scene alone.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    shader.setUniform("textColor", glm::vec3(1.0f, 1.0f, 0.0f));
    target.clear({0.2f, 0.4f, 0.6f, 1.0f});
    quadVertices.draw();
    EXPECT_TRUE(zarn::test::near(readPixel(16, 32), Rgba{255, 255, 0, 255}, 1));
    EXPECT_TRUE(zarn::test::near(readPixel(48, 32), Rgba{51, 102, 153, 255}, 1))
        << toString(readPixel(48, 32));
    glEnable(GL_DEPTH_TEST);
}

// Solid colours for the six faces of test cube maps, +X to -Z.
const std::array<Rgba, 6> faceColours = {Rgba{230, 20, 20, 255}, Rgba{20, 230, 230, 255},
                                         Rgba{20, 230, 20, 255}, Rgba{230, 20, 230, 255},
                                         Rgba{20, 20, 230, 255}, Rgba{230, 230, 20, 255}};

TEST_F(ShaderProgramsGLTest, SkyBoxLiesOnTheFarPlaneInTheDirectionLookedAt) {
    Shader& sky = program(3);
    RenderTarget target;
    const auto cube = cubeMap(faceColours);
    VertexArray skyCube;
    skyCube.floats(0, 3, box(glm::vec3(1.0f)).positions);
    skyCube.count = 36;
    const glm::mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
    auto drawSky = [&](const glm::vec3& direction, const glm::vec3& up) {
        glUseProgram(sky.programId);
        sky.setUniform("cubeMap", 0);
        sky.setUniform("modelMatrix", glm::mat4(1.0f));
        sky.setUniform("viewProjMatrix", projection * glm::lookAt(glm::vec3(0.0f), direction, up));
        cube->bind(0);
        skyCube.draw();
    };
    const int centre = target.size / 2;

    glDepthFunc(GL_LEQUAL);
    const struct {
        glm::vec3 direction, up;
        int face;
    } views[] = {{{0, 0, -1}, {0, 1, 0}, 5}, {{1, 0, 0}, {0, 1, 0}, 0}, {{0, 1, 0}, {0, 0, -1}, 2}};
    for (const auto& view : views) {
        target.clear();
        drawSky(view.direction, view.up);
        EXPECT_EQ(readPixel(centre, centre), faceColours[std::size_t(view.face)])
            << "face " << view.face;
    }

    // Exactly on the far plane: a strict test against a cleared buffer rejects it.
    glDepthFunc(GL_LESS);
    target.clear();
    drawSky({0, 0, -1}, {0, 1, 0});
    EXPECT_EQ(readPixel(centre, centre), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(readPixel(2, 2), (Rgba{0, 0, 0, 0}));

    // Anything drawn before it stays in front.
    Shader flat(Shader::InlineSources{},
                "#version 430 core\nlayout(location = 0) in vec3 position;\nuniform mat4 mvp;\n"
                "void main() { gl_Position = mvp * vec4(position, 1.0); }\n",
                "#version 430 core\nout vec4 colour;\n"
                "void main() { colour = vec4(1.0); }\n");
    target.clear();
    glUseProgram(flat.programId);
    flat.setUniform("mvp", projection * glm::translate(glm::mat4(1.0f), {0.0f, 0.0f, -50.0f}));
    VertexArray nearQuad(quad(5.0f));
    nearQuad.draw();
    glDepthFunc(GL_LEQUAL);
    drawSky({0, 0, -1}, {0, 1, 0});
    glDepthFunc(GL_LESS);
    EXPECT_EQ(readPixel(centre, centre), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(readPixel(2, 2), faceColours[5]);
}

TEST_F(ShaderProgramsGLTest, EnvironmentMapMirrorsTheSkyTintedByTheTexture) {
    Shader& shader = program(4);
    RenderTarget target;
    std::array<Rgba, 6> faces;
    faces.fill(Rgba{40, 40, 40, 255});
    faces[0] = Rgba{255, 40, 40, 255};   // +X
    faces[4] = Rgba{255, 255, 255, 255}; // +Z, behind the camera
    const auto sky = cubeMap(faces);
    const auto white = solidTexture({255, 255, 255, 255});
    const auto orange = solidTexture({255, 128, 0, 255});
    VertexArray mirror(quad(0.5f));

    auto draw = [&](const Texture& tint, float turn) {
        glUseProgram(shader.programId);
        setCamera(shader, frontCamera(), frontEye);
        shader.setUniform("modelMatrix", glm::rotate(glm::mat4(1.0f), turn, {0, 1, 0}));
        shader.setUniform("texture_diffuse1", 0);
        shader.setUniform("cubeMap", 2);
        shader.setUniform("ambientCoeff", 0.1f);
        shader.setUniform("diffuseCoeff", 0.5f);
        shader.setUniform("specularCoeff", 0.5f);
        tint.bind(0);
        sky->bind(2);
        target.clear();
        mirror.draw();
        return readPixel(target.size / 2, target.size / 2);
    };

    // Facing the camera it mirrors what lies behind the camera.
    const Rgba facing = draw(*white, 0.0f);
    EXPECT_GT(facing[1], 150) << toString(facing);
    EXPECT_LE(std::abs(facing[0] - facing[1]), 12) << toString(facing);
    // Turned by 45 degrees about y it mirrors the +X side of the sky.
    const Rgba turned = draw(*white, pi / 4.0f);
    EXPECT_GT(turned[0], turned[1] + 80) << toString(turned);
    // The metal reflects in the colour of its texture.
    const Rgba tinted = draw(*orange, 0.0f);
    EXPECT_GT(tinted[0], tinted[1] + 40) << toString(tinted);
    EXPECT_GT(tinted[1], tinted[2] + 40) << toString(tinted);
}

TEST_F(ShaderProgramsGLTest, ModelProgramSkinsOnlyWhenToldAndTakesItsColourFromTheTexture) {
    Shader& shader = program(1);
    RenderTarget target;
    const auto red = solidTexture({200, 30, 30, 255});
    const Mesh mesh = quad(0.15f);
    VertexArray skinned(mesh);
    std::vector<int> ids;
    for (int i = 0; i < mesh.vertexCount(); ++i)
        ids.insert(ids.end(), {0, 1, 2, 0});

    setCamera(shader, frontCamera(), frontEye);
    setLight(shader, LightSetting{});
    glUseProgram(shader.programId);
    shader.setUniform("texture_diffuse1", 0);
    shader.setUniform("gBones[0]", glm::translate(glm::mat4(1.0f), {1.0f, 0.0f, 0.0f}));
    shader.setUniform("gBones[1]", glm::translate(glm::mat4(1.0f), {0.0f, 1.0f, 0.0f}));
    shader.setUniform("gBones[2]", glm::rotate(glm::mat4(1.0f), pi, {0, 1, 0}));
    skinned.ints(3, ids);
    red->bind(0);

    auto drawWith = [&](int hasBones, const glm::vec4& weights, const glm::mat4& model) {
        std::vector<float> perVertex;
        for (int i = 0; i < mesh.vertexCount(); ++i)
            perVertex.insert(perVertex.end(), {weights.x, weights.y, weights.z, weights.w});
        skinned.floats(4, 4, perVertex);
        glUseProgram(shader.programId);
        shader.setUniform("hasBones", hasBones);
        shader.setUniform("modelMatrix", model);
        target.clear();
        skinned.draw();
    };
    const glm::mat4 identity(1.0f);
    auto inked = [&](float x, float y) {
        return brightness(target.at(x, y)) > 0;
    };

    drawWith(0, {1, 0, 0, 0}, identity);
    EXPECT_TRUE(inked(0.0f, 0.0f));
    EXPECT_FALSE(inked(1.0f, 0.0f));
    const Rgba unskinned = target.at(0.0f, 0.0f);
    EXPECT_GT(unskinned[0], unskinned[1] + 60) << "colour from texture_diffuse1";
    EXPECT_LE(std::abs(unskinned[1] - unskinned[2]), 8) << toString(unskinned);

    drawWith(1, {1, 0, 0, 0}, identity);
    EXPECT_FALSE(inked(0.0f, 0.0f));
    EXPECT_TRUE(inked(1.0f, 0.0f));

    drawWith(1, {0, 1, 0, 0}, identity);
    EXPECT_TRUE(inked(0.0f, 1.0f)) << "second bone index";
    EXPECT_FALSE(inked(1.0f, 0.0f));

    drawWith(1, {0.5f, 0.5f, 0, 0}, identity);
    EXPECT_TRUE(inked(0.5f, 0.5f)) << "weighted blend of two bones";
    EXPECT_FALSE(inked(1.0f, 0.0f));
    EXPECT_FALSE(inked(0.0f, 1.0f));

    // The model matrix applies on top of the skin.
    drawWith(1, {1, 0, 0, 0}, glm::translate(identity, {-1.0f, -1.0f, 0.0f}));
    EXPECT_TRUE(inked(0.0f, -1.0f));

    // The bones turn the normal too: a half turn leaves the face unlit.
    drawWith(1, {0, 0, 1, 0}, identity);
    const Rgba turned = target.at(0.0f, 0.0f);
    EXPECT_GT(brightness(turned), 0);
    EXPECT_GT(brightness(unskinned), brightness(turned) + 40)
        << toString(unskinned) << " vs " << toString(turned);
}

TEST_F(ShaderProgramsGLTest, ShadowCasterBetweenSunAndReceiverDarkensIt) {
    Shader& depth = program(10);
    Shader& receiver = program(11);
    ShadowMap shadowMap;
    ASSERT_TRUE(shadowMap.complete);
    RenderTarget target;
    ASSERT_TRUE(target.complete);

    // A wide floor with its top at y = 0 and a slab hovering at (0, 1, 1),
    // which the sun, shining from (0, 1, 1), projects onto the origin. The
    // floor is a thin sheet, so the depth pass's culled front faces alone do
    // not keep it from shadowing itself.
    VertexArray floor(box({2.0f, 0.005f, 2.0f}));
    floor.instances({glm::translate(glm::mat4(1.0f), {0.0f, -0.005f, 0.0f})});
    VertexArray slab(box({0.3f, 0.1f, 0.3f}));
    slab.instances({glm::translate(glm::mat4(1.0f), {0.0f, 1.0f, 1.0f})});

    const glm::vec3 eye(0.0f, 5.0f, 0.0f);
    const glm::mat4 topCamera = glm::ortho(-2.0f, 2.0f, -2.0f, 2.0f, 0.1f, 20.0f) *
                                glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    setCamera(receiver, topCamera, eye);
    setLight(receiver, LightSetting{});
    setMaterial(receiver, glm::vec3(0.7f), 0.4f, 0.8f, 0.0f, 5.0f);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);

    // Seen from above, screen x is world x and screen up is world -z.
    auto floorPixel = [&](float x, float z) {
        return readPixel(int((x + 2.0f) / 4.0f * target.size),
                         int((2.0f - z) / 4.0f * target.size));
    };
    auto render = [&](bool withCaster) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        shadowMap.beginPass();
        glUseProgram(depth.programId);
        depth.setUniform("depthVP", lightViewProjection());
        floor.draw();
        if (withCaster)
            slab.draw();
        glCullFace(GL_BACK);
        target.clear();
        glUseProgram(receiver.programId);
        receiver.setUniform("depthVP", lightViewProjection());
        receiver.setUniform("depthBiasVP", shadowBias() * lightViewProjection());
        receiver.setUniform("shadowSampler", 1);
        shadowMap.texture.bind(1);
        floor.draw();
        glDisable(GL_CULL_FACE);
    };

    render(true);
    const Rgba shadowed = floorPixel(0.0f, 0.0f);
    const Rgba lit = floorPixel(-1.2f, -1.2f);
    EXPECT_GT(brightness(lit), brightness(shadowed) + 90)
        << toString(lit) << " vs " << toString(shadowed);
    EXPECT_GT(brightness(shadowed), 60) << "the ambient term stays in the shadow";

    // Without the slab the whole floor is evenly lit: no speckles of
    // self-shadowing anywhere.
    render(false);
    for (float x = -1.75f; x < 1.8f; x += 0.25f)
        for (float z = -1.75f; z < 1.8f; z += 0.25f) {
            const Rgba open = floorPixel(x, z);
            EXPECT_LE(std::abs(brightness(open) - brightness(lit)), 6)
                << "at " << x << ", " << z << ": " << toString(open) << " vs " << toString(lit);
        }
}

TEST_F(ShaderProgramsGLTest, ParticlesSitAtTheirPointScaledWithDistanceAndTinted) {
    Shader& shader = program(7);
    RenderTarget target(128);
    const glm::vec3 eye(0.0f, 0.0f, 6.0f);
    setCamera(shader,
              glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f) *
                  glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f)),
              eye);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_SRC_COLOR);

    // Both have size 20; the second is twice as far from the eye.
    VertexArray points;
    points.floats(0, 3, {-1.0f, 0.0f, 0.0f, 1.0f, 0.0f, -6.0f});
    points.floats(1, 3, {1.0f, 0.5f, 0.25f, 1.0f, 0.5f, 0.25f});
    points.floats(2, 1, {20.0f, 20.0f});
    points.count = 2;
    const auto white = solidTexture({255, 255, 255, 255});

    target.clear();
    white->bind(0);
    points.draw(GL_POINTS);
    int nearWidth = 0, farWidth = 0;
    for (int x = 0; x < target.size; ++x)
        (x < 60 ? nearWidth : farWidth) += brightness(readPixel(x, 64)) > 0 ? 1 : 0;
    EXPECT_NEAR(nearWidth, 20, 1);
    EXPECT_NEAR(farWidth, 10, 1);
    // -1 at depth 6 projects to x = 64 - 64 / (6 tan 30 degrees) = 45.5.
    EXPECT_TRUE(zarn::test::near(readPixel(45, 64), Rgba{255, 128, 64, 255}, 1))
        << toString(readPixel(45, 64));

    // The see-through part of the sprite leaves the scene untouched, though
    // the blend would otherwise multiply it by the sprite's colour.
    const Rgba clear{255, 255, 255, 0}, solid{255, 255, 255, 255};
    const auto dot = rgbaTexture(4, 4,
                                 {clear, clear, clear, clear, clear, solid, solid, clear, clear,
                                  solid, solid, clear, clear, clear, clear, clear});
    target.clear({0.5f, 0.5f, 0.5f, 1.0f});
    dot->bind(0);
    points.draw(GL_POINTS);
    EXPECT_TRUE(zarn::test::near(readPixel(37, 56), Rgba{128, 128, 128, 255}, 1))
        << toString(readPixel(37, 56));
    EXPECT_GT(readPixel(45, 64)[0], 200);

    // Without an image the particles still show, in plain colour.
    Texture empty(GL_TEXTURE_2D);
    target.clear();
    empty.bind(0);
    points.draw(GL_POINTS);
    EXPECT_TRUE(zarn::test::near(readPixel(45, 64), Rgba{255, 128, 64, 255}, 1))
        << toString(readPixel(45, 64));

    glDisable(GL_BLEND);
    glDisable(GL_PROGRAM_POINT_SIZE);
}

// Runs the river program's vertex stage with transform feedback: with an
// identity camera, gl_Position is the particle's world position.
class FlowParticleProbe {
public:
    FlowParticleProbe() {
        program_ = glCreateProgram();
        for (auto [stage, file] : {std::pair{GL_VERTEX_SHADER, "particleFlowShader.vert"},
                                   std::pair{GL_FRAGMENT_SHADER, "particleFlowShader.frag"}}) {
            const std::string source = readFile(std::string(zarn::shaderDirectory) + file);
            const char* text = source.c_str();
            const GLuint shader = glCreateShader(stage);
            glShaderSource(shader, 1, &text, nullptr);
            glCompileShader(shader);
            glAttachShader(program_, shader);
            glDeleteShader(shader);
        }
        const char* captured[] = {"gl_Position", "brightness"};
        glTransformFeedbackVaryings(program_, 2, captured, GL_INTERLEAVED_ATTRIBS);
        glLinkProgram(program_);
        GLint status = GL_FALSE;
        glGetProgramiv(program_, GL_LINK_STATUS, &status);
        linked = status == GL_TRUE;
        glGenBuffers(1, &output_);
    }
    ~FlowParticleProbe() {
        glDeleteProgram(program_);
        glDeleteBuffers(1, &output_);
    }

    struct Sample {
        glm::vec3 position;
        float brightness;
    };

    std::vector<Sample> run(const VertexArray& particles, float time) {
        const std::size_t count = std::size_t(particles.count);
        const glm::mat4 identity(1.0f);
        glUseProgram(program_);
        glUniformMatrix4fv(glGetUniformLocation(program_, "viewProjMatrix"), 1, GL_FALSE,
                           glm::value_ptr(identity));
        glUniform1f(glGetUniformLocation(program_, "time"), time);
        glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, output_);
        glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, GLsizeiptr(count * 5 * sizeof(float)), nullptr,
                     GL_STREAM_READ);
        glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, output_);
        glEnable(GL_RASTERIZER_DISCARD);
        glBeginTransformFeedback(GL_POINTS);
        particles.draw(GL_POINTS);
        glEndTransformFeedback();
        glDisable(GL_RASTERIZER_DISCARD);
        std::vector<float> raw(count * 5);
        glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, GLsizeiptr(raw.size() * sizeof(float)),
                           raw.data());
        std::vector<Sample> samples;
        for (std::size_t i = 0; i < count; ++i) {
            const float* v = &raw[i * 5];
            samples.push_back({glm::vec3(v[0], v[1], v[2]) / v[3], v[4]});
        }
        return samples;
    }

    bool linked = false;

private:
    GLuint program_ = 0;
    GLuint output_ = 0;
};

TEST_F(ShaderProgramsGLTest, RiverParticlesFlowAlongTheWaterAndLoopSeamlessly) {
    // Spread over the whole range of both random vectors, corners included.
    std::vector<float> seeds, traits;
    for (float ax : {-1.0f, -0.3f, 1.0f})
        for (float ay : {-1.0f, -0.5f, 0.0f, 0.6f, 1.0f})
            for (float az : {0.0f, 0.7f, 1.0f})
                for (float bx : {0.0f, 0.1f})
                    for (float by : {0.3f, 0.4f})
                        for (float bz : {0.5f, 1.0f, 1.5f}) {
                            seeds.insert(seeds.end(), {ax, ay, az});
                            traits.insert(traits.end(), {bx, by, bz});
                        }
    VertexArray particles;
    particles.floats(0, 3, seeds);
    particles.floats(1, 3, traits);
    particles.count = GLsizei(seeds.size() / 3);

    FlowParticleProbe probe;
    ASSERT_TRUE(probe.linked);
    const auto start = probe.run(particles, 0.0f);
    const auto later = probe.run(particles, 0.01f);
    const auto end = probe.run(particles, 0.99999f);
    ASSERT_EQ(start.size(), std::size_t(particles.count));

    for (float time : {0.0f, 0.13f, 0.5f, 0.77f, 0.99999f}) {
        for (const auto& sample : probe.run(particles, time)) {
            // Just above the water surface at x = -1.625, inside the river bed.
            EXPECT_LT(sample.position.x, -1.625f);
            EXPECT_GT(sample.position.x, -1.66f);
            EXPECT_GE(sample.position.y, -1.5f);
            EXPECT_LE(sample.position.y, 1.5f);
            EXPECT_LT(std::abs(sample.position.z), 0.5f);
            // Drawn additively, so each one adds only a little light.
            EXPECT_GE(sample.brightness, 0.0f);
            EXPECT_LE(sample.brightness, 0.2f);
        }
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        SCOPED_TRACE(i);
        // A tenth of a second later every particle has moved downstream.
        const float travelled = start[i].position.y - later[i].position.y;
        if (travelled > 0.0f) {
            EXPECT_GT(travelled, 0.03f);
            EXPECT_LT(travelled, 0.2f);
            // The lane meanders a little but the water runs along y.
            EXPECT_LT(glm::distance(glm::vec2(start[i].position.x, start[i].position.z),
                                    glm::vec2(later[i].position.x, later[i].position.z)),
                      0.4f * travelled);
        } else {
            // Only a particle that just wrapped round jumps back, unseen.
            EXPECT_LT(start[i].brightness + later[i].brightness, 0.01f);
        }
        // When time wraps from 1 to 0 nothing jumps.
        const bool visible = start[i].brightness > 0.005f || end[i].brightness > 0.005f;
        if (visible) {
            EXPECT_LT(glm::distance(start[i].position, end[i].position), 0.01f);
            EXPECT_NEAR(start[i].brightness, end[i].brightness, 0.005f);
        }
    }
}

} // namespace
