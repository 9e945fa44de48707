#include "render/Shader.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "render/FatalError.h"

#include <glm/gtc/type_ptr.hpp>

#include <fstream>
#include <iterator>
#include <vector>

namespace zarn {

Shader::Shader(std::string vertexFile, std::string fragmentFile)
    : vertexFile(std::move(vertexFile)), fragmentFile(std::move(fragmentFile)) {
    programId = link();
}

Shader::Shader(InlineSources, std::string vertexSource, std::string fragmentSource)
    : vertexFile(std::move(vertexSource)), fragmentFile(std::move(fragmentSource)),
      inlineSources(true) {
    programId = link();
}

std::shared_ptr<Shader> makeProgram(Program which) {
    const std::string name(programName(which));
    return std::make_shared<Shader>(name + ".vert", name + ".frag");
}

Shader::~Shader() {
    glUseProgram(0);
    glDeleteProgram(programId);
}

GLuint Shader::compileStage(GLenum stageType, const std::string& text) {
    std::string source;
    if (inlineSources) {
        source = text;
    } else {
        const std::string path = dataPath(std::string(data::shaders) + "/" + text);
        std::ifstream file(path, std::ios::binary);
        if (!file)
            fatalExit("Couldn't open shader file: " + path);
        source.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    const GLuint stageId = glCreateShader(stageType);
    if (stageId == 0)
        fatalExit("Failed to create " + std::to_string(stageType));

    const char* sourcePointer = source.c_str();
    glShaderSource(stageId, 1, &sourcePointer, nullptr);
    glCompileShader(stageId);

    GLint status = GL_FALSE;
    glGetShaderiv(stageId, GL_COMPILE_STATUS, &status);
    if (status != GL_FALSE && glIsShader(stageId))
        return stageId;

    GLint logLength = 0;
    glGetShaderiv(stageId, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(std::size_t(std::max(logLength, 1)), '\0');
    glGetShaderInfoLog(stageId, GLsizei(log.size()), nullptr, log.data());
    glDeleteShader(stageId);
    fatalExit("Failed to compile shader: " + text + "\n" + log.data());
}

GLuint Shader::link() {
    const GLuint vertexStage = compileStage(GL_VERTEX_SHADER, vertexFile);
    const GLuint fragmentStage = compileStage(GL_FRAGMENT_SHADER, fragmentFile);

    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexStage);
    glAttachShader(program, fragmentStage);
    glLinkProgram(program);

    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != GL_FALSE) {
        glDetachShader(program, vertexStage);
        glDetachShader(program, fragmentStage);
        glDeleteShader(vertexStage);
        glDeleteShader(fragmentStage);
        return program;
    }

    GLint logLength = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(std::size_t(std::max(logLength, 1)), '\0');
    glGetProgramInfoLog(program, GLsizei(log.size()), nullptr, log.data());
    glDeleteProgram(program);
    glDeleteShader(vertexStage);
    glDeleteShader(fragmentStage);
    fatalExit(std::string("Failed to link shader program:\n") + log.data());
}

GLint Shader::uniformLocation(const std::string& name) {
    const auto cached = uniformLocations.find(name);
    if (cached != uniformLocations.end())
        return cached->second;
    const GLint location = glGetUniformLocation(programId, name.c_str());
    uniformLocations.emplace(name, location);
    return location;
}

void Shader::setUniform(const std::string& name, int value) {
    const GLint location = uniformLocation(name);
    if (location != -1)
        glUniform1i(location, value);
}

void Shader::setUniform(const std::string& name, float value) {
    const GLint location = uniformLocation(name);
    if (location != -1)
        glUniform1f(location, value);
}

void Shader::setUniform(const std::string& name, const glm::vec3& value) {
    const GLint location = uniformLocation(name);
    if (location != -1)
        glUniform3f(location, value.x, value.y, value.z);
}

void Shader::setUniform(const std::string& name, const glm::mat4& value) {
    const GLint location = uniformLocation(name);
    if (location != -1)
        glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

namespace {

std::string arrayMemberName(const std::string& arrayName, int index, const std::string& member) {
    return arrayName + "[" + std::to_string(index) + "]." + member;
}

} // namespace

void Shader::setUniformArrayMember(const std::string& arrayName, int index,
                                   const std::string& member, const glm::vec3& value) {
    setUniform(arrayMemberName(arrayName, index, member), value);
}

void Shader::setUniformArrayMember(const std::string& arrayName, int index,
                                   const std::string& member, float value) {
    setUniform(arrayMemberName(arrayName, index, member), value);
}

} // namespace zarn
